// The shell tests run offscreen, with the profile and the working directory
// in a temporary folder of their own.
#include "OffscreenTestMain.h"

int main(int argc, char** argv)
{
    return RunTestsOffscreen(argc, argv);
}
