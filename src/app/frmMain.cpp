#include "app/frmMain.h"
#include "catalog/CatalogText.h"
#include "platform/Settings.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "catalog/CacheIni.h"
#include "platform/AppInfo.h"
#include "platform/Containers.h"
#include "platform/Locale.h"
#include "platform/MessagePump.h"
#include "platform/Screen.h"
#include "resource.h"
#include <windowsx.h>
#include <cmath>
#include <vector>

namespace tessary {
namespace {

constexpr int kDesignedClientWidth = 821;
constexpr int kDesignedClientHeight = 677;
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT_PTR kFolderWatchTimer = 2;
// Designed widths of the status bar's panels 2 to 5 and of the list's detail columns.
constexpr int kStatusWidths[] = {170, 230, 80, 70};
constexpr int kColumnWidths[] = {167, 67, 136, 96};

const wchar_t* const kSortEntries[] = {
    L"Sort by Name Ascending",       L"Sort by Name Descending",       L"Sort by Size Ascending",
    L"Sort by Size Descending",      L"Sort by Date Ascending",        L"Sort by Date Descending",
    L"Sort by Resolution Ascending", L"Sort by Resolution Descending",
};

// Keys of the settings store, in the order they are written.
const wchar_t kLastFolder[] = L"LastFolder";
const wchar_t kLeft[] = L"Left";
const wchar_t kTop[] = L"Top";
const wchar_t kWidth[] = L"Width";
const wchar_t kHeight[] = L"Height";
const wchar_t kThumbSize[] = L"ThumbSize";
const wchar_t kCacheDirectories[] = L"CacheDirectories";
const wchar_t kDrawShading[] = L"DrawShading";
const wchar_t kDrawGlare[] = L"DrawGlare";
const wchar_t kSortBy[] = L"SortBy";
const wchar_t kListMode[] = L"ListMode";
const wchar_t kWallpaperMode[] = L"WallpaperMode";

std::wstring Setting(const wchar_t* key, const std::wstring& defaultValue) {
    return GetSetting(ExeBaseName(), kSettingsSection, key, defaultValue);
}
void Save(const wchar_t* key, const std::wstring& value) {
    SaveSetting(ExeBaseName(), kSettingsSection, key, value);
}

// Reads a switch; an unconvertible text leaves the variable as it was.
void ReadSwitch(const wchar_t* key, bool& variable, const NumberFormat& fmt) {
    if (auto v = ToBoolean(Setting(key, BooleanToText(true)), fmt))
        variable = *v;
}
void ReadLong(const wchar_t* key, std::int32_t defaultValue, std::int32_t& variable,
              const NumberFormat& fmt) {
    if (auto v = ToLong(Setting(key, std::to_wstring(defaultValue)), fmt))
        variable = *v;
}

int ShiftState() {
    return ((GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0) | ((GetKeyState(VK_CONTROL) & 0x8000) ? 2 : 0) |
           ((GetKeyState(VK_MENU) & 0x8000) ? 4 : 0);
}

void MoveTo(HWND hwnd, int x, int y, int w, int h) {
    if (hwnd && w >= 0 && h >= 0)
        SetWindowPos(hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT ChildRect(HWND child) {
    RECT rc{};
    GetWindowRect(child, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}
} // namespace

frmMain::frmMain() = default;

frmMain::~frmMain() {
    if (hwnd()) {
        UnregisterKeyPreview(hwnd());
        SubClass_Form.reset();
        DestroyWindow(hwnd());
    }
}

int frmMain::WindowState() const {
    if (IsIconic(hwnd()))
        return 1;
    if (IsZoomed(hwnd()))
        return 2;
    return 0;
}

bool frmMain::Load() {
    if (hwnd())
        return true;
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TESSARY));
    if (!CreateWindowObject(L"TessaryMain", L"Tessary", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            WS_EX_CONTROLPARENT, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, icon))
        return false;
    // The controls are made at their designed places and then scaled to the monitor's DPI.
    dpi_ = DpiOfWindow(hwnd());
    font_.reset(CreateFontForDpi(L"Arial", 8.25, dpi_));
    treeFont_.reset(CreateFontForDpi(L"MS Sans Serif", 8.25, dpi_));
    ApplyDesignedWindowSize();
    CreateControls();
    layout_.Capture(hwnd());
    if (dpi_ != kDefaultDpi)
        ApplyDpiLayout();
    RegisterKeyPreview(hwnd(), [this](const MSG& msg) {
        const auto key = static_cast<std::size_t>(msg.wParam & 0xFF);
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            listKeysDown_[key] = msg.hwnd == ListViewPics;
            Form_KeyDown(static_cast<int>(msg.wParam), ShiftState());
        } else if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
            Form_KeyUp(static_cast<int>(msg.wParam), ShiftState());
            // The list opens, deletes and renames only on keys pressed in it: Enter that closed a
            // menu, a message box or the rename box is released here too, and must not open the
            // viewer.
            const bool acts = msg.wParam != VK_RETURN && msg.wParam != VK_DELETE && msg.wParam != VK_F2;
            const bool pressedInList = listKeysDown_[key];
            listKeysDown_[key] = false;
            if (msg.hwnd == ListViewPics && (acts || pressedInList))
                ListViewPics_KeyUp(static_cast<int>(msg.wParam));
        }
        return false; // the keys still reach the control
    });
    Form_Load();
    return true;
}

void frmMain::ApplyDesignedWindowSize() {
    RECT rc{0, 0, Scaled(kDesignedClientWidth), Scaled(kDesignedClientHeight)};
    AdjustWindowRectForDpi(rc, WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT, dpi_);
    SetWindowPos(hwnd(), nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void frmMain::CreateControls() {
    HWND w = hwnd();
    HFONT f = font_.get();
    auto button = [&](HWND parent, const wchar_t* text, int x, int y, int cx, int cy, int id) {
        return CreateControl(L"BUTTON", parent, text, BS_PUSHBUTTON | WS_TABSTOP, x, y, cx, cy, id, f);
    };
    auto option = [&](HWND parent, const wchar_t* text, int x, int y, int cx, int cy, int id) {
        return CreateControl(L"BUTTON", parent, text, BS_RADIOBUTTON | WS_TABSTOP, x, y, cx, cy, id, f);
    };
    auto check = [&](HWND parent, const wchar_t* text, int x, int y, int cx, int cy, int id) {
        return CreateControl(L"BUTTON", parent, text, BS_CHECKBOX | WS_TABSTOP, x, y, cx, cy, id, f);
    };
    auto frame = [&](HWND parent, const wchar_t* text, int x, int y, int cx, int cy, int id) {
        HWND h = CreateFrame(parent, text, x, y, cx, cy, id);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
        return h;
    };
    Tips.Create(w);

    // Wallpaper preview.
    Frame2[2] = frame(w, L"Wallpaper Preview", 8, 0, 353, 425, IDC_FRAME2_2);
    picMonitor = CreatePictureBox(Frame2[2], 8, 16, 331, 327, IDC_PICMONITOR);
    picWP = CreatePictureBox(picMonitor, 38, 38, 256, 192, IDC_PICWP);
    // The layouts in two rows: the classic three, then Fit, Fill and Span with the monitor
    // chooser beside them.
    Picture1[0] = CreatePictureBox(Frame2[2], 8, 346, 201, 41, IDC_PICTURE1_0);
    optMode[0] = option(Picture1[0], L"Centered", 0, 0, 69, 17, IDC_OPTMODE_0);
    optMode[1] = option(Picture1[0], L"Stretched", 72, 0, 73, 17, IDC_OPTMODE_0 + 1);
    optMode[3] = option(Picture1[0], L"Tiled", 152, 0, 49, 17, IDC_OPTMODE_0 + 3);
    optMode[2] = option(Picture1[0], L"Tiled", 264, 0, 57, 17, IDC_OPTMODE_0 + 2);
    ShowWindow(optMode[2], SW_HIDE);
    optMode[4] = option(Picture1[0], L"Fit", 0, 24, 41, 17, IDC_OPTMODE_0 + 4);
    optMode[5] = option(Picture1[0], L"Fill", 48, 24, 41, 17, IDC_OPTMODE_0 + 5);
    optMode[6] = option(Picture1[0], L"Span", 96, 24, 49, 17, IDC_OPTMODE_0 + 6);
    cboMonitor.Create(Frame2[2], IDC_CBOMONITOR, 160, 367, 185, f);
    chkOverlay[0] = check(Frame2[2], L"Shading", 216, 346, 65, 17, IDC_CHKOVERLAY_0);
    chkOverlay[1] = check(Frame2[2], L"Glare", 288, 346, 49, 17, IDC_CHKOVERLAY_1);
    Picture3 = CreatePictureBox(Frame2[2], 8, 388, 337, 35, IDC_PICTURE3);
    // A split button: its arrow drops down the recent wallpapers.
    cmdDirBrowser[3] = CreateControl(L"BUTTON", Picture3, L"&Current Wallpaper", BS_SPLITBUTTON | WS_TABSTOP,
                                     0, 4, 97, 25, IDC_CMDDIRBROWSER_0 + 3, f);
    cmdShowDesktop = button(Picture3, L"&Desktop", 104, 4, 57, 25, IDC_CMDSHOWDESKTOP);
    cmdDirBrowser[4] = button(Picture3, L"&No Wallpaper", 168, 4, 81, 25, IDC_CMDDIRBROWSER_0 + 4);
    cmdSetWP = button(Picture3, L"Set &Wallpaper", 256, 4, 81, 25, IDC_CMDSETWP);

    // Picture folder.
    Frame2[1] = frame(w, L"Picture Folder", 8, 432, 353, 225, IDC_FRAME2_1);
    FolderTreeview1.Create(Frame2[1], 8, 16, 337, 169, IDC_FOLDERTREE);
    FolderTreeview1.SetFont(treeFont_.get());
    picPreviewButtonHolder = CreatePictureBox(Frame2[1], 8, 192, 341, 25, IDC_PICPREVIEWBUTTONHOLDER);
    cmdDirBrowser[0] = button(picPreviewButtonHolder, L"&My Pictures", 0, 0, 73, 25, IDC_CMDDIRBROWSER_0);
    chkUseCache = check(picPreviewButtonHolder, L"Cache Images", 88, 4, 89, 17, IDC_CHKUSECACHE);
    cmdDirBrowser[1] =
        button(picPreviewButtonHolder, L"D&elete Cache", 184, 0, 81, 25, IDC_CMDDIRBROWSER_0 + 1);
    cmdDirBrowser[2] = button(picPreviewButtonHolder, L"&Recache", 272, 0, 65, 25, IDC_CMDDIRBROWSER_0 + 2);

    // Pictures.
    Frame2[0] = frame(w, L"Pictures", 368, 0, 337, 569, IDC_FRAME2_0);
    ListViewPics =
        CreateControl(WC_LISTVIEWW, Frame2[0], L"",
                      LVS_ICON | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS | WS_TABSTOP, 8,
                      16, 321, 433, IDC_LISTVIEWPICS, f, WS_EX_CLIENTEDGE);
    SendMessageW(ListViewPics, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    struct Column {
        const wchar_t* text;
        int width, format;
    } columns[] = {{L"Filename", kColumnWidths[0], LVCFMT_LEFT},
                   {L"Size", kColumnWidths[1], LVCFMT_RIGHT},
                   {L"Date", kColumnWidths[2], LVCFMT_RIGHT},
                   {L"Resolution", kColumnWidths[3], LVCFMT_RIGHT}};
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        col.pszText = const_cast<wchar_t*>(columns[i].text);
        col.cx = columns[i].width;
        col.fmt = columns[i].format;
        col.iSubItem = i;
        SendMessageW(ListViewPics, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
    Picture1[1] = CreatePictureBox(Frame2[0], 8, 546, 121, 17, IDC_PICTURE1_1);
    optListMode[1] = option(Picture1[1], L"List", 0, 0, 41, 17, IDC_OPTLISTMODE_1);
    optListMode[0] = option(Picture1[1], L"Images", 48, 0, 65, 17, IDC_OPTLISTMODE_0);
    Label1 = CreateControl(L"STATIC", Frame2[0], L"Image Size:", SS_LEFTNOWORDWRAP, 128, 548, 57, 17,
                           IDC_LABEL1, f);
    sliderThumbSize =
        CreateControl(TRACKBAR_CLASSW, Frame2[0], L"", TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM | WS_TABSTOP,
                      184, 546, 145, 17, IDC_SLIDERTHUMBSIZE, f);
    SendMessageW(sliderThumbSize, TBM_SETRANGE, FALSE, MAKELPARAM(50, 200));
    SendMessageW(sliderThumbSize, TBM_SETLINESIZE, 0, 5);
    SendMessageW(sliderThumbSize, TBM_SETPAGESIZE, 0, 20);
    SendMessageW(sliderThumbSize, TBM_SETTICFREQ, 10, 0);
    SendMessageW(sliderThumbSize, TBM_SETPOS, TRUE, 100);
    picButtonBorder = CreatePictureBox(Frame2[0], 8, 496, 273, 27, IDC_PICBUTTONBORDER);
    cmdIconButton[0] = button(picButtonBorder, L"Resample &Proportional", 0, 0, 126, 25, IDC_CMDICONBUTTON_0);
    cmdIconButton[1] = button(picButtonBorder, L"Resample &Stretch", 136, 0, 102, 25, IDC_CMDICONBUTTON_1);
    cboSort = CreateControl(WC_COMBOBOXW, Frame2[0], L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 256,
                            496, 163, 200, IDC_CBOSORT, f);
    for (const wchar_t* entry : kSortEntries)
        ComboAdd(cboSort, entry);
    ComboSelect(cboSort, 0);

    StatusBar1.Create(w, IDC_STATUSBAR1, f,
                      {kStatusWidths[0], kStatusWidths[1], kStatusWidths[2], kStatusWidths[3]});
    UpdateClock();
    SetTimer(w, kClockTimer, 1000, nullptr);
    SetTimer(w, kFolderWatchTimer, 250, nullptr);

    struct Tip {
        HWND control;
        const wchar_t* text;
    } tips[] = {
        {optMode[0], L"Center the image on the desktop"},
        {optMode[1], L"Stretch or Shrink the image to the same size as the desktop"},
        {optMode[3], L"Tile the image on the desktop - useful for small images"},
        {optMode[4], L"Fit the whole image on the desktop, with bars of the desktop colour beside it"},
        {optMode[5], L"Fill the desktop with the image, cropping what does not fit"},
        {optMode[6], L"Span the image across all monitors"},
        {cboMonitor.hwnd(), L"The monitor to preview and to set the wallpaper on"},
        {chkOverlay[0], L"For preview effect only - does not apply to wallpaper"},
        {chkOverlay[1], L"For preview effect only - does not apply to wallpaper"},
        {cmdDirBrowser[3], L"Show the current wallpaper in the preview area"},
        {cmdShowDesktop, L"Show the current desktop in the preview area"},
        {cmdDirBrowser[4], L"Configure Windows to not use any wallpaper"},
        {cmdSetWP,
         L"Set the currently selected image from the list on the right to be the current wallpaper"},
        {cmdDirBrowser[0], L"Goto the My Pictures directory on your hard drive"},
        {chkUseCache, L"Turn on or off the caching of images"},
        {cmdDirBrowser[1], L"Delete the current cache of images"},
        {cmdDirBrowser[2], L"Reset the cache of images for the currently selected directory"},
        {optListMode[1], L"Show the available images in the selected directory as a detailed list"},
        {optListMode[0], L"Show the available images in the selected directory as thumbnail previews"},
        {sliderThumbSize, L"Move the slider to change the size of the preview thumbnails"},
        {cmdIconButton[0],
         L"Proportionally resample the image so that it's scaled to fit the desktop but maintains "
         L"the same aspect ratio"},
        {cmdIconButton[1],
         L"Resample the image so that it's scaled to fit the desktop without maintaining the aspect "
         L"ratio"},
    };
    for (const Tip& t : tips)
        Tips.Add(t.control, t.text);

    CatalogControls catalog;
    catalog.list = ListViewPics;
    catalog.sizeLabel = Label1;
    catalog.slider = sliderThumbSize;
    catalog.sortCombo = cboSort;
    catalog.useCache = chkUseCache;
    catalog.listMode[0] = optListMode[0];
    catalog.listMode[1] = optListMode[1];
    catalog.tree = &FolderTreeview1;
    catalog.status = &StatusBar1;
    catalog.nameColumnWidth = kColumnWidths[0];
    catalog_.Attach(catalog);
    WallpaperControls wallpaper;
    wallpaper.monitor = picMonitor;
    wallpaper.preview = picWP;
    std::copy(std::begin(optMode), std::end(optMode), wallpaper.mode);
    std::copy(std::begin(chkOverlay), std::end(chkOverlay), wallpaper.overlay);
    std::copy(std::begin(cmdIconButton), std::end(cmdIconButton), wallpaper.resample);
    wallpaper.chooser = &cboMonitor;
    wallpaper.status = &StatusBar1;
    wallpaper_.Attach(wallpaper);
    commands_.Attach(ListViewPics);
    RouteCommands();
}

void frmMain::RouteCommands() {
    CommandTable& t = commandTable_;
    const int any = CommandTable::kAnyCode;
    t.Add(IDM_FIRST_MENU_ITEM, IDM_LAST_MENU_ITEM, any,
          [this](int i) { mFileRightClick_Command(IDM_FIRST_MENU_ITEM + i); });
    t.Add(IDC_PICWP, kPictureClicked, [this] { picWP_Click(); });
    t.Add(IDC_CBOSORT, CBN_SELCHANGE, [this] { cboSort_Click(); });
    t.Add(IDC_CBOMONITOR, CBN_SELCHANGE, [this] { cboMonitor_Click(); });
    t.Add(IDC_OPTMODE_0, IDC_OPTMODE_6, BN_CLICKED, [this](int i) { wallpaper_.ClickOptMode(i); });
    t.Add(IDC_CHKOVERLAY_0, IDC_CHKOVERLAY_1, BN_CLICKED, [this](int i) { wallpaper_.ClickChkOverlay(i); });
    t.Add(IDC_CHKUSECACHE, BN_CLICKED, [this] { catalog_.ClickChkUseCache(); });
    t.Add(IDC_OPTLISTMODE_0, IDC_OPTLISTMODE_1, BN_CLICKED, [this](int i) { catalog_.ClickOptListMode(i); });
    t.Add(IDC_CMDDIRBROWSER_0, IDC_CMDDIRBROWSER_4, BN_CLICKED, [this](int i) { cmdDirBrowser_Click(i); });
    t.Add(IDC_CMDSHOWDESKTOP, BN_CLICKED, [this] { cmdShowDesktop_Click(); });
    t.Add(IDC_CMDSETWP, BN_CLICKED, [this] { cmdSetWP_Click(); });
    t.Add(IDC_CMDICONBUTTON_0, IDC_CMDICONBUTTON_1, BN_CLICKED, [this](int i) { cmdIconButton_Click(i); });
}

// ---- Start-up and shutdown ----

void frmMain::Form_Load() {
    const NumberFormat fmt = UserNumberFormat();
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    // 1. First-run size from the screen size in pixels; on a screen of another DPI the tables
    // read the screen as it would be at 96 DPI and their sizes are scaled back.
    const double scale = dpi_ / static_cast<double>(kDefaultDpi);
    const int defaultWidthPx = Scaled(DefaultWidthPx(static_cast<float>(screenW / scale)));
    const int defaultHeightPx = Scaled(DefaultHeightPx(static_cast<float>(screenH / scale)));
    // 2. The cache folder, in the folder chosen for data; an existing one is fine.
    if (!DataFolder().empty())
        CreateDirectoryW(CacheRoot(DataFolder()).c_str(), nullptr);
    // 3. The window rectangle.
    RestoreWindowRect(defaultWidthPx, defaultHeightPx);
    // 4. Options.
    Settings& settings = state_.settings;
    ReadLong(kThumbSize, 100, settings.ThumbSize, fmt);
    settings.ThumbSize = SliderThumbSize(settings.ThumbSize);
    ReadSwitch(kCacheDirectories, settings.CacheDirectories, fmt);
    ReadSwitch(kDrawShading, settings.DrawShading, fmt);
    ReadSwitch(kDrawGlare, settings.DrawGlare, fmt);
    ReadLong(kSortBy, 0, settings.SortBy, fmt);
    // 5. The slider follows the thumbnail size.
    SetSliderThumbSize(settings.ThumbSize);
    // 6.-8. Screen and work area measures.
    state_.screen.ScreenWidthPx = screenW;
    state_.screen.ScreenHeightPx = screenH;
    IntRect work;
    bool primary = false;
    GetMonitorWorkArea(hwnd(), work, primary);
    state_.screen.WorkAreaWidth = std::abs(work.left - work.right);
    state_.screen.WorkAreaHeight = std::abs(work.top - work.bottom);
    // 9. The window hook; from here on the minimum size holds.
    SubClass_Form = std::make_unique<cTrackMouse>();
    SubClass_Form->WindowPosChanging = [this](WPARAM wp, LPARAM lp) {
        SubClass_Form_WindowPosChanging(wp, lp);
    };
    SubClass_Form->SubClass(hwnd());
    // 10. The monitor picture's sunken edge.
    wallpaper_.PaintMonitorEdge();
    // 11. The wallpaper in use is where the preview and the commands start.
    ReadCurrentWallpaper();
    state_.CurrentImagePath = state_.wallpaper.CurrentWallpaperPath;
    // 12. The layout option of the current wallpaper (or, without one, the remembered layout).
    wallpaper_.SetRememberedMode(
        WallpaperModeFromName(Setting(kWallpaperMode, L"")).value_or(WallpaperMode::Centered));
    SetOptMode(wallpaper_.StartupModeOption());
    // 13. Overlays.
    SetChkOverlay(0, settings.DrawShading ? BST_CHECKED : BST_UNCHECKED);
    SetChkOverlay(1, settings.DrawGlare ? BST_CHECKED : BST_UNCHECKED);
    // 14. List mode (case-sensitive comparison).
    SetOptListMode(Setting(kListMode, L"Image") == L"Image" ? 0 : 1);
    // 15.-16. Cache box and sort order.
    SetChkUseCache(settings.CacheDirectories ? BST_CHECKED : BST_UNCHECKED);
    SetCboSort(settings.SortBy);
    // 17. The preview shows the desktop.
    PressShowDesktop();
    // 18. Visible.
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    // 19. The last folder, handed to the tree as stored; its selection event loads it.
    const std::wstring lastFolder = Setting(kLastFolder, L"");
    if (!FolderTreeview1.SelectFolder(lastFolder) && !lastFolder.empty())
        StatusBar1.SetPanelText(1, FolderNotShownStatus(lastFolder));
}

void frmMain::RestoreWindowRect(int defaultWidthPx, int defaultHeightPx) {
    const NumberFormat fmt = UserNumberFormat();
    const double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    const double screenWTw = GetSystemMetrics(SM_CXSCREEN) * tx,
                 screenHTw = GetSystemMetrics(SM_CYSCREEN) * ty;
    RECT rc;
    GetWindowRect(hwnd(), &rc);
    // The designed rectangle, in twips: what stays when a stored value does not convert.
    float left = static_cast<float>(rc.left * tx), top = static_cast<float>(rc.top * ty);
    float width = static_cast<float>((rc.right - rc.left) * tx),
          height = static_cast<float>((rc.bottom - rc.top) * ty);
    // Nothing saved yet: the first run, whose window must fit the screen it opens on.
    bool firstRun = true;
    for (const wchar_t* key : {kLeft, kTop, kWidth, kHeight})
        firstRun = firstRun && Setting(key, L"").empty();
    auto read = [&](const wchar_t* key, double defaultValue, float& variable) {
        if (auto v = ToSingle(Setting(key, SingleToText(static_cast<float>(defaultValue), fmt)), fmt))
            variable = *v;
    };
    // The centring defaults use the designed outer size, before Width and Height apply.
    read(kLeft, (screenWTw - width) / 2, left);
    read(kTop, (screenHTw - height) / 2, top);
    read(kWidth, tx * defaultWidthPx, width);
    read(kHeight, ty * defaultHeightPx, height);

    IntRect wanted = WindowRectFromTwips(left, top, width, height, tx, ty);
    // A rectangle left on a monitor that is gone would open the window out of sight.
    const std::vector<IntRect> areas = MonitorWorkAreas();
    IntRect primary;
    bool isPrimary = false;
    GetMonitorWorkArea(nullptr, primary, isPrimary);
    if (firstRun)
        wanted = FitInWorkArea(wanted, primary);
    else if (!areas.empty())
        wanted = KeepOnScreen(wanted, areas.data(), static_cast<int>(areas.size()), primary);
    SetWindowPos(hwnd(), nullptr, wanted.left, wanted.top, wanted.width(), wanted.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::Form_Unload() {
    // 1.-4. Settings, with the normal rectangle (SaveSettings asks the window for it: restoring a
    // window minimised from maximised would give the maximised one).
    SaveSettings();
    // 5. The viewer goes with the main window.
    UnloadZoom();
    // 7. The hook is released (GDI+ itself is shut down by the entry routine's guard, once no
    // window can draw any more).
    SubClass_Form.reset();
}

void frmMain::SaveSettings() {
    const NumberFormat fmt = UserNumberFormat();
    const double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    Save(kLastFolder, FolderTreeview1.CurrentFolder());
    RECT rc;
    GetWindowRect(hwnd(), &rc);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (WindowState() != 0 && GetWindowPlacement(hwnd(), &placement)) {
        // Workspace coordinates: shifted by the work area's origin on the primary monitor.
        rc = placement.rcNormalPosition;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) &&
            GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info))
            OffsetRect(&rc, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
    }
    Save(kLeft, SingleToText(static_cast<float>(rc.left * tx), fmt));
    Save(kTop, SingleToText(static_cast<float>(rc.top * ty), fmt));
    Save(kWidth, SingleToText(static_cast<float>((rc.right - rc.left) * tx), fmt));
    Save(kHeight, SingleToText(static_cast<float>((rc.bottom - rc.top) * ty), fmt));
    const Settings& settings = state_.settings;
    Save(kThumbSize, std::to_wstring(settings.ThumbSize));
    Save(kCacheDirectories, BooleanToText(settings.CacheDirectories));
    Save(kDrawShading, BooleanToText(settings.DrawShading));
    Save(kDrawGlare, BooleanToText(settings.DrawGlare));
    Save(kSortBy, std::to_wstring(settings.SortBy));
    Save(kListMode, catalog_.ImagesMode() ? L"Image" : L"List");
    Save(kWallpaperMode, std::wstring(WallpaperModeName(SelectedWallpaperMode())));
}

// ---- Layout ----

void frmMain::Form_Resize() {
    if (WindowState() == 1 || !Frame2[0])
        return;
    StatusBar1.Fit();
    RECT client;
    GetClientRect(hwnd(), &client);
    MainLayoutInput in;
    in.clientWidth = client.right;
    in.clientHeight = client.bottom;
    in.tx = TwipsPerPixelX();
    in.ty = TwipsPerPixelY();
    in.scale = dpi_ / static_cast<double>(kDefaultDpi);
    RECT p = ChildRect(Frame2[0]), fr = ChildRect(Frame2[1]), slider = ChildRect(sliderThumbSize),
         button = ChildRect(cmdIconButton[0]), label = ChildRect(Label1), holder;
    GetClientRect(picPreviewButtonHolder, &holder);
    in.picturesLeft = p.left;
    in.picturesTop = p.top;
    in.folderTop = fr.top;
    in.sliderLeft = slider.left;
    in.sliderHeight = slider.bottom - slider.top;
    in.resampleButtonHeight = button.bottom - button.top;
    in.labelHeight = label.bottom - label.top;
    in.folderButtonsHeight = holder.bottom;
    const MainLayout l = ComputeMainLayout(in);

    auto place = [](HWND h, int x, int y, int cx, int cy) { MoveTo(h, x, y, cx, cy); };
    auto moveY = [](HWND h, int y) {
        RECT r = ChildRect(h);
        MoveTo(h, r.left, y, r.right - r.left, r.bottom - r.top);
    };
    place(Frame2[0], p.left, p.top, l.picturesWidth, l.picturesHeight);
    RECT lv = ChildRect(ListViewPics);
    place(ListViewPics, lv.left, lv.top, l.listWidth, l.listHeight);
    place(sliderThumbSize, slider.left, l.sliderTop, l.sliderWidth, in.sliderHeight);
    place(Frame2[1], fr.left, fr.top, fr.right - fr.left, l.folderHeight);
    moveY(Label1, l.labelTop);
    moveY(Picture1[1], l.listModeTop);
    moveY(picButtonBorder, l.buttonRowTop);
    moveY(cboSort, l.sortTop);
    moveY(picPreviewButtonHolder, l.folderButtonsTop);
    RECT tree = ChildRect(FolderTreeview1.hwnd());
    place(FolderTreeview1.hwnd(), tree.left, tree.top, tree.right - tree.left, l.treeHeight);
    // Every control, not only the frames: after Maximize the label and the sort box would
    // otherwise stay blank until something else repaints them.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void frmMain::SubClass_Form_WindowPosChanging(WPARAM, LPARAM lParam) {
    auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    if (!pos)
        return;
    int cx = pos->cx, cy = pos->cy;
    ApplyMinimumSize(cx, cy, dpi_ / static_cast<double>(kDefaultDpi));
    pos->cx = cx;
    pos->cy = cy;
}

void frmMain::ApplyDpiLayout() {
    layout_.Apply(dpi_);
    std::vector<int> widths;
    for (int w : kStatusWidths)
        widths.push_back(Scaled(w));
    StatusBar1.SetWidths(std::move(widths));
    for (int i = 1; i < 4; ++i)
        SendMessageW(ListViewPics, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), Scaled(kColumnWidths[i]));
    catalog_.FitNameColumn();
    wallpaper_.ApplyDpi();
}

void frmMain::Form_DpiChanged(UINT dpi, const RECT* suggested) {
    if (dpi == dpi_ || dpi < 48 || dpi > 960)
        return;
    dpi_ = dpi;
    // The old fonts stay alive until every control has the new ones.
    const UniqueFont oldFont = std::move(font_), oldTreeFont = std::move(treeFont_);
    font_.reset(CreateFontForDpi(L"Arial", 8.25, dpi_));
    treeFont_.reset(CreateFontForDpi(L"MS Sans Serif", 8.25, dpi_));
    ReplaceFont(hwnd(), oldFont.get(), font_.get());
    ReplaceFont(hwnd(), oldTreeFont.get(), treeFont_.get());
    ApplyDpiLayout();
    wallpaper_.PaintMonitorEdge();
    if (suggested)
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    Form_Resize();
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void frmMain::ShowViewerMenu(POINT screen, HWND owner, const std::wstring& imagePath) {
    // The viewer's menu offers the wallpaper and conversion commands only, on the picture it
    // shows, which becomes the current image.
    state_.CurrentImagePath = imagePath;
    commands_.ShowFileMenu(screen, owner, imagePath,
                           {mPreview, mViewImage, msep1, msep2, mRenameImage, mDeleteImage});
}

void frmMain::cmdIconButton_Click(int index) {
    if (index == 0 || index == 1)
        wallpaper_.ResampleAndApply(state_.CurrentImagePath, index == 0);
}

void frmMain::cmdDirBrowser_Click(int index) {
    if (index >= 0 && index <= 2)
        cmdDirBrowserFolder_Click(index);
    else if (index == 3 || index == 4)
        cmdDirBrowserWallpaper_Click(index);
}

// ---- Keys ----

void frmMain::Form_KeyDown(int keyCode, int) {
    if (keyCode == VK_ESCAPE)
        state_.load.EscapePressed = true;
    if (keyCode == VK_F5)
        LoadFolder(FolderTreeview1.CurrentFolder(), true);
}

void frmMain::Form_KeyUp(int keyCode, int) {
    if (keyCode == VK_ESCAPE)
        state_.load.EscapePressed = false;
}

void frmMain::UpdateClock() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    StatusBar1.SetPanelText(4, ShortDateText(now));
    StatusBar1.SetPanelText(5, LongTimeText(now));
}

// ---- Messages ----

LRESULT frmMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        Form_Resize();
        return 0;
    case WM_COMMAND:
        commandTable_.Dispatch(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        LRESULT result = 0;
        if (hdr->hwndFrom == FolderTreeview1.hwnd() && FolderTreeview1.HandleNotify(hdr, result))
            return result;
        if (hdr->hwndFrom == ListViewPics && commands_.ListViewPics_Notify(hdr, result))
            return result;
        if (hdr->hwndFrom == cmdDirBrowser[3] && hdr->code == BCN_DROPDOWN) {
            RECT r;
            GetWindowRect(cmdDirBrowser[3], &r);
            ShowRecentWallpapers({r.left, r.bottom});
            return 0;
        }
        break;
    }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wp) == picWP) {
            POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (lp == -1) { // from the keyboard: at the preview's top left
                RECT r;
                GetWindowRect(picWP, &r);
                at = {r.left, r.top};
            }
            ShowRecentWallpapers(at);
            return 0;
        }
        break;
    case WM_HSCROLL:
        // Dragging the thumb changes the size once, when it is let go.
        if (reinterpret_cast<HWND>(lp) == sliderThumbSize && LOWORD(wp) != TB_THUMBTRACK)
            sliderThumbSize_Change();
        return 0;
    case WM_DISPLAYCHANGE:
        Monitors_Changed();
        break;
    case WM_DPICHANGED:
        Form_DpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_TIMER:
        if (wp == kClockTimer)
            UpdateClock();
        else if (wp == kFolderWatchTimer)
            FolderWatch_Timer();
        return 0;
    case WM_SETCURSOR:
        if (state_.load.LoadBusy) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            // Key-ups go to the window that is active then: nothing held here stays held.
            state_.load.EscapePressed = false;
            listKeysDown_.reset();
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd(), focus))
                focusOnDeactivate_ = focus;
        }
        break;
    case WM_SETFOCUS:
        // Back from the viewer, a message box or the rename box: the keyboard goes to the control
        // that had it (the list at first), not to the bare window.
        SetFocus(focusOnDeactivate_ && IsWindow(focusOnDeactivate_) ? focusOnDeactivate_ : ListViewPics);
        return 0;
    case WM_CLOSE:
        if (state_.load.LoadBusy) {
            // Closed at a checkpoint of a load: the load stops at its next file and closes then.
            state_.load.CloseAfterLoad = true;
            return 0;
        }
        Form_Unload();
        UnregisterKeyPreview(hwnd());
        DestroyWindow(hwnd());
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), kClockTimer);
        KillTimer(hwnd(), kFolderWatchTimer);
        if (quitOnDestroy)
            PostQuitMessage(0);
        return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

} // namespace tessary
