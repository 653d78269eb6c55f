// The main window through its real controls: start-up defaults, the settings round trip, bad
// stored values, the layout and the minimum size.
#include "core/SharedState.h"
#include "platform/Controls.h"
#include "platform/Screen.h"
#include "support/MainWindow.h"

using namespace tessary;
using namespace wintest;

namespace {
class MainWindow : public MainWindowTest {};

double Tpp() {
    return TwipsPerPixelX();
}
} // namespace

TEST_F(MainWindow, FirstRunUsesTheDefaults) {
    frmMain& f = Start();
    EXPECT_TRUE(IsWindowVisible(f.hwnd()));
    EXPECT_EQ(WindowText(f.hwnd()), L"Tessary");
    // Outer size from the screen tables.
    RECT rc = OuterRect(f.hwnd());
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(rc.right - rc.left, DefaultWidthPx(static_cast<float>(sw)));
    EXPECT_EQ(rc.bottom - rc.top, DefaultHeightPx(static_cast<float>(sh)));
    // All of it inside the work area, though the designed window's centred corner would put its
    // bottom below the screen.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(rc.left >= work.left && rc.top >= work.top && rc.right <= work.right &&
                rc.bottom <= work.bottom)
        << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
    EXPECT_EQ(state.ThumbSize, 100);
    EXPECT_EQ(TrackbarValue(f.sliderThumbSize), 100);
    EXPECT_TRUE(state.CacheDirectories);
    EXPECT_TRUE(IsChecked(f.chkUseCache));
    EXPECT_TRUE(state.DrawShading);
    EXPECT_TRUE(state.DrawGlare);
    EXPECT_TRUE(IsChecked(f.chkOverlay[0]));
    EXPECT_TRUE(IsChecked(f.chkOverlay[1]));
    EXPECT_EQ(state.SortBy, 0);
    EXPECT_EQ(GetText(f.cboSort), L"Sort by Name Ascending");
    EXPECT_TRUE(IsChecked(f.optListMode[0]));
    EXPECT_FALSE(IsChecked(f.optListMode[1]));
    EXPECT_TRUE(IsChecked(f.optMode[0])); // no wallpaper layout known: centred
    EXPECT_EQ(f.FolderTreeview1.CurrentFolder(), L"");
    EXPECT_EQ(state.ScreenWidthPx, sw);
    EXPECT_EQ(state.ScreenHeightPx, sh);
    EXPECT_GT(state.WorkAreaWidth, 0);
    EXPECT_EQ(state.FrameExtraHeight, 2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION));
    // The date and the time in panels 4 and 5.
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t year[8];
    swprintf(year, 8, L"%d", now.wYear);
    EXPECT_NE(f.StatusBar1.PanelText(4).find(year + 2), std::wstring::npos)
        << Narrow(f.StatusBar1.PanelText(4));
    EXPECT_NE(f.StatusBar1.PanelText(5).find(L':'), std::wstring::npos);
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(MainWindow, ControlsHaveTheirCaptionsAndPlaces) {
    frmMain& f = Start();
    EXPECT_EQ(WindowText(f.Frame2[2]), L"Wallpaper Preview");
    EXPECT_EQ(WindowText(f.Frame2[1]), L"Picture Folder");
    EXPECT_EQ(WindowText(f.Frame2[0]), L"Pictures");
    EXPECT_EQ(WindowText(f.cmdDirBrowser[0]), L"&My Pictures");
    EXPECT_EQ(WindowText(f.cmdDirBrowser[1]), L"D&elete Cache");
    EXPECT_EQ(WindowText(f.cmdDirBrowser[2]), L"&Recache");
    EXPECT_EQ(WindowText(f.cmdDirBrowser[3]), L"&Current Wallpaper");
    EXPECT_EQ(WindowText(f.cmdDirBrowser[4]), L"&No Wallpaper");
    EXPECT_EQ(WindowText(f.cmdShowDesktop), L"&Desktop");
    EXPECT_EQ(WindowText(f.cmdSetWP), L"Set &Wallpaper");
    EXPECT_EQ(WindowText(f.cmdIconButton[0]), L"Resample &Proportional");
    EXPECT_EQ(WindowText(f.cmdIconButton[1]), L"Resample &Stretch");
    EXPECT_EQ(WindowText(f.Label1), L"Image Size:");
    EXPECT_FALSE(IsWindowVisible(f.optMode[2]));
    EXPECT_EQ(SendMessageW(f.cboSort, CB_GETCOUNT, 0, 0), 8);
    // The preview's screen sits in the monitor picture at (38, 38), 256 x 192.
    RECT wp;
    GetWindowRect(f.picWP, &wp);
    MapWindowPoints(HWND_DESKTOP, f.picMonitor, reinterpret_cast<POINT*>(&wp), 2);
    EXPECT_EQ(wp.left, 38);
    EXPECT_EQ(wp.top, 38);
    EXPECT_EQ(wp.right - wp.left, 256);
    EXPECT_EQ(wp.bottom - wp.top, 192);
    // Four list columns.
    HWND header = reinterpret_cast<HWND>(SendMessageW(f.ListViewPics, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 4);
}

TEST_F(MainWindow, LayoutFollowsTheClientSize) {
    frmMain& f = Start();
    RECT outer = OuterRect(f.hwnd()), client;
    GetClientRect(f.hwnd(), &client);
    int extraW = (outer.right - outer.left) - client.right,
        extraH = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(f.hwnd(), nullptr, 0, 0, 992 + extraW, 700 + extraH, SWP_NOZORDER | SWP_NOMOVE);
    Pump(20);
    GetClientRect(f.hwnd(), &client);
    ASSERT_EQ(client.right, 992);
    RECT p;
    GetWindowRect(f.Frame2[0], &p);
    EXPECT_EQ(p.right - p.left, 618);
    EXPECT_EQ(p.bottom - p.top, client.bottom - 21);
    RECT lv;
    GetWindowRect(f.ListViewPics, &lv);
    EXPECT_EQ(lv.right - lv.left, 601);
    RECT slider;
    GetWindowRect(f.sliderThumbSize, &slider);
    MapWindowPoints(HWND_DESKTOP, f.Frame2[0], reinterpret_cast<POINT*>(&slider), 2);
    EXPECT_EQ(slider.top, (client.bottom - 21) - 5 - 17 - 25 - 10);
    EXPECT_EQ(slider.right, 618 - 5);
}

TEST_F(MainWindow, CannotBeMadeSmallerThanTheMinimum) {
    frmMain& f = Start();
    SetWindowPos(f.hwnd(), nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    Pump(20);
    RECT rc = OuterRect(f.hwnd());
    EXPECT_EQ(rc.right - rc.left, 717);
    EXPECT_EQ(rc.bottom - rc.top, 535);
    SetWindowPos(f.hwnd(), nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOMOVE);
    rc = OuterRect(f.hwnd());
    EXPECT_EQ(rc.right - rc.left, 800);
}

TEST_F(MainWindow, SettingsSurviveARestart) {
    {
        frmMain& f = Start();
        SetWindowPos(f.hwnd(), nullptr, 40, 30, 900, 700, SWP_NOZORDER);
        f.SetChkUseCache(BST_UNCHECKED);
        f.SetChkOverlay(1, BST_UNCHECKED);
        f.SetOptListMode(1);
        f.SetCboSort(5);
        f.SetSliderThumbSize(150);
        Close();
    }
    EXPECT_EQ(ReadSetting(L"Left"), std::to_wstring(static_cast<int>(40 * Tpp())));
    EXPECT_EQ(ReadSetting(L"Top"), std::to_wstring(static_cast<int>(30 * Tpp())));
    EXPECT_EQ(ReadSetting(L"Width"), std::to_wstring(static_cast<int>(900 * Tpp())));
    EXPECT_EQ(ReadSetting(L"Height"), std::to_wstring(static_cast<int>(700 * Tpp())));
    EXPECT_EQ(ReadSetting(L"CacheDirectories"), L"0");
    EXPECT_EQ(ReadSetting(L"DrawShading"), L"-1");
    EXPECT_EQ(ReadSetting(L"DrawGlare"), L"0");
    EXPECT_EQ(ReadSetting(L"SortBy"), L"5");
    EXPECT_EQ(ReadSetting(L"ThumbSize"), L"150");
    EXPECT_EQ(ReadSetting(L"ListMode"), L"List");
    EXPECT_EQ(ReadSetting(L"LastFolder"), L"");

    state = SharedState{};
    frmMain& g = Start();
    RECT rc = OuterRect(g.hwnd());
    EXPECT_EQ(rc.left, 40);
    EXPECT_EQ(rc.top, 30);
    EXPECT_EQ(rc.right - rc.left, 900);
    EXPECT_EQ(rc.bottom - rc.top, 700);
    EXPECT_FALSE(state.CacheDirectories);
    EXPECT_FALSE(IsChecked(g.chkUseCache));
    EXPECT_TRUE(IsChecked(g.chkOverlay[0]));
    EXPECT_FALSE(IsChecked(g.chkOverlay[1]));
    EXPECT_FALSE(state.DrawGlare);
    EXPECT_EQ(state.SortBy, 5);
    EXPECT_EQ(ComboSelected(g.cboSort), 5);
    EXPECT_EQ(state.ThumbSize, 150);
    EXPECT_EQ(TrackbarValue(g.sliderThumbSize), 150);
    EXPECT_TRUE(IsChecked(g.optListMode[1]));
}

TEST_F(MainWindow, BadStoredValuesAreIgnoredSilently) {
    WriteSetting(L"CacheDirectories", L"Maybe");
    WriteSetting(L"DrawShading", L"True");
    WriteSetting(L"DrawGlare", L"0");
    WriteSetting(L"SortBy", L"9");
    WriteSetting(L"ListMode", L"Images");
    WriteSetting(L"Width", L"wide");
    WriteSetting(L"LastFolder", L"C:\\no such folder\\anywhere");
    frmMain& f = Start();
    EXPECT_FALSE(state.CacheDirectories); // did not convert: stays False
    EXPECT_TRUE(state.DrawShading);
    EXPECT_FALSE(state.DrawGlare);
    EXPECT_EQ(state.SortBy, 9);               // kept until the user picks an order
    EXPECT_EQ(ComboSelected(f.cboSort), 0);   // the list refused the index
    EXPECT_TRUE(IsChecked(f.optListMode[1])); // "Images" is not "Image"
    EXPECT_EQ(f.FolderTreeview1.CurrentFolder(), L"");
    // "Width" did not convert: the designed width (client 821 pixels) stays.
    RECT client;
    GetClientRect(f.hwnd(), &client);
    EXPECT_EQ(client.right, 821);
    EXPECT_TRUE(dialogs_->calls.empty());
    Close();
    EXPECT_EQ(ReadSetting(L"CacheDirectories"), L"0"); // repaired at the next close
    EXPECT_EQ(ReadSetting(L"SortBy"), L"9");
}

TEST_F(MainWindow, AnUnreadableThumbSizeEndsInsideTheSlidersRange) {
    WriteSetting(L"ThumbSize", L"huge");
    Start();
    EXPECT_EQ(state.ThumbSize, 50);
    Close();
    WriteSetting(L"ThumbSize", L"73");
    state = SharedState{};
    frmMain& g = Start();
    EXPECT_EQ(TrackbarValue(g.sliderThumbSize), 70);
    EXPECT_EQ(state.ThumbSize, 70);
}

TEST_F(MainWindow, ClosingWhileMaximisedSavesTheNormalRectangle) {
    frmMain& f = Start();
    SetWindowPos(f.hwnd(), nullptr, 50, 60, 800, 600, SWP_NOZORDER);
    SendMessageW(f.hwnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump(20);
    ASSERT_TRUE(IsZoomed(f.hwnd()));
    Close();
    EXPECT_EQ(ReadSetting(L"Left"), std::to_wstring(static_cast<int>(50 * Tpp())));
    EXPECT_EQ(ReadSetting(L"Width"), std::to_wstring(static_cast<int>(800 * Tpp())));
    EXPECT_EQ(ReadSetting(L"Height"), std::to_wstring(static_cast<int>(600 * Tpp())));
}

TEST_F(MainWindow, ARectangleOffEveryMonitorComesBackOnScreen) {
    WriteSetting(L"Left", std::to_wstring(static_cast<int>(5000 * Tpp())));
    WriteSetting(L"Top", std::to_wstring(static_cast<int>(4000 * Tpp())));
    WriteSetting(L"Width", std::to_wstring(static_cast<int>(820 * Tpp())));
    WriteSetting(L"Height", std::to_wstring(static_cast<int>(640 * Tpp())));
    frmMain& f = Start();
    RECT rc = OuterRect(f.hwnd());
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(rc.left, work.left);
    EXPECT_EQ(rc.top, work.top);
    EXPECT_EQ(rc.right - rc.left, 820);
    EXPECT_EQ(rc.bottom - rc.top, 640);
}

TEST_F(MainWindow, KeysReachTheWindowBeforeTheControl) {
    frmMain& f = Start();
    SetFocus(f.ListViewPics);
    PostMessageW(f.ListViewPics, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump(20);
    EXPECT_TRUE(state.EscapePressed);
    PostMessageW(f.ListViewPics, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    Pump(20);
    EXPECT_FALSE(state.EscapePressed);
}
