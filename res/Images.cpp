// The images of the program: XPM files compiled in from res.qrc, and the
// bitmaps drawn by code.
#include "ButtonSkinArt.h"
#include "FrameSkinArt.h"
#include "MarginIcons.h"
#include "Resources.h"
#include "SplashArt.h"
#include "ToolPictures.h"
#include "ToolTextures.h"
#include "ids.h"

void InitImageResources()
{
    // The resource data sits in this static library; naming its
    // initializer here makes the linker keep it.
    static const bool registered = [] {
        Q_INIT_RESOURCE(res);
        return true;
    }();
    (void)registered;
}

QImage PaintBitmapResource(int id)
{
    if (QImage picture = PaintToolPicture(id); !picture.isNull())
        return picture;
    if (QImage frame = PaintFrameSkinBitmap(id); !frame.isNull())
        return frame;
    switch (id) {
    case IDB_SPLASH:
        return PaintSplashBitmap();
    case IDB_SKIN_BUTTON:
        return PaintButtonSkinBitmap();
    case IDB_MARGIN_ICONS:
        return PaintMarginIcons();
    case IDB_TOOL_TIP_TEXTURE:
        return PaintToolTipTexture();
    case IDB_TOOL_BODY_TEXTURE:
        return PaintToolBodyTexture();
    default:
        return QImage();
    }
}

QPoint CursorHotSpot(int id)
{
    switch (id) {
    case IDCUR_TEXT_MARGIN:
        return {27, 0};
    case IDCUR_SIM_ZOOM:
        return {12, 12};  // the lens centre
    case IDCUR_SIM_PICK:
    case IDCUR_SIM_ROTATE:
    case IDCUR_SIM_PAN:
        return {15, 15};
    case IDCUR_SIM_ZOOMWINDOW:
        return {7, 7};    // the cross, at the window's corner
    default:
        return {0, 0};
    }
}
