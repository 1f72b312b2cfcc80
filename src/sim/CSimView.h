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
//
// Camera model: two rotation angles (degrees), a uniform scale (pixels per
// program unit) and a pan offset (pixels).  A program point p lands at
//     pan + scale * Ry(rotY) * Rx(rotX) * (p - centre)
// pixels from the pane's centre, y growing down the pane.  Move records keep
// Y negated, so program +Y points up the screen.
#pragma once

#include <QCursor>
#include <QList>
#include <QMetaObject>
#include <QOpenGLWidget>
#include <QPoint>
#include <QPointer>
#include <QRectF>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "CView.h"
#include "DocumentLinks.h"
#include "ToolpathBatch.h"

class CNcDocument;
class GLUquadric;
class MoveList;

// The 4 x 4 pixel window of a pick under the matrices current when it is
// made.  A pick draws only the records that may cross it: the others can
// make no hit, and leaving them out changes nothing in the hit records,
// which is what keeps a pick on a program of millions of moves quick.
class PickWindow
{
public:
    PickWindow();
    // Whether the record's segment may touch the window; true also for
    // every segment too close to call, so no hit is ever lost.
    bool MayHit(const MoveRecord& record) const;

private:
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

    explicit CSimView(QWidget* parent = nullptr);
    ~CSimView() override;

    // CView.
    void OnUpdate(CView* sender, long hint, CObject* hintObject) override;

    // CMoveSelectionView: puts the tool marker on the start point of the
    // first record of line; nothing happens when line made no record.
    void SelectMoveByLine(int line) override;

    // Draws the whole scene with the view's context current (the paint and
    // the pick call it; so will the playback).
    void RenderScene();

    // The toolpath is normally drawn from vertex arrays built once per move
    // list; the per-record path (one glBegin/glEnd per record, as the pick
    // needs) can be forced for comparison and measurement.
    void SetBatchedDrawing(bool batched);
    bool IsBatchedDrawing() const { return m_batchedDrawing; }

    bool IsFullScreen() const { return m_fullScreenHolder != nullptr; }
    // The program line of the current move (pick, SelectMoveByLine,
    // playback); -1 after a pick in simulation mode.
    int GetCurrentLine() const { return m_currentLine; }

    // Commands of the simulation menu and toolbar.
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

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

    // Scene pieces.
    void InitGL();
    void SetProjection(int cx, int cy);
    void FitScale();
    void ComputeExtents();
    void ApplySceneTransform() const;
    void DrawAxisIndicator();
    void DrawBoundingBox();
    void DrawToolpath();
    // Every record in order, or with window only those that may touch it.
    void DrawToolpathPerRecord(const MoveList& moves, const PickWindow* window = nullptr);
    // The tool model at m_toolPos; the models come with the tool
    // configuration, until then it draws nothing.
    void DrawTool();

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
    // Texels of the tool body (bitmap 142) and tip (bitmap 141) textures;
    // they point into the program's resources.  Not loaded yet: the tool
    // models that use them are still to come.
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

    ToolpathBatch m_batch;
    bool m_batchedDrawing = true;
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
};
