// TestMain.cpp - GoogleTest entry for every test program: registers the native list classes
// the controls rely on, then runs the tests.
#include <gtest/gtest.h>

#include "NavCommon.h"

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
