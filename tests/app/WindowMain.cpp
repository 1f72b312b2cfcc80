// The document window tests draw with OpenGL, so they need a display.
#include "DisplayTestMain.h"

int main(int argc, char** argv)
{
    return RunTestsWithDisplay(argc, argv);
}
