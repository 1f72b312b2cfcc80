// CSimView: the tool model at the tool position and its textures.
//
// The model's parts (ToolModel.h) are GLU quadrics and the corner torus,
// textured in GL_DECAL mode without lighting, so what shows is the texture
// and the silhouette.
//
// The two textures are texture objects made once per context, carrying
// the parameters the default texture has: re-specifying the images with
// glTexImage2D before their parts at every frame (which the view can still
// be made to do, for comparison) gives the same pixels at a higher cost.
// It has a hazard besides: with Mesa 22, images given to the default
// texture of a context that has gone crash the program when the last
// context of its share group goes (a full-screen window closing).
//
// The software renderer's cost is mostly per triangle and per pixel, so
// the far side of every closed surface (cylinder walls, balls, the torus)
// is culled: along any line of sight the first surface of a closed part,
// or of the closed union of the parts, is a near side.  Flat caps and disks
// are one-sided rings that close the others and are drawn from both sides.
//
// The parts are sent vertex by vertex at every frame.  Display lists would
// save a little of the main thread's time (the software renderer's
// rasterising is most of the cost), but Mesa 22 crashes when a share
// group's last context goes after another context that compiled display
// lists has gone, even with the lists deleted: the pane's context shares
// with its window's, and full screen moves the pane from window to window.
#include <GL/gl.h>
#include <GL/glu.h>
#include <QOpenGLContext>
#include <algorithm>
#include <cmath>

#include "CSimView.h"
#include "NcDocument.h"
#include "Resources.h"
#include "ToolModel.h"
#include "ids.h"

namespace {

// Linear filtering, repeating in both directions: on the texture bound.
void SetToolTextureParameters()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

}  // namespace

void CSimView::InitToolTextures()
{
    if (!m_bodyTexels)
        m_bodyTexels = LockBitmapResource(IDB_TOOL_BODY_TEXTURE, &m_bodyTexWidth, &m_bodyTexHeight);
    if (!m_tipTexels)
        m_tipTexels = LockBitmapResource(IDB_TOOL_TIP_TEXTURE, &m_tipTexWidth, &m_tipTexHeight);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    // The default texture, which re-specifying draws with, and the objects.
    glBindTexture(GL_TEXTURE_2D, 0);
    SetToolTextureParameters();
    glGenTextures(2, m_toolTextures);
    for (ToolTexture texture : {kBodyTexture, kTipTexture}) {
        glBindTexture(GL_TEXTURE_2D, m_toolTextures[texture]);
        SetToolTextureParameters();
        SpecifyToolTexture(texture);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

void CSimView::ReleaseToolTextures()
{
    if (m_toolTextures[kBodyTexture] == 0 && m_toolTextures[kTipTexture] == 0)
        return;
    makeCurrent();
    glDeleteTextures(2, m_toolTextures);
    m_toolTextures[kBodyTexture] = m_toolTextures[kTipTexture] = 0;
    doneCurrent();
}

void CSimView::SetToolTextureObjects(bool objects)
{
    m_toolTextureObjects = objects;
    update();
}

void CSimView::SetToolBackFacesCulled(bool culled)
{
    m_toolBackFacesCulled = culled;
    update();
}

void CSimView::LoadToolTexture(ToolTexture texture)
{
    const unsigned object = m_toolTextureObjects ? m_toolTextures[texture] : 0;
    glBindTexture(GL_TEXTURE_2D, object);
    if (object == 0)
        SpecifyToolTexture(texture);
}

void CSimView::SpecifyToolTexture(ToolTexture texture) const
{
    const bool body = texture == kBodyTexture;
    const unsigned char* texels = body ? m_bodyTexels : m_tipTexels;
    // Without its bitmap a texture stays as it is rather than taking
    // undefined contents.
    if (!texels)
        return;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, body ? m_bodyTexWidth : m_tipTexWidth,
                 body ? m_bodyTexHeight : m_tipTexHeight, 0, GL_BGR, GL_UNSIGNED_BYTE, texels);
}

std::optional<ToolModel> CSimView::CurrentToolModel() const
{
    const CNcDocument* document = NcDocument();
    if (!document || document->Tools().empty())
        return DefaultToolModel(DefaultToolSize());
    const std::vector<ToolSlot>& tools = document->Tools();
    const auto slot =
        std::find_if(tools.begin(), tools.end(), [this](const ToolSlot& s) { return s.number == m_currentTool; });
    return ToolModelOfSlot(slot != tools.end() ? *slot : tools.back());
}

float CSimView::DefaultToolSize() const
{
    // 1.732 % of the toolpath's X extent.  A toolpath without one (every
    // feed move in a plane of constant X) takes its largest extent instead,
    // and one without any (every feed move ends at the origin) what the
    // pane shows at the present scale, so that the marker never vanishes.
    float extent = m_xMax - m_xMin;
    if (!(extent > 0.0f))
        extent = LargestExtent();
    if (!(extent > 0.0f) && m_scale > 0.0f)
        extent = 0.95f * float(std::min(width(), height())) / m_scale;
    return 0.01f * std::sqrt(3.0f * extent * extent);
}

void CSimView::DrawTool()
{
    // The model is no toolpath: a pick on it would otherwise report the
    // name of whichever record was drawn last.
    if (m_selecting || !m_pQuadric)
        return;
    const std::optional<ToolModel> model = CurrentToolModel();
    if (!model)
        return;
    glEnable(GL_TEXTURE_2D);
    // The projection turns y over, so the outsides of the quadrics and of
    // the torus, counter-clockwise in the model, wind clockwise on screen.
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glPushMatrix();
    ApplySceneTransform();
    glTranslatef(m_toolPos[0], m_toolPos[1], m_toolPos[2]);
    LoadToolTexture(kBodyTexture);
    DrawToolPart(model->body);
    LoadToolTexture(kTipTexture);
    for (const ToolPart& part : model->tip)
        DrawToolPart(part);
    glPopMatrix();
    glDisable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
}

void CSimView::DrawToolPart(const ToolPart& part)
{
    GLUquadric* quadric = m_pQuadric.get();
    const bool closed = part.kind == ToolPart::Sphere || part.kind == ToolPart::CornerTorus ||
                        (part.kind == ToolPart::Cylinder && part.size[2] > 0.0f);
    if (closed && m_toolBackFacesCulled)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, part.z);
    switch (part.kind) {
    case ToolPart::Cylinder:
        gluCylinder(quadric, part.size[0], part.size[1], part.size[2], part.slices, part.stacks);
        break;
    case ToolPart::Disk:
        gluDisk(quadric, part.size[0], part.size[1], part.slices, part.stacks);
        break;
    case ToolPart::Sphere:
        gluSphere(quadric, part.size[0], part.slices, part.stacks);
        break;
    case ToolPart::CornerTorus:
        DrawCornerTorus(part.size[0], part.size[1]);
        break;
    }
    glPopMatrix();
}

// Sixteen bands round the axis, each a quad strip of seventeen vertex
// pairs once round the tube.  It gives no texture coordinates: it takes
// the colour at the last ones given, those of the part drawn before it.
void CSimView::DrawCornerTorus(float ring, float tube)
{
    constexpr int kSteps = 16;
    constexpr double kStep = 0.39269909262657166;  // pi / 8
    for (int i = 0; i < kSteps; ++i) {
        const double theta[2] = {i * kStep, i * kStep + kStep};
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j <= kSteps; ++j) {
            const double phi = j * kStep;
            for (const double t : theta) {
                glNormal3d(std::cos(phi) * std::cos(t), std::cos(phi) * std::sin(t), std::sin(phi));
                const double radius = ring + tube * std::cos(phi);
                glVertex3d(radius * std::cos(t), radius * std::sin(t), tube * std::sin(phi));
            }
        }
        glEnd();
    }
}
