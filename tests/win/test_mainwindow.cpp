// The main window through its real controls: start-up defaults, the settings round trip, bad
// stored values and a rectangle off the screen, the layout and the minimum size.
#include "platform/Controls.h"
#include "platform/Screen.h"
#include "support/MainWindow.h"

using namespace tessary;
using namespace wintest;

namespace {
class MainWindow : public MainWindowTest {};

std::wstring Twips(int pixels) {
    return std::to_wstring(static_cast<int>(pixels * TwipsPerPixelX()));
}
} // namespace

TEST_F(MainWindow, FirstRunUsesTheDefaultsAndTheLayoutFollowsTheSize) {
    frmMain& f = Start();
    EXPECT_TRUE(IsWindowVisible(f.hwnd()));
    RECT rc = OuterRect(f.hwnd());
    EXPECT_EQ(rc.right - rc.left, DefaultWidthPx(static_cast<float>(GetSystemMetrics(SM_CXSCREEN))));
    EXPECT_EQ(rc.bottom - rc.top, DefaultHeightPx(static_cast<float>(GetSystemMetrics(SM_CYSCREEN))));
    // All of it inside the work area, though the designed window's centred corner would put its
    // bottom below the screen.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(rc.left >= work.left && rc.top >= work.top && rc.right <= work.right &&
                rc.bottom <= work.bottom);
    EXPECT_EQ(TrackbarValue(Control(IDC_SLIDERTHUMBSIZE)), 100);
    for (int id : {IDC_CHKUSECACHE, IDC_CHKOVERLAY_0, IDC_CHKOVERLAY_1, IDC_OPTLISTMODE_0, IDC_OPTMODE_0})
        EXPECT_TRUE(IsChecked(Control(id))) << id;
    EXPECT_EQ(ComboSelected(Control(IDC_CBOSORT)), 0);
    EXPECT_EQ(Probe::Tree(f).CurrentFolder(), L"");
    EXPECT_NE(Panel(5).find(L':'), std::wstring::npos); // the clock
    EXPECT_TRUE(dialogs_->calls.empty());

    // The layout follows the client size, down to the minimum.
    RECT outer = OuterRect(f.hwnd()), client;
    GetClientRect(f.hwnd(), &client);
    SetWindowPos(f.hwnd(), nullptr, 0, 0, 992 + (outer.right - outer.left) - client.right,
                 700 + (outer.bottom - outer.top) - client.bottom, SWP_NOZORDER | SWP_NOMOVE);
    Pump(20);
    GetClientRect(f.hwnd(), &client);
    ASSERT_EQ(client.right, 992);
    const RECT list = OuterRect(Control(IDC_LISTVIEWPICS));
    EXPECT_EQ(list.right - list.left, 601); // as the layout computes it for 992 pixels

    SetWindowPos(f.hwnd(), nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    Pump(20);
    rc = OuterRect(f.hwnd());
    EXPECT_EQ(rc.right - rc.left, kMinWindowWidth);
    EXPECT_EQ(rc.bottom - rc.top, kMinWindowHeight);
}

TEST_F(MainWindow, SettingsSurviveARestart) {
    frmMain& f = Start();
    SetWindowPos(f.hwnd(), nullptr, 40, 30, 900, 700, SWP_NOZORDER);
    f.SetChkUseCache(BST_UNCHECKED);
    f.SetChkOverlay(1, BST_UNCHECKED);
    f.SetOptListMode(1);
    f.SetCboSort(5);
    f.SetSliderThumbSize(150);
    Click(IDC_OPTMODE_0 + 5); // Fill, with no wallpaper recorded to say otherwise
    Close();
    EXPECT_EQ(ReadSetting(L"WallpaperMode"), L"Fill");
    EXPECT_EQ(ReadSetting(L"Left"), Twips(40));
    EXPECT_EQ(ReadSetting(L"Width"), Twips(900));
    EXPECT_EQ(ReadSetting(L"CacheDirectories"), L"0");
    EXPECT_EQ(ReadSetting(L"DrawShading"), L"-1");
    EXPECT_EQ(ReadSetting(L"ListMode"), L"List");

    frmMain& g = Start();
    const RECT rc = OuterRect(g.hwnd());
    EXPECT_EQ((std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom}),
              (std::vector<LONG>{40, 30, 940, 730}));
    EXPECT_FALSE(IsChecked(Control(IDC_CHKUSECACHE)));
    EXPECT_TRUE(IsChecked(Control(IDC_CHKOVERLAY_0)));
    EXPECT_FALSE(IsChecked(Control(IDC_CHKOVERLAY_1)));
    EXPECT_EQ(ComboSelected(Control(IDC_CBOSORT)), 5);
    EXPECT_EQ(TrackbarValue(Control(IDC_SLIDERTHUMBSIZE)), 150);
    EXPECT_TRUE(IsChecked(Control(IDC_OPTLISTMODE_1)));
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0 + 5)));

    // Closed maximised, the normal rectangle is what is kept.
    SetWindowPos(g.hwnd(), nullptr, 50, 60, 800, 600, SWP_NOZORDER);
    SendMessageW(g.hwnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump(20);
    ASSERT_TRUE(IsZoomed(g.hwnd()));
    Close();
    EXPECT_EQ(ReadSetting(L"Left"), Twips(50));
    EXPECT_EQ(ReadSetting(L"Height"), Twips(600));
}

TEST_F(MainWindow, BadStoredValuesAreIgnoredSilently) {
    // A rectangle off every monitor comes back onto the screen.
    WriteSetting(L"Left", Twips(5000));
    WriteSetting(L"Top", Twips(4000));
    WriteSetting(L"CacheDirectories", L"Maybe");
    WriteSetting(L"SortBy", L"9");
    WriteSetting(L"ListMode", L"Images");
    WriteSetting(L"Width", L"wide");
    WriteSetting(L"ThumbSize", L"73");
    WriteSetting(L"LastFolder", L"C:\\no such folder\\anywhere");
    WriteSetting(L"WallpaperMode", L"Zoomed");
    frmMain& f = Start();
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0)));    // a layout it does not know: Centered
    EXPECT_FALSE(IsChecked(Control(IDC_CHKUSECACHE))); // did not convert: stays False
    EXPECT_EQ(ComboSelected(Control(IDC_CBOSORT)), 0);
    EXPECT_TRUE(IsChecked(Control(IDC_OPTLISTMODE_1))); // "Images" is not "Image"
    EXPECT_EQ(TrackbarValue(Control(IDC_SLIDERTHUMBSIZE)), 70);
    EXPECT_EQ(Probe::Tree(f).CurrentFolder(), L"");
    RECT client, work;
    GetClientRect(f.hwnd(), &client);
    EXPECT_EQ(client.right, 821); // the designed width
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(OuterRect(f.hwnd()).left, work.left);
    EXPECT_EQ(OuterRect(f.hwnd()).top, work.top);
    EXPECT_TRUE(dialogs_->calls.empty());
    Close();
    EXPECT_EQ(ReadSetting(L"CacheDirectories"), L"0"); // repaired at the next close
    EXPECT_EQ(ReadSetting(L"SortBy"), L"9");           // kept until the user picks an order
}
