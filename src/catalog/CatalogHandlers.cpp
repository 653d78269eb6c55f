// The main window's catalog handlers: sorting, list modes, thumbnail size, the cache box, the
// folder tree's selection.
#include "core/SharedState.h"
#include "app/frmMain.h"
#include "catalog/ThumbnailCell.h"
#include "platform/ListView.h"
#include "platform/Locale.h"
#include "platform/MessagePump.h"
#include "platform/Screen.h"

namespace tessary {

namespace {

constexpr double kIconModePoints = 7;
constexpr double kReportModePoints = 8;

HFONT MakeListFont(double points, bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = FontHeightForPoints(points, TwipsPerPixelY());
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    std::wstring(L"Arial").copy(lf.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

} // namespace

void frmMain::Catalog_InitControls() {
    catalog.iconModeFont.reset(MakeListFont(kIconModePoints, true));
    catalog.reportModeFont.reset(MakeListFont(kReportModePoints, false));
}

void frmMain::ApplySort() {
    const auto order = SortOrderFromIndex(state.SortBy);
    if (!order)
        return;
    const std::vector<SortValues>& entries = catalog.entries;
    const NameCompare names = CompareNoCase;
    ListView list(ListViewPics);
    list.Sort([&](LPARAM a, LPARAM b) {
        const auto n = static_cast<LPARAM>(entries.size());
        if (a >= 0 && b >= 0 && a < n && b < n) {
            if (int c = CompareForSort(entries[static_cast<std::size_t>(a)],
                                       entries[static_cast<std::size_t>(b)], *order, names))
                return c;
        }
        // Equal keys keep the order in which the files were loaded.
        return a < b ? -1 : (a > b ? 1 : 0);
    });
    if (list.Count() > 0)
        list.EnsureVisible(0);
}

void frmMain::optListMode_Click(int index) {
    ListView list(ListViewPics);
    int background = -1;
    if (index == 0) {
        list.SetView(ListView::View::Icons);
        background = COLOR_HIGHLIGHT;
        list.SetFont(catalog.iconModeFont.get());
    } else if (index == 1) {
        list.SetView(ListView::View::Report);
        background = COLOR_WINDOW;
        list.SetFont(catalog.reportModeFont.get());
    }
    if (background >= 0) {
        list.SetBackColour(GetSysColor(background));
        ShowWindow(Label1, index == 0 ? SW_SHOW : SW_HIDE);
        ShowWindow(sliderThumbSize, index == 0 ? SW_SHOW : SW_HIDE);
        EnableWindow(sliderThumbSize, index == 0);
    }
    list.SetTextColour(static_cast<COLORREF>(ChooseListTextColour(list.BackColour())));
    DoEvents();
    list.Refresh();
}

void frmMain::cboSort_Click() {
    state.SortBy = ComboSelected(cboSort);
    ApplySort();
}

void frmMain::sliderThumbSize_Change() {
    int v = TrackbarValue(sliderThumbSize);
    if (v % 5 != 0) {
        // Snapping raises a new change, which goes on below.
        SetSliderThumbSize(v / 5 * 5);
        return;
    }
    if (v == state.ThumbSize)
        return;
    if (state.LoadBusy) {
        // The running load keeps one cell size; the new one reloads when it ends.
        catalog.pendingThumbSize = v;
        return;
    }
    state.ThumbSize = v;
    LoadFolder(FolderTreeview1.CurrentFolder(), true);
}

void frmMain::chkUseCache_Click() {
    state.CacheDirectories = IsChecked(chkUseCache);
}

void frmMain::FolderTreeview1_SelectionChanged() {
    // A new choice of folder: an Escape whose key-up went astray must not stop its load.
    if (!(GetAsyncKeyState(VK_ESCAPE) & 0x8000))
        state.EscapePressed = false;
    FolderTreeview1.Refresh();
    LoadFolder(FolderTreeview1.CurrentFolder(), false);
}

} // namespace tessary
