// The viewer through its real window: fitting, caption, closing, resizing, the borrowed menu.
#include "core/SharedState.h"
#include "commands/CommandsPart.h"
#include "support/MainWindow.h"
#include "viewer/frmZoom.h"
#include <cmath>

using namespace tessary;
using namespace wintest;

namespace {
class Viewer : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        dir_ = std::make_unique<TempDir>(L"viewer");
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        dir_.reset();
    }
    std::wstring Image(const std::wstring& name, int w, int h) {
        std::wstring path = *dir_ / name;
        EXPECT_TRUE(WriteImage(path, w, h));
        return path;
    }
    frmZoom* Zoom() { return form().viewer.Zoom.get(); }
    HWND ZoomWindow() { return Zoom() ? Zoom()->hwnd() : nullptr; }
    SIZE Client() {
        RECT rc{};
        GetClientRect(ZoomWindow(), &rc);
        return {rc.right, rc.bottom};
    }
    void Open(const std::wstring& path) {
        state.CurrentImagePath = path;
        form().ViewImage(path, 0, 0, true, true);
        Pump(30);
    }
    std::unique_ptr<TempDir> dir_;
};

void PressShift(bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_SHIFT;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof(in));
    Pump(30);
}
} // namespace

TEST_F(Viewer, ASmallImageOpensAtFullSize) {
    Start();
    std::wstring path = Image(L"small.png", 800, 600);
    Open(path);
    ASSERT_TRUE(ZoomWindow());
    EXPECT_TRUE(IsWindowVisible(ZoomWindow()));
    SIZE c = Client();
    EXPECT_EQ(c.cx, 800);
    EXPECT_EQ(c.cy, 600);
    EXPECT_EQ(WindowText(ZoomWindow()), L"test_viewer - 100.0% - " + path);
    EXPECT_DOUBLE_EQ(state.ZoomImageAspect, 800.0 / 600.0);
    // Centred in the work area of the main window's monitor.
    RECT rc, work;
    GetWindowRect(ZoomWindow(), &rc);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((rc.left + rc.right) / 2.0, (work.left + work.right) / 2.0, 1.0);
    EXPECT_NEAR((rc.top + rc.bottom) / 2.0, (work.top + work.bottom) / 2.0, 1.0);
    // What is drawn is the image: the gradient's corners.
    EXPECT_EQ(Zoom()->Picture().width(), 800);
    EXPECT_LT(Zoom()->Picture().Pixel(0, 0) & 0xFF0000, 0x100000u);
    EXPECT_GT(Zoom()->Picture().Pixel(799, 0) & 0xFF0000, 0xF00000u);
}

TEST_F(Viewer, ALargeImageIsFittedInto95PercentOfTheWorkArea) {
    Start();
    Open(Image(L"big.jpg", 4000, 3000));
    SIZE c = Client();
    const double maxW = 0.95 * state.WorkAreaWidth, maxH = 0.95 * state.WorkAreaHeight;
    EXPECT_LE(c.cx, maxW + 0.5);
    EXPECT_LE(c.cy, maxH + 0.5);
    EXPECT_TRUE(std::abs(c.cx - maxW) <= 1.0 || std::abs(c.cy - maxH) <= 1.0);
    EXPECT_NEAR(static_cast<double>(c.cx) / c.cy, 4000.0 / 3000.0, 0.01);
    double percent = (c.cy / 3000.0 + c.cx / 4000.0) * 100.0 / 2.0;
    wchar_t expected[32];
    swprintf(expected, 32, L" - %.1f%% - ", percent);
    EXPECT_NE(WindowText(ZoomWindow()).find(expected), std::wstring::npos)
        << Narrow(WindowText(ZoomWindow()));
}

TEST_F(Viewer, TallAndTinyImages) {
    Start();
    Open(Image(L"tall.png", 1000, 4000));
    SIZE c = Client();
    EXPECT_NEAR(c.cy, 0.95 * state.WorkAreaHeight, 1.0);
    EXPECT_NEAR(c.cx, 1000.0 * c.cy / 4000.0, 1.0);
    // A window cannot be as small as one pixel (the system's minimum window size holds), but the
    // picture is drawn at its own size.
    Open(Image(L"dot.png", 1, 1));
    EXPECT_EQ(Zoom()->Picture().width(), 1);
    EXPECT_EQ(Zoom()->Picture().height(), 1);
    EXPECT_NE(WindowText(ZoomWindow()).find(L"100.0%"), std::wstring::npos);
}

TEST_F(Viewer, EscapeEnterAndAClickCloseIt) {
    Start();
    std::wstring path = Image(L"a.png", 400, 300);
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        Open(path);
        ASSERT_TRUE(IsWindow(ZoomWindow()));
        SendMessageW(ZoomWindow(), WM_KEYUP, key, 0xC0000001);
        EXPECT_FALSE(ZoomWindow()) << key;
    }
    Open(path);
    SendMessageW(ZoomWindow(), WM_KEYUP, 'A', 0xC0000001); // other keys do nothing
    ASSERT_TRUE(ZoomWindow());
    // A release alone (the end of the double click that opened it) does not close it.
    SendMessageW(ZoomWindow(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(ZoomWindow());
    SendMessageW(ZoomWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(ZoomWindow(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_FALSE(ZoomWindow());
    // It opens again after being closed, and the main window's unload closes it too.
    Open(path);
    ASSERT_TRUE(ZoomWindow());
    Close();
}

TEST_F(Viewer, MaximiseAndRestoreRedrawAtTheClientSize) {
    Start();
    Open(Image(L"m.png", 400, 300));
    SendMessageW(ZoomWindow(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump(50);
    ASSERT_TRUE(IsZoomed(ZoomWindow()));
    SIZE c = Client();
    EXPECT_GT(c.cx, 400);
    EXPECT_EQ(Zoom()->Picture().width(), c.cx);
    EXPECT_EQ(Zoom()->Picture().height(), c.cy);
    SendMessageW(ZoomWindow(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump(50);
    c = Client();
    EXPECT_EQ(c.cx, 400);
    EXPECT_EQ(Zoom()->Picture().width(), 400);
    EXPECT_EQ(Zoom()->Picture().height(), 300);
    // Minimised and opened again: restored.
    SendMessageW(ZoomWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump(50);
    ASSERT_TRUE(IsIconic(ZoomWindow()));
    Open(Image(L"n.png", 200, 100));
    EXPECT_FALSE(IsIconic(ZoomWindow()));
    EXPECT_EQ(Client().cx, 200);
}

TEST_F(Viewer, ShiftHeldKeepsTheProportionsWhileResizing) {
    Start();
    Open(Image(L"r.png", 400, 200));
    RECT rc;
    GetWindowRect(ZoomWindow(), &rc);
    PressShift(true);
    SetWindowPos(ZoomWindow(), nullptr, 0, 0, Zoom()->FrameExtra().width + 600, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    PressShift(false);
    SIZE c = Client();
    EXPECT_EQ(c.cx, 600);
    EXPECT_EQ(c.cy, 300);
    // Without Shift the window takes any size; the drag's end redraws the stretched picture.
    SetWindowPos(ZoomWindow(), nullptr, 0, 0, Zoom()->FrameExtra().width + 500,
                 Zoom()->FrameExtra().height + 500, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageW(ZoomWindow(), WM_EXITSIZEMOVE, 0, 0);
    c = Client();
    EXPECT_EQ(c.cy, 500);
    EXPECT_EQ(Zoom()->Picture().height(), 500);
    EXPECT_NE(WindowText(ZoomWindow()).find(L"187.5%"), std::wstring::npos)
        << Narrow(WindowText(ZoomWindow()));
}

TEST_F(Viewer, TheRightButtonBorrowsTheWallpaperPartOfTheMenu) {
    frmMain& f = Start();
    Open(Image(L"menu.png", 300, 200));
    SendMessageW(ZoomWindow(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].menuItems,
              (std::vector<std::wstring>{L"&Set as wallpaper", L"R&esize to fit screen and set as wallpaper",
                                         L"Res&ize proportionally and set as wallpaper", L"&Convert Image"}));
    EXPECT_TRUE(ZoomWindow()); // the menu does not close the viewer
    // The main window's own menu is whole again.
    f.ShowFileMenu({10, 10}, f.hwnd());
    ASSERT_EQ(dialogs_->calls.size(), 2u);
    EXPECT_EQ(dialogs_->calls[1].menuItems.size(), static_cast<size_t>(kFileMenuItemCount));
}

TEST_F(Viewer, BadInputLeavesItAsItWas) {
    Start();
    form().ViewImage(L"", 0, 0, true, true);
    EXPECT_FALSE(ZoomWindow());
    std::wstring text = *dir_ / L"not really.jpg";
    ASSERT_TRUE(WriteTextFile(text, "hello"));
    Open(text);
    EXPECT_FALSE(ZoomWindow() && IsWindowVisible(ZoomWindow()));
    std::wstring path = Image(L"gone.png", 300, 200);
    Open(path);
    ASSERT_TRUE(IsWindowVisible(ZoomWindow()));
    DeleteFileW(path.c_str());
    SendMessageW(ZoomWindow(), WM_SYSCOMMAND, SC_MAXIMIZE, 0); // redraws a file that is gone
    Pump(30);
    EXPECT_TRUE(IsWindow(ZoomWindow()));
    EXPECT_TRUE(dialogs_->calls.empty());
}
