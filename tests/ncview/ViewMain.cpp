// The code and information view tests run offscreen.
#include "OffscreenTestMain.h"

int main(int argc, char** argv)
{
    return RunTestsOffscreen(argc, argv);
}
