// Two monitors: tools/test.sh runs this file on a display of two screens joined by Xinerama, a
// 1280 x 1024 primary and a 1920 x 1080 one (Xvfb places both at the origin).
#include "platform/Controls.h"
#include "platform/DesktopWallpaper.h"
#include "support/MainWindow.h"

using namespace tessary;
using namespace wintest;

namespace {

// The shell's per-monitor wallpapers as Windows 8 and later have them, recording what is asked.
class FakeShell final : public PerMonitorWallpaper {
public:
    explicit FakeShell(std::vector<std::wstring>& log) : log_(log) {}
    std::wstring MonitorIdAt(const RECT& bounds) override {
        return L"monitor-" + std::to_wstring(bounds.right - bounds.left);
    }
    std::wstring Wallpaper(const std::wstring& id) override { return id == L"monitor-1920" ? wall2 : L""; }
    bool SetWallpaper(const std::wstring& id, const std::wstring& path) override {
        log_.push_back(id + L" " + path);
        return true;
    }
    bool SetPosition(int position) override {
        log_.push_back(L"position " + std::to_wstring(position));
        return true;
    }
    static inline std::wstring wall2;

private:
    std::vector<std::wstring>& log_;
};

class TwoMonitors : public WallpaperWindowTest {
protected:
    void TearDown() override {
        SetPerMonitorWallpaperFactory({});
        WallpaperWindowTest::TearDown();
    }
    // Picks a chooser entry as the user does.
    void Choose(frmMain& f, int entry) {
        HWND combo = Probe::Chooser(f).hwnd();
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        Pump(20);
    }
};

} // namespace

TEST_F(TwoMonitors, ChooserListsBothAndThePreviewTakesTheChosenMonitorsShape) {
    frmMain& f = Start();
    State().wallpaper.DesktopColor = std::to_wstring(RGB(0x80, 0x80, 0x80));
    HWND combo = Probe::Chooser(f).hwnd();
    EXPECT_TRUE(IsWindowVisible(combo));
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    std::vector<std::wstring> entries;
    for (int i = 0; i < 3; ++i) {
        wchar_t text[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    EXPECT_EQ(entries, (std::vector<std::wstring>{L"All monitors", L"1 \u2014 1280 \u00D7 1024 (primary)",
                                                  L"2 \u2014 1920 \u00D7 1080"}));
    EXPECT_EQ(ComboSelected(combo), 0);

    // A picture of the first monitor's size fills that monitor's preview; on the wider second
    // one it is centred with the desktop colour around it.
    const std::wstring image = dir_ / L"first.bmp";
    ASSERT_TRUE(WriteImage(image, 1280, 1024, [](int, int) { return kRed; }));
    f.SetOptMode(0);
    Choose(f, 1);
    f.DrawPreview(image);
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kRed));
    Choose(f, 2);
    EXPECT_EQ(State().CurrentImagePath, State().wallpaper.CurrentWallpaperPath); // its wallpaper first
    f.DrawPreview(image);
    EXPECT_TRUE(AreaIs(0, 0, 42, 192, kDesktopGrey));
    EXPECT_TRUE(AreaIs(44, 6, 212, 186, kRed));
    EXPECT_TRUE(AreaIs(214, 0, 256, 192, kDesktopGrey));
}

TEST_F(TwoMonitors, SetWallpaperOnOneMonitorGoesThroughThePerMonitorShell) {
    std::vector<std::wstring> log;
    FakeShell::wall2 = dir_ / L"second.bmp";
    ASSERT_TRUE(WriteImage(FakeShell::wall2, 32, 32, [](int, int) { return kGreen; }));
    SetPerMonitorWallpaperFactory([&log] { return std::make_unique<FakeShell>(log); });
    frmMain& f = Start();
    Choose(f, 2);
    EXPECT_EQ(State().CurrentImagePath, FakeShell::wall2); // the chosen monitor's own wallpaper
    const std::wstring image = dir_ / L"mine.bmp";
    ASSERT_TRUE(WriteImage(image, 64, 48));
    const std::optional<std::wstring> before = DesktopValue(L"Wallpaper");
    State().CurrentImagePath = image;
    Click(Control(IDC_OPTMODE_0 + 5));
    Click(Control(IDC_CMDSETWP));
    EXPECT_EQ(log, (std::vector<std::wstring>{L"position 4", L"monitor-1920 " + image}));
    EXPECT_EQ(DesktopValue(L"Wallpaper"), before); // the settings for all monitors stay
}

TEST_F(TwoMonitors, WithoutThePerMonitorShellAllGetItAndAnUnpluggedMonitorFallsBackToAll) {
    // Wine, like Windows 7, has no per-monitor wallpaper object.
    frmMain& f = Start();
    Choose(f, 2);
    const std::wstring image = dir_ / L"all.bmp";
    ASSERT_TRUE(WriteImage(image, 64, 48));
    State().CurrentImagePath = image;
    Click(Control(IDC_CMDSETWP));
    EXPECT_EQ(DesktopValue(L"Wallpaper"), image);
    EXPECT_NE(Probe::Status(f).PanelText(1).find(L"set for all monitors"), std::wstring::npos)
        << Narrow(Probe::Status(f).PanelText(1));

    // The chosen monitor unplugged: back to all monitors.
    ASSERT_NE(Probe::Chooser(f).Chosen(), nullptr);
    Probe::Chooser(f).source = [] {
        std::vector<MonitorDesc> all = EnumerateMonitors();
        std::erase_if(all, [](const MonitorDesc& m) { return !m.primary; });
        return all;
    };
    SendMessageW(f.hwnd(), WM_DISPLAYCHANGE, 24, MAKELPARAM(1280, 1024));
    EXPECT_EQ(Probe::Chooser(f).Chosen(), nullptr);
    EXPECT_FALSE(IsWindowVisible(Probe::Chooser(f).hwnd()));
    EXPECT_EQ(Probe::Status(f).PanelText(1), L"Monitor 2 is no longer connected: showing all monitors.");
}
