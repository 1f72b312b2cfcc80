// The images of the program: XPM files compiled in from res.qrc, and the
// bitmaps drawn by code.
#include "Resources.h"
#include "SplashArt.h"
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
    if (id == IDB_SPLASH)
        return PaintSplashBitmap();
    return QImage();
}
