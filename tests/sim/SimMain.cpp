// The simulation tests need OpenGL, so a display.
#include "DisplayTestMain.h"
#include "PlainDialogsSwitch.h"

int main(int argc, char** argv)
{
    UsePlainDialogsWhenAsked();
    return RunTestsWithDisplay(argc, argv);
}
