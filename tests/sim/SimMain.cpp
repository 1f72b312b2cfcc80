// The simulation tests need OpenGL, so a display.
#include "DisplayTestMain.h"

int main(int argc, char** argv)
{
    return RunTestsWithDisplay(argc, argv);
}
