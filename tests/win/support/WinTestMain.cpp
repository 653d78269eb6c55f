// Entry point of every Windows test executable: the same process set-up as the program's own
// entry routine (OLE, common controls, GDI+), then GoogleTest.
#include "support/WinTest.h"
#include "platform/GdiPlus.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    tessary::OleScope ole;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
    Gdiplus::GdiplusStartupInput in;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &in, nullptr);
    int rc = RUN_ALL_TESTS();
    Gdiplus::GdiplusShutdown(token);
    return rc;
}
