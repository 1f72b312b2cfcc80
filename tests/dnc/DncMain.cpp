// The transfer tests run offscreen, in a folder of their own.
#include "OffscreenTestMain.h"
#include "PlainDialogsSwitch.h"

int main(int argc, char** argv)
{
    UsePlainDialogsWhenAsked();
    return RunTestsOffscreen(argc, argv);
}
