// The real main window in a test: a clean settings store and state, started and closed as the user
// does, and ways to reach and read what the user sees. Tests reach the window through these helpers.
#pragma once
#include "app/frmMain.h"
#include "platform/ListView.h"
#include "platform/Surface.h"
#include "support/Dialogs.h"
#include "support/WinTest.h"
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessary {

// The one way tests reach inside the main window: its shared state, the controls they cannot find
// by id and the subsystems' own state.
struct MainWindowProbe {
    static SharedState& State(frmMain& f) { return f.state_; }
    static FolderTree& Tree(frmMain& f) { return f.FolderTreeview1; }
    static StatusBar& Status(frmMain& f) { return f.StatusBar1; }
    static MonitorChooser& Chooser(frmMain& f) { return f.cboMonitor; }
    static CatalogView& Catalog(frmMain& f) { return f.catalog_; }
    static FileCommands& Commands(frmMain& f) { return f.commands_; }
    static ImageViewer& Viewer(frmMain& f) { return f.viewer_; }
    // What the wallpaper preview and the monitor picture show.
    static const Surface& Preview(frmMain& f) { return f.wallpaper_.PreviewSurface(); }
    static const Surface& MonitorPicture(frmMain& f) { return f.wallpaper_.MonitorSurface(); }
};

} // namespace tessary

namespace wintest {

using Probe = tessary::MainWindowProbe;

// This test program's settings (the store is named after the executable).
void ClearSettings();
void WriteSetting(const std::wstring& key, const std::wstring& value);
std::optional<std::wstring> ReadSetting(const std::wstring& key);

// A value of HKCU\Control Panel\Desktop as stored, or nothing when it does not exist.
std::optional<std::wstring> DesktopValue(const std::wstring& name);
void SetDesktopValue(const std::wstring& name, const std::optional<std::wstring>& value);

// Puts the desktop's wallpaper, its layout values and the program's converted bitmap back as
// they were.
class DesktopGuard {
public:
    DesktopGuard();
    ~DesktopGuard();
    DesktopGuard(const DesktopGuard&) = delete;
    DesktopGuard& operator=(const DesktopGuard&) = delete;

private:
    std::optional<std::wstring> wallpaper_, tile_, style_;
    std::optional<std::string> bitmap_;
};
// The program's converted wallpaper bitmap.
std::wstring ConvertedBitmapPath();

// "Loaded N images in S Seconds with H cache hits" with or without ".  A files added to cache."
struct Summary {
    bool matched = false;
    int loaded = -1, hits = -1, added = 0;
};
Summary ParseSummary(const std::wstring& text);

// Colours as 0xRRGGBB.
constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
constexpr std::uint32_t kDesktopGrey = 0x808080;
inline std::uint32_t Rgb(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}
// How many pixels of the rectangle have exactly this colour (0xRRGGBB).
int CountColour(const tessary::Surface& s, RECT r, std::uint32_t rgb);

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates the window and runs its start-up; settings written before this call are read.
    tessary::frmMain& Start();
    // Start() with the preview seeing a 1024 x 768 screen and a grey desktop.
    tessary::frmMain& StartOn1024();
    // Closes the window as the user does (its unload handler runs) and forgets it.
    void Close();
    tessary::frmMain& form() { return *form_; }
    // The window's shared state.
    tessary::SharedState& State() { return Probe::State(form()); }

    // A control of the window by its id, wherever it sits.
    HWND Control(int id);
    void Click(int id);
    void Click(HWND button);
    std::wstring Panel(int n);
    // The viewer's window when it is open and visible.
    HWND Viewer();

    // Selects the folder in the tree as the user does and waits for its load. Its cache is
    // removed after the test.
    void OpenFolder(const std::wstring& folder);
    // Remembers a folder whose cache the test may fill, so it is removed afterwards.
    const std::wstring& Track(const std::wstring& folder);
    std::wstring CacheDir(const std::wstring& folder);

    tessary::ListView List();
    std::vector<std::wstring> Names(); // entry texts in the order shown
    int Find(const std::wstring& name);
    std::wstring Column(const std::wstring& name, int subItem);
    // Selects exactly these entries, the last one focused.
    void Select(const std::vector<std::wstring>& names);
    // Clicks an entry with the left button, as the user does.
    void ClickItem(const std::wstring& name, bool twice = false);
    // The cell picture of an entry, as the image list holds it.
    tessary::Surface Cell(const std::wstring& name);

    // A pixel of the wallpaper preview as 0xRRGGBB; true when every pixel of [x0, x1) x [y0, y1) is rgb.
    std::uint32_t Px(int x, int y);
    bool AreaIs(int x0, int y0, int x1, int y1, std::uint32_t rgb);

    std::unique_ptr<DialogRecorder> dialogs_;

private:
    std::unique_ptr<tessary::frmMain> form_;
    std::vector<std::wstring> cacheFolders_;
};

// The main window with the monitor's overlays off, the desktop's wallpaper values and the
// program's bitmap put back afterwards, and a folder for the pictures.
class WallpaperWindowTest : public MainWindowTest {
protected:
    void SetUp() override;
    DesktopGuard desktop_;
    TempDir dir_{L"tessary_wp"};
};

} // namespace wintest
