// Entry point of every test program: no system error dialogs, then GoogleTest.
#include "veneer/core/UISetup.h"
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // A failing test must report, not wait on a dialog nobody will click.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
