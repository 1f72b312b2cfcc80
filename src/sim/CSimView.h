// CSimView: the simulation pane of a document window.  It draws the
// document's toolpath in 3-D with OpenGL 1.1 (immediate mode and client
// vertex arrays, GLU for picking and the tool models), under an orthographic
// projection in window pixels centred on the pane, and offers the camera
// commands, the drag modes and the right-button pick that marks a program
// line in the code view.
//
// The sources are split by concern:
//   CSimView.cpp        lifetime, document updates, extents, command map
//   SimViewScene.cpp    GL state, projection, drawing of the scene
//   SimViewCamera.cpp   view commands, drag modes, wheel, zoom window,
//                       full screen, cursors
//   SimViewPick.cpp     the GL_SELECT pick and the tool marker
//   SimViewInteraction.cpp  frames while the camera moves, the drawing data
//   SimViewPicture.cpp  the picture of the scene under the tool
//   SimViewPlayback.cpp the playback and its control dialog
//   SimViewTool.cpp     the tool model at the tool position and its
//                       textures
//
// Camera model: two rotation angles (degrees), a uniform scale (pixels per
// program unit) and a pan offset (pixels).  A program point p lands at
//     pan + scale * Ry(rotY) * Rx(rotX) * (p - centre)
// pixels from the pane's centre, y growing down the pane.  Move records keep
// Y negated, so program +Y points up the screen.
//
// Frames while the user moves the camera: a drag (rotate, zoom, pan, zoom
// window) or a wheel step starts an interaction.  During it, a toolpath
// whose exact frame is estimated to cost more than the reduced-frame budget
// is drawn from the finest level of its ToolpathReduction that fits.  The
// interaction ends kSettleMs after the left button is released or after
// the last wheel step, on a single-shot timer, and the next frame is exact
// again; a view command, zoom all or a zoom window ends it at once.  A pick
// always selects among every record.  The timer runs only while an
// interaction is ending, so an idle pane does no work.  The reduction is
// built on a worker thread from the exact arrays (which the worker shares,
// so that replacing them under it is safe), once per move list; until it
// is there, frames during an interaction are exact.
//
// Still frames and the playback: the scene under the tool (the axes, the
// box and the toolpath up to the current record) is kept as a picture, the
// colour and depth of a framebuffer object.  A paint brings the picture up
// to the records it must show, drawing only those it lacks, copies it to
// the pane and draws the tool over the copy, so that a playback step or a
// moved tool costs the same at the millionth record as at the first, and a
// still frame of many records is built a slice per paint.  Anything else
// that changes the picture (camera, size, move list, a shorter prefix)
// starts it over; a new context (full screen) drops it.
#pragma once

#include <QCursor>
#include <QElapsedTimer>
#include <QList>
#include <QMetaObject>
#include <QOpenGLWidget>
#include <QPoint>
#include <QPointer>
#include <QRectF>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

#include "CView.h"
#include "DocumentLinks.h"
#include "ToolModel.h"
#include "ToolpathBatch.h"
#include "ToolpathReduction.h"

class CNcDocument;
class CSimControlDlg;
class GLUquadric;
class MoveList;
class QOpenGLFramebufferObject;

// The 4 x 4 pixel window of a pick under the matrices current when it is
// made.  A pick draws only the records that may cross it: the others can
// make no hit, and leaving them out changes nothing in the hit records,
// which is what keeps a pick on a program of millions of moves quick.
class PickWindow
{
public:
    PickWindow();
    // Whether what the record draws may touch the window: its segment, or
    // for an arc the box round it (the far side of an arc can be far from
    // its chord).  True also for everything too close to call, so no hit
    // is ever lost.
    bool MayHit(const MoveRecord& record, ArcDirection direction) const;

private:
    // The window coordinates of a point; false when it lies behind the eye.
    bool Project(const float* v, double* xy) const;

    double m_matrix[16];  // projection * model-view, column-major
};

class CSimView : public QOpenGLWidget, public CView, public CMoveSelectionView
{
    Q_OBJECT

public:
    enum ViewMode : int32_t
    {
        VM_ROTATE = 0,
        VM_ZOOM = 1,
        VM_ZOOMWINDOW = 2,
        VM_PAN = 4,
    };

    // A position in the move list: an index, or none.
    static constexpr size_t kNoPosition = static_cast<size_t>(-1);
    // How long after the last drag or wheel step the exact picture comes
    // back: longer than the pause between wheel notches, short enough that
    // the exact frame starts within a quarter of a second even when a
    // reduced frame (at most 100 ms) is still being drawn when the timer
    // becomes due.
    static constexpr int kSettleMs = 150;
    // What the toolpath of a frame during an interaction may cost, by
    // ToolpathReduction's estimate, in microseconds: 30 ms leaves room for
    // the rest of the frame and the estimate's error inside the 50 ms that
    // a drag needs to stay attached to the mouse.
    static constexpr double kDefaultReducedFrameBudget = 30000.0;
    // A still (exact) frame adds at most this many records to its picture
    // per paint, one paint after the other: the software renderer takes
    // some 50 ms per slice, and the program handles its events in between.
    // The finished frame is pixel for pixel the frame drawn at once; the
    // tool comes with the last slice.  A new toolpath of more records than
    // this has its arrays built after its first frame, which shows the rest
    // of the scene without it.
    static constexpr size_t kRecordsPerSlice = 100000;
    // A playback step waits for the frame of the step before (as a paint
    // comes before a timer), unless that frame has taken longer than this.
    static constexpr int kStepWaitMs = 1000;

    explicit CSimView(QWidget* parent = nullptr);
    ~CSimView() override;

    // CView.
    void OnUpdate(CView* sender, long hint, CObject* hintObject) override;

    // CMoveSelectionView: puts the tool marker on the start point of the
    // first record of line; nothing happens when line made no record.
    void SelectMoveByLine(int line) override;

    // Draws the whole scene at once with the view's context current, into
    // the bound framebuffer (the pick, and the frames that are not kept as
    // a picture).
    void RenderScene();

    // The toolpath is normally drawn from vertex arrays built once per move
    // list; the per-record path (one glBegin/glEnd per record, as the pick
    // needs) can be forced for comparison and measurement.
    void SetBatchedDrawing(bool batched);

    // The tool textures are texture objects, uploaded once per context;
    // re-specifying the images at every draw (the same pixels, slower) can
    // be forced for comparison and measurement (not in a context that will
    // go before its window: see SimViewTool.cpp).
    void SetToolTextureObjects(bool objects);
    // The model's closed surfaces are drawn without their far sides, which
    // the near sides always hide; drawing them too (the same pixels,
    // slower) can be forced for comparison and measurement.
    void SetToolBackFacesCulled(bool culled);

    // Frames during an interaction draw a reduced toolpath when the exact
    // one is estimated to take more than microseconds.
    void SetReducedFrameBudget(double microseconds);
    double ReducedFrameBudget() const { return m_reducedFrameBudget; }
    // Whether the camera is being moved: frames may be reduced.
    bool IsInteracting() const { return m_interacting; }
    // Toolpath segments the last frame drew, records or reduced segments.
    size_t LastFrameSegments() const { return m_lastFrameSegments; }
    // Records per slice of a still frame (kRecordsPerSlice unless set); the
    // next frame starts its picture over.
    void SetRecordsPerSlice(size_t records);
    // Whether a sliced frame is still being drawn.
    bool IsDrawingSlices() const { return m_pictureUnfinished; }
    // Still frames are kept as a picture that paints add to; switched off,
    // every paint draws the whole scene (for comparison and measurement).
    void SetIncrementalDrawing(bool incremental);

    // Playback: whether timer 1 runs, and its period in milliseconds (-1
    // when it does not run).
    bool IsPlaying() const;
    int PlaybackPeriod() const;
    // The simulation control dialog while it is open.
    CSimControlDlg* ControlDialog() const;

    bool IsFullScreen() const { return m_fullScreenHolder != nullptr; }
    // The program line of the current move (pick, SelectMoveByLine,
    // playback); -1 after a pick in simulation mode.
    int GetCurrentLine() const { return m_currentLine; }

    // Commands of the simulation menu and toolbar.
    void OnSimStart();
    void OnUpdateSimStart(CCmdUI* ui);
    void OnFullScreen();
    void OnUpdateFullScreen(CCmdUI* ui);
    void OnZoomAll();
    void OnZoomWindow();
    void OnUpdateZoomWindow(CCmdUI* ui);
    void OnTopView();
    void OnUpdateTopView(CCmdUI* ui);
    void OnFrontView();
    void OnUpdateFrontView(CCmdUI* ui);
    void OnLeftView();
    void OnUpdateLeftView(CCmdUI* ui);
    void OnIsoView();
    void OnUpdateIsoView(CCmdUI* ui);
    void OnDynZoom();
    void OnUpdateDynZoom(CCmdUI* ui);
    void OnDynRotate();
    void OnUpdateDynRotate(CCmdUI* ui);
    void OnPan();
    void OnUpdatePan(CCmdUI* ui);

    DECLARE_COMMAND_MAP()

protected:
    // QOpenGLWidget.
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    // Watches the window's repaint for a deferred build of the arrays.
    bool eventFilter(QObject* watched, QEvent* event) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // WM_SIMCONTROL from the control dialog.
    void customEvent(QEvent* event) override;

    // Scene pieces.
    void InitGL();
    void SetProjection(int cx, int cy);
    void FitScale();
    // The largest of the three extents, at least 0.
    float LargestExtent() const;
    void ComputeExtents();
    void ApplySceneTransform() const;
    void DrawAxisIndicator();
    void DrawBoundingBox();
    void DrawToolpath();
    // The tool model over what is drawn, where the scene draws it.
    void DrawToolAtPan();

    // ---- The picture (SimViewPicture.cpp).
    // What the picture shows besides its records: while this stays the
    // same, records can be added to it.
    struct PictureKey
    {
        float rotX, rotY, scale;
        int32_t panX, panY;
        int deviceWidth, deviceHeight;
        const ToolpathBatch* batch;
        uint64_t generation;
        bool operator==(const PictureKey&) const = default;
    };
    PictureKey CurrentPictureKey() const;
    // Paints the frame from the picture, brought up to date, with the tool
    // over it; false when this frame cannot be kept as a picture (a reduced
    // frame, the per-record drawing, a toolpath not ready), which the
    // caller then draws whole.
    bool PaintFromPicture();
    // Clears the picture and draws what comes before the toolpath.
    bool StartPicture(const PictureKey& key);
    // Copies the picture's colour and depth into the pane's framebuffer.
    void ShowPicture();
    // Copies the depth alone, where the context can copy a buffer's bytes;
    // false when it cannot (the blit does it then).
    bool CopyPictureDepth();
    // The picture starts over at the next paint.
    void DiscardPicture() { ++m_pictureGeneration; }
    // Frees the picture (its context must be current, or gone).
    void ReleasePicture();
    // A paint that leaves the picture unfinished has the next paint come
    // soon after.
    void ResumeSlicesSoon();

    // ---- Playback (SimViewPlayback.cpp).
    void InitPlayback();
    void OnSimControl(int32_t command, int32_t position);
    // One playback step (WM_TIMER).
    void OnPlaybackTimer();
    // Whether the pane will be painted after an update.
    bool PaintWillCome() const;
    void CloseControlDialog();
    // Every record in order, or with window only those that may touch it;
    // returns how many it drew.
    size_t DrawToolpathPerRecord(const MoveList& moves, const PickWindow* window = nullptr);
    // The exact arrays of moves, built when they are not yet; and the
    // reduction started when frames will want it.
    void PrepareBatch(const MoveList& moves);
    // Forgets the arrays and the reduction, stopping a build under way.
    void ReleaseDrawingData();
    void StartReduction();
    void StopReduction();
    // The share of the toolpath's box that lies on the pane, by the
    // rectangle round its projected corners.
    double VisibleFraction(const float* lower, const float* upper) const;
    // The tool model of the current tool at m_toolPos, in the scene
    // transform: the model of the first slot numbered m_currentTool, or of
    // the last slot when none is, or the default marker when the document
    // has no slot.  A pick passes over it.
    void DrawTool();
    // What DrawTool draws; none for a slot of no known shape.
    std::optional<ToolModel> CurrentToolModel() const;
    // The size of the default marker.
    float DefaultToolSize() const;
    void DrawToolPart(const ToolPart& part);
    // The rounded corner of BU and CO round the tool axis at the current
    // origin: ring radius ring, tube radius tube.
    void DrawCornerTorus(float ring, float tube);
    // The tool textures of the context just made: the texels (once) and the
    // texture objects.
    void InitToolTextures();
    // The context is going: its texture objects go.
    void ReleaseToolTextures();
    enum ToolTexture : int
    {
        kBodyTexture = 0,  // bitmap 142
        kTipTexture = 1,   // bitmap 141
    };
    // Makes texture the one the next parts are drawn with.
    void LoadToolTexture(ToolTexture texture);
    // glTexImage2D of texture's image into the bound texture.
    void SpecifyToolTexture(ToolTexture texture) const;

    // Pick at a client point: renders in GL_SELECT mode around it and hands
    // the hits to ProcessPick.
    void Pick(QPoint point);
    // The GL_SELECT pass of a pick at a client point, with the context
    // current: fills buffer (size words) and returns the hit count, -1 when
    // the buffer overflowed.
    int SelectAt(QPoint point, unsigned* buffer, int size);
    void ProcessPick(const uint32_t* buffer, int hits);

    // Drag modes.
    void OnRotateDrag(QPoint point);
    void OnZoomDrag(QPoint point);
    void OnPanDrag(QPoint point);
    // Zooms by factor about a client point, which keeps its place.
    void ZoomAbout(QPointF point, double factor);
    // Makes the client rectangle rect fill the pane.
    void ZoomToRect(const QRectF& rect);
    void CancelZoomWindow();
    void DrawRubberBand();
    // A drag step (dragging true) or a wheel step: frames are reduced until
    // the interaction settles.
    void BeginInteraction(bool dragging);
    // The left button went up (or the pane lost it): the exact picture
    // comes back kSettleMs from now.
    void EndDrag();
    void SettleSoon();
    // Frames are exact from the next one on.
    void EndInteraction();
    void OnSettleTimer();
    void SetView(float rotX, float rotY);
    void SetMode(ViewMode mode);
    // The cursor for the mode, or the pick cursor while a pick is held.
    void UpdateCursor();
    void LeaveFullScreen();

    CNcDocument* NcDocument() const;
    // The document's moves, or an empty list.
    const MoveList& Moves() const;

    // ---- State.  The playback works on these too.

    float m_rotX = 60.0f;  // degrees about X
    float m_rotY = -15.0f; // degrees about Y
    QCursor m_hPickCursor;
    QCursor m_hRotateCursor;
    QCursor m_hZoomCursor;
    QCursor m_hZoomWindowCursor;
    QCursor m_hPanCursor;
    // Texels of the tool body (bitmap 142) and tip (bitmap 141) textures:
    // 24 bits, rows bottom-up, blue-green-red.  They point into the
    // program's resources, loaded at the first initial GL setup.
    const unsigned char* m_bodyTexels = nullptr;
    const unsigned char* m_tipTexels = nullptr;
    // The rendering context and its device context are QOpenGLWidget's own
    // (context() and the widget's framebuffer object).
    struct QuadricDeleter
    {
        void operator()(GLUquadric* quadric) const;
    };
    std::unique_ptr<GLUquadric, QuadricDeleter> m_pQuadric;
    int32_t m_panX = 0;
    int32_t m_panY = 0;
    int32_t m_panBaseX = 0;
    int32_t m_panBaseY = 0;
    bool m_simulating = false;  // draw only the moves up to m_currentLine
    float m_xMax = 150.0f;
    float m_xMin = -150.0f;
    float m_yMax = 150.0f;  // stored Y
    float m_yMin = -150.0f;
    float m_zMax = 25.0f;
    float m_zMin = -25.0f;
    float m_centre[3] = {0.0f, 0.0f, 0.0f};
    float m_scale = 1.0f;  // pixels per program unit
    int32_t m_bodyTexWidth = 0;
    int32_t m_bodyTexHeight = 0;
    int32_t m_tipTexWidth = 0;
    int32_t m_tipTexHeight = 0;
    QPoint m_lastMouse{0, 0};
    size_t m_playPos = kNoPosition;  // next move to play
    size_t m_playEnd = kNoPosition;  // the last move
    ViewMode m_mode = VM_ROTATE;
    unsigned m_renderMode = 0x1C00;  // GL_RENDER; GL_SELECT while a pick is held
    int32_t m_currentLine = 0;
    float m_toolPos[3] = {0.0f, 0.0f, 0.0f};
    int32_t m_currentTool = 0;

    // ---- Ours beyond the drawing state.

    // The tool textures' objects in the present context, by ToolTexture;
    // 0 when there are none.  They go with the context (Qt makes a new one
    // when the pane changes window), as the picture does: m_contextWatch.
    unsigned m_toolTextures[2] = {0, 0};
    bool m_toolTextureObjects = true;
    bool m_toolBackFacesCulled = true;

    // How far the polylines of arcs may stray from the true arcs, program
    // units: set from the extents with them, so that the arrays and the
    // per-record drawing cut each arc alike.
    double m_arcTolerance = 0.0;
    // Shared with the reduction's worker while it builds.
    std::shared_ptr<const ToolpathBatch> m_batch;
    bool m_batchedDrawing = true;
    // The reduction of m_batch once built; its worker and the flag that
    // tells the worker (and the result it posts) that it is no longer
    // wanted.
    std::shared_ptr<const ToolpathReduction> m_reduction;
    std::thread m_reductionWorker;
    std::shared_ptr<std::atomic<bool>> m_reductionCancel;
    double m_reducedFrameBudget = kDefaultReducedFrameBudget;
    size_t m_lastFrameSegments = 0;
    // From the first drag or wheel step until the settle timer fires;
    // m_dragging while the left button that drags is down, which keeps the
    // interaction going however long the mouse rests.
    bool m_interacting = false;
    bool m_dragging = false;
    QTimer m_settleTimer{this};
    size_t m_recordsPerSlice = kRecordsPerSlice;
    // A paint that goes on with an unfinished picture is on its way.
    bool m_sliceQueued = false;
    // The picture: its framebuffer, what it shows, how many records of the
    // toolpath it holds, and whether the last paint left it short of the
    // records the frame should show.  The generation changes whatever the
    // key does not see (a new move list, new extents).
    std::unique_ptr<QOpenGLFramebufferObject> m_picture;
    PictureKey m_pictureKey{};
    size_t m_pictureRecords = 0;
    bool m_pictureUnfinished = false;
    uint64_t m_pictureGeneration = 0;
    bool m_incrementalDrawing = true;
    QMetaObject::Connection m_contextWatch;
    // Whether the context copies the depth buffer by its bytes: found out
    // at the first copy in each context.
    enum class DepthCopy
    {
        Unknown,
        Untried,
        Works,
        Unavailable
    };
    DepthCopy m_depthCopy = DepthCopy::Unknown;
    // Set while paintGL draws (not a pick, nor a frame drawn on request).
    bool m_painting = false;
    // The window whose next repaint a new toolpath's arrays wait for.
    QPointer<QWidget> m_buildAfterRepaintOf;
    // Set while the GL_SELECT pass of a pick draws.  m_renderMode stays
    // GL_SELECT as long as the right button is held, through ordinary
    // paints too.
    bool m_selecting = false;
    // Zoom window: the rubber band from the button-down point to the
    // pointer while the left button is held.
    bool m_zoomBanding = false;
    QPoint m_zoomStart;
    QPoint m_zoomEnd;
    // Full screen: the top-level window holding the pane, and where the
    // pane came from.
    QPointer<QWidget> m_fullScreenHolder;
    QPointer<QWidget> m_homeParent;
    int m_homeIndex = -1;
    QList<int> m_homeSizes;
    QRect m_homeGeometry;
    QMetaObject::Connection m_homeWatch;
    // Playback: timer 1, the control dialog, and whether the frame of the
    // last step has been drawn (with the time it has been waited for).
    QTimer m_playTimer{this};
    QPointer<CSimControlDlg> m_controlDlg;
    bool m_stepShown = true;
    QElapsedTimer m_stepClock;
};
