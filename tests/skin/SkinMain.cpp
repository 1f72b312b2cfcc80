// The skin tests run offscreen, in a folder of their own.
#include "OffscreenTestMain.h"

int main(int argc, char** argv)
{
    return RunTestsOffscreen(argc, argv);
}
