// The viewer through its real window: fitting, caption, closing, resizing.
#include "support/MainWindow.h"
#include "viewer/ZoomGeometry.h"
#include "viewer/frmZoom.h"

using namespace tessary;
using namespace wintest;

namespace {
class ViewerWindow : public MainWindowTest {
protected:
    std::wstring Image(const std::wstring& name, int w, int h) {
        EXPECT_TRUE(WriteImage(dir_ / name, w, h));
        return dir_ / name;
    }
    void Open(const std::wstring& path) {
        form().ViewImage(path, 0, 0, true, true);
        Pump(30);
    }
    SIZE Client() {
        RECT rc{};
        GetClientRect(Viewer(), &rc);
        return {rc.right, rc.bottom};
    }
    // What the viewer draws.
    const Surface& Picture() { return Probe::Viewer(form()).Zoom()->Picture(); }
    TempDir dir_{L"viewer"};
};
} // namespace

TEST_F(ViewerWindow, OpensAtFullSizeOrFittedCentredInTheWorkArea) {
    Start();
    const std::wstring path = Image(L"small.png", 800, 600);
    Open(path);
    ASSERT_TRUE(Viewer());
    EXPECT_EQ(Client().cx, 800);
    EXPECT_EQ(Client().cy, 600);
    EXPECT_EQ(WindowText(Viewer()), L"test_viewer - 100.0% - " + path);
    RECT rc = OuterRect(Viewer()), work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((rc.left + rc.right) / 2.0, (work.left + work.right) / 2.0, 1.0);
    EXPECT_NEAR((rc.top + rc.bottom) / 2.0, (work.top + work.bottom) / 2.0, 1.0);
    // What is drawn is the image: the gradient's corners.
    EXPECT_LT(Picture().Pixel(0, 0) & 0xFF0000, 0x100000u);
    EXPECT_GT(Picture().Pixel(799, 0) & 0xFF0000, 0xF00000u);
    // A large one is fitted into the work area, and the caption says by how much.
    Open(Image(L"big.jpg", 4000, 3000));
    const SIZE c = Client();
    EXPECT_EQ(c.cx, ZoomDrawnSize({4000, 3000}, {work.right - work.left, work.bottom - work.top}).width);
    EXPECT_NEAR(static_cast<double>(c.cx) / c.cy, 4000.0 / 3000.0, 0.01);
    wchar_t percent[32];
    swprintf(percent, 32, L" - %.1f%% - ", (c.cy / 3000.0 + c.cx / 4000.0) * 50.0);
    EXPECT_NE(WindowText(Viewer()).find(percent), std::wstring::npos) << Narrow(WindowText(Viewer()));
}

TEST_F(ViewerWindow, OpensOnlyOnAPictureAndEscapeEnterAndAClickCloseIt) {
    Start();
    // Nothing to show, or a file that is no picture: no viewer.
    Open(L"");
    ASSERT_TRUE(WriteTextFile(dir_ / L"not really.jpg", "hello"));
    Open(dir_ / L"not really.jpg");
    EXPECT_FALSE(Viewer());
    const std::wstring path = Image(L"a.png", 400, 300);
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        Open(path);
        ASSERT_TRUE(Viewer());
        SendMessageW(Viewer(), WM_KEYUP, key, 0xC0000001);
        EXPECT_FALSE(Viewer()) << key;
    }
    Open(path);
    SendMessageW(Viewer(), WM_KEYUP, 'A', 0xC0000001); // other keys do nothing
    // A release alone (the end of the double click that opened it) does not close it.
    SendMessageW(Viewer(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(Viewer());
    SendMessageW(Viewer(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(Viewer(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_FALSE(Viewer());
    // It opens again after being closed, and the main window's unload closes it too.
    Open(path);
    ASSERT_TRUE(Viewer());
    Close();
    EXPECT_FALSE(Viewer());
}

TEST_F(ViewerWindow, MaximiseRestoreAndMinimiseRedrawAtTheClientSizeEvenWhenTheFileIsGone) {
    Start();
    Open(Image(L"m.png", 400, 300));
    SendMessageW(Viewer(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump(50);
    ASSERT_TRUE(IsZoomed(Viewer()));
    EXPECT_GT(Client().cx, 400);
    EXPECT_EQ(Picture().width(), Client().cx);
    EXPECT_EQ(Picture().height(), Client().cy);
    SendMessageW(Viewer(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump(50);
    EXPECT_EQ(Client().cx, 400);
    EXPECT_EQ(Picture().width(), 400);
    // Minimised and opened again: restored.
    SendMessageW(Viewer(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump(50);
    Open(Image(L"n.png", 200, 100));
    EXPECT_FALSE(IsIconic(Viewer()));
    EXPECT_EQ(Client().cx, 200);
    // The file gone, a redraw keeps the window and shows no box.
    DeleteFileW((dir_ / L"n.png").c_str());
    SendMessageW(Viewer(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump(30);
    EXPECT_TRUE(Viewer());
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(ViewerWindow, ShiftHeldKeepsTheProportionsWhileResizing) {
    Start();
    Open(Image(L"r.png", 400, 200));
    const RECT rc = OuterRect(Viewer());
    const SIZE frame{rc.right - rc.left - 400, rc.bottom - rc.top - 200};
    HoldShift(true);
    SetWindowPos(Viewer(), nullptr, 0, 0, frame.cx + 600, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
    HoldShift(false);
    EXPECT_EQ(Client().cx, 600);
    EXPECT_EQ(Client().cy, 300);
    // Without Shift the window takes any size; the drag's end redraws the stretched picture.
    SetWindowPos(Viewer(), nullptr, 0, 0, frame.cx + 500, frame.cy + 500, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageW(Viewer(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(Picture().height(), 500);
    EXPECT_NE(WindowText(Viewer()).find(L"187.5%"), std::wstring::npos) << Narrow(WindowText(Viewer()));
}
