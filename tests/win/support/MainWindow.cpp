#include "support/MainWindow.h"
#include "platform/Settings.h"
#include "catalog/CatalogText.h"
#include "catalog/ThumbnailCache.h"
#include "platform/AppInfo.h"
#include <algorithm>
#include <regex>

namespace wintest {
namespace {
const wchar_t* const kDesktopKey = L"Control Panel\\Desktop";
} // namespace

void ClearSettings() {
    const std::wstring app = L"Software\\VB and VBA Program Settings\\" + tessary::ExeBaseName();
    RegDeleteTreeW(HKEY_CURRENT_USER, app.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, app.c_str());
}

void WriteSetting(const std::wstring& key, const std::wstring& value) {
    tessary::SaveSetting(tessary::ExeBaseName(), tessary::kSettingsSection, key, value);
}

std::optional<std::wstring> ReadSetting(const std::wstring& key) {
    const std::wstring missing = L"\x01missing";
    std::wstring v = tessary::GetSetting(tessary::ExeBaseName(), tessary::kSettingsSection, key, missing);
    return v == missing ? std::nullopt : std::optional<std::wstring>(v);
}

std::optional<std::wstring> DesktopValue(const std::wstring& name) {
    return UserRegistryText(kDesktopKey, name);
}

void SetDesktopValue(const std::wstring& name, const std::optional<std::wstring>& value) {
    if (!value)
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, name.c_str());
    else
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, name.c_str(), REG_SZ, value->c_str(),
                        static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
}

DesktopGuard::DesktopGuard()
    : wallpaper_(DesktopValue(L"Wallpaper")), tile_(DesktopValue(L"TileWallpaper")),
      style_(DesktopValue(L"WallpaperStyle")) {
    if (FileExists(ConvertedBitmapPath()))
        bitmap_ = ReadBytes(ConvertedBitmapPath());
}

DesktopGuard::~DesktopGuard() {
    std::wstring path = wallpaper_.value_or(L"");
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_SENDCHANGE);
    SetDesktopValue(L"Wallpaper", wallpaper_);
    SetDesktopValue(L"TileWallpaper", tile_);
    SetDesktopValue(L"WallpaperStyle", style_);
    RemoveTree(ConvertedBitmapPath()); // a test may have put a folder there
    DeleteFileW(ConvertedBitmapPath().c_str());
    if (bitmap_)
        WriteTextFile(ConvertedBitmapPath(), *bitmap_);
}

std::wstring ConvertedBitmapPath() {
    return tessary::DataFolder() + L"\\Tessary.bmp";
}

Summary ParseSummary(const std::wstring& text) {
    static const std::wregex pattern(L"Loaded (\\d+) images in \\d+[.,]\\d Seconds with (\\d+) cache "
                                     L"hits(?:\\.  (\\d+) files added to cache\\.)?");
    std::wsmatch m;
    Summary s;
    if (!std::regex_match(text, m, pattern))
        return s;
    s.matched = true;
    s.loaded = std::stoi(m[1].str());
    s.hits = std::stoi(m[2].str());
    if (m[3].matched)
        s.added = std::stoi(m[3].str());
    return s;
}

int CountColour(const tessary::Surface& s, RECT r, std::uint32_t rgb) {
    int n = 0;
    for (int y = r.top; y < r.bottom && y < s.height(); ++y)
        for (int x = r.left; x < r.right && x < s.width(); ++x)
            n += (s.Pixel(x, y) & 0xFFFFFF) == rgb;
    return n;
}

void MainWindowTest::SetUp() {
    ClearSettings();
    dialogs_ = std::make_unique<DialogRecorder>();
}

void MainWindowTest::TearDown() {
    Close();
    dialogs_.reset();
    ClearSettings();
    // The cache folder is shared by every test program: leave nothing behind.
    for (const std::wstring& folder : cacheFolders_)
        tessary::DeleteFolderCache(folder);
}

tessary::frmMain& MainWindowTest::Start() {
    form_ = std::make_unique<tessary::frmMain>();
    EXPECT_TRUE(form_->Load());
    Pump(50);
    return *form_;
}

tessary::frmMain& MainWindowTest::StartOn1024() {
    tessary::frmMain& f = Start();
    State().screen.ScreenWidthPx = 1024;
    State().screen.ScreenHeightPx = 768;
    State().wallpaper.DesktopColor = std::to_wstring(RGB(0x80, 0x80, 0x80));
    return f;
}

void MainWindowTest::Close() {
    if (form_ && form_->IsLoaded()) {
        SendMessageW(form_->hwnd(), WM_CLOSE, 0, 0);
        Pump(20);
    }
    form_.reset();
}

HWND MainWindowTest::Control(int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        form().hwnd(),
        [](HWND child, LPARAM lp) {
            auto* s = reinterpret_cast<Search*>(lp);
            if (GetDlgCtrlID(child) != s->id)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void MainWindowTest::Click(int id) {
    Click(Control(id));
}

void MainWindowTest::Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump(20);
}

std::wstring MainWindowTest::Panel(int n) {
    HWND bar = Control(tessary::IDC_STATUSBAR1);
    wchar_t text[512] = {}; // panels count from 1
    if (LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, n - 1, 0)) < 512)
        SendMessageW(bar, SB_GETTEXTW, n - 1, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND MainWindowTest::Viewer() {
    HWND viewer = FindWindowW(L"TessaryZoom", nullptr);
    return viewer && IsWindowVisible(viewer) ? viewer : nullptr;
}

void MainWindowTest::OpenFolder(const std::wstring& folder) {
    Track(folder);
    ASSERT_TRUE(Probe::Tree(form()).SelectFolder(folder));
    ASSERT_TRUE(PumpUntil([this] { return !State().load.LoadBusy; }));
}

const std::wstring& MainWindowTest::Track(const std::wstring& folder) {
    cacheFolders_.push_back(folder);
    tessary::DeleteFolderCache(folder);
    return folder;
}

std::wstring MainWindowTest::CacheDir(const std::wstring& folder) {
    return tessary::FolderCacheFor(folder).directory;
}

tessary::ListView MainWindowTest::List() {
    return tessary::ListView(Control(tessary::IDC_LISTVIEWPICS));
}

std::vector<std::wstring> MainWindowTest::Names() {
    std::vector<std::wstring> names;
    auto list = List();
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.Text(i));
    return names;
}

int MainWindowTest::Find(const std::wstring& name) {
    const auto names = Names();
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

std::wstring MainWindowTest::Column(const std::wstring& name, int subItem) {
    const int i = Find(name);
    return i < 0 ? L"<missing>" : List().Text(i, subItem);
}

void MainWindowTest::Select(const std::vector<std::wstring>& names) {
    auto list = List();
    for (int i = 0; i < list.Count(); ++i)
        list.SetSelected(i, false);
    for (const std::wstring& n : names) {
        const int i = Find(n);
        ASSERT_GE(i, 0) << Narrow(n);
        list.SetSelected(i, true);
        ListView_SetItemState(list.hwnd(), i, LVIS_FOCUSED, LVIS_FOCUSED);
    }
}

void MainWindowTest::ClickItem(const std::wstring& name, bool twice) {
    const int i = Find(name);
    ASSERT_GE(i, 0) << Narrow(name);
    const RECT r = List().ItemRect(i, LVIR_ICON);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    HWND list = List().hwnd();
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    if (twice) {
        PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
    }
    Pump(50);
}

tessary::Surface MainWindowTest::Cell(const std::wstring& name) {
    tessary::Surface cell;
    const int i = Find(name);
    HIMAGELIST images = List().GetImageList();
    int w = 0, h = 0;
    if (i < 0 || !images || !ImageList_GetIconSize(images, &w, &h) || !cell.Create(w, h))
        return cell;
    ImageList_Draw(images, List().ImageIndex(i), cell.dc(), 0, 0, ILD_NORMAL);
    GdiFlush();
    return cell;
}

std::uint32_t MainWindowTest::Px(int x, int y) {
    return Probe::Preview(form()).Pixel(x, y) & 0xFFFFFFu;
}

bool MainWindowTest::AreaIs(int x0, int y0, int x1, int y1, std::uint32_t rgb) {
    return CountColour(Probe::Preview(form()), {x0, y0, x1, y1}, rgb) == (x1 - x0) * (y1 - y0);
}

void WallpaperWindowTest::SetUp() {
    MainWindowTest::SetUp();
    WriteSetting(L"DrawShading", L"0");
    WriteSetting(L"DrawGlare", L"0");
}

} // namespace wintest
