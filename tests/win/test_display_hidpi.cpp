// The program at 150 %: tools/test.sh runs this file on a 1920 x 1080 display whose Wine prefix
// has LogPixels 144. Per-monitor DPI aware, it measures the screen in physical pixels and lays
// itself out at 144 DPI.
#include "platform/Controls.h"
#include "platform/Dpi.h"
#include "platform/Screen.h"
#include "support/MainWindow.h"

using namespace tessary;
using namespace wintest;

namespace {

class HighDpi : public WallpaperWindowTest {};

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Every visible control inside one of the three frames lies within that frame, and the frames
// within the client area above the status bar.
void ExpectEveryControlInsideItsFrame(frmMain& f) {
    RECT client{};
    GetClientRect(f.hwnd(), &client);
    MapWindowPoints(f.hwnd(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    client.bottom -= Probe::Status(f).Height();
    for (int id : {IDC_FRAME2_0, IDC_FRAME2_1, IDC_FRAME2_2}) {
        const HWND frame = GetDlgItem(f.hwnd(), id);
        const RECT outer = OuterRect(frame);
        EXPECT_TRUE(Inside(outer, client)) << Narrow(WindowText(frame));
        EnumChildWindows(
            frame,
            [](HWND child, LPARAM lp) {
                const RECT& outer = *reinterpret_cast<const RECT*>(lp);
                if (IsWindowVisible(child)) {
                    EXPECT_TRUE(Inside(OuterRect(child), outer))
                        << GetDlgCtrlID(child) << " " << Narrow(WindowText(child));
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&outer));
    }
}

} // namespace

TEST_F(HighDpi, LayoutScalesAndKeepsEveryControlInsideItsFrame) {
    ASSERT_TRUE(IsPerMonitorDpiAware());
    frmMain& f = Start();
    ASSERT_EQ(f.Dpi(), 144u);
    // The designed 331 x 327 monitor and its 256 x 192 screen at 150 %, the artwork drawn to fit.
    EXPECT_EQ(Probe::MonitorPicture(f).width(), 496);
    EXPECT_EQ(Probe::MonitorPicture(f).height(), 490);
    EXPECT_EQ(Probe::Preview(f).width(), 384);
    EXPECT_EQ(Probe::Preview(f).height(), 288);
    EXPECT_NE(Probe::MonitorPicture(f).Pixel(250, 480) & 0xFFFFFF,
              Probe::MonitorPicture(f).Pixel(250, 250) & 0xFFFFFF);
    // Twips keep their meaning: 1440 / 144.
    EXPECT_DOUBLE_EQ(TwipsPerPixelX(), 10.0);
    ExpectEveryControlInsideItsFrame(f);
    // The minimum size grows with the DPI: 717 x 535 at 96 is 1076 x 802 here.
    SetWindowPos(f.hwnd(), nullptr, 0, 0, 300, 300, SWP_NOZORDER | SWP_NOMOVE);
    RECT rc = OuterRect(f.hwnd());
    EXPECT_EQ(rc.right - rc.left, 1076);
    EXPECT_EQ(rc.bottom - rc.top, 802);
}

TEST_F(HighDpi, ResampleWritesThePhysicalScreenSize) {
    Start();
    EXPECT_EQ(State().screen.ScreenWidthPx, 1920);
    EXPECT_EQ(State().screen.ScreenHeightPx, 1080);
    const std::wstring image = dir_ / L"photo.png";
    ASSERT_TRUE(WriteImage(image, 300, 200));
    State().CurrentImagePath = image;
    Click(Control(IDC_CMDICONBUTTON_0 + 1));
    EXPECT_EQ(ReadPicture(ConvertedBitmapPath()).size(), std::make_pair(1920, 1080));
    EXPECT_EQ(DesktopValue(L"Wallpaper"), ConvertedBitmapPath());
}

TEST_F(HighDpi, DpiChangeWhileAFolderLoads) {
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(WriteImage(dir_ / (L"p" + std::to_wstring(i) + L".png"), 64, 48));
    frmMain& f = Start();
    // Arrives the first time the load lets messages run: the window moves to a 200 % monitor mid-load.
    RECT suggested = OuterRect(f.hwnd());
    suggested.right = suggested.left + 2000;
    suggested.bottom = suggested.top + 1500;
    PostMessageW(f.hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    f.LoadFolder(dir_.path(), true);
    EXPECT_EQ(f.Dpi(), 192u);
    EXPECT_EQ(ListView_GetItemCount(Control(IDC_LISTVIEWPICS)), 40);
    EXPECT_FALSE(State().load.LoadBusy);
    EXPECT_EQ(Probe::Preview(f).width(), 512);
    ExpectEveryControlInsideItsFrame(f);
}
