// The catalog's handlers: sorting, list modes, thumbnail size, the cache box, the folder tree's
// selection.
#include "catalog/CatalogView.h"
#include "catalog/ThumbnailCell.h"
#include "platform/DpiLayout.h"
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

void CatalogView::Attach(const CatalogControls& controls) {
    c_ = controls;
    listMode_.Attach({c_.listMode[0], c_.listMode[1]}, [this](int i) { optListMode_Click(i); });
    useCache_.Attach(c_.useCache, [this] { chkUseCache_Click(); });
    c_.tree->SetSelectionChanged([this] { FolderTreeview1_SelectionChanged(); });
    iconModeFont_.reset(MakeListFont(kIconModePoints, true));
    reportModeFont_.reset(MakeListFont(kReportModePoints, false));
}

void CatalogView::SetCboSort(int index) {
    // An index the list does not have is refused: the list keeps its selection.
    if (ComboSelect(c_.sortCombo, index))
        cboSort_Click();
}

void CatalogView::SetSliderThumbSize(int value) {
    const int before = TrackbarValue(c_.slider);
    TrackbarSetValue(c_.slider, value); // the slider keeps the value inside its range
    if (TrackbarValue(c_.slider) != before)
        sliderThumbSize_Change();
}

void CatalogView::FitNameColumn() {
    const int designed = ScaleToDpi(c_.nameColumnWidth, host_.Dpi());
    SendMessageW(c_.list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
    if (SendMessageW(c_.list, LVM_GETCOLUMNWIDTH, 0, 0) < designed)
        SendMessageW(c_.list, LVM_SETCOLUMNWIDTH, 0, designed);
}

void CatalogView::ApplySort() {
    const auto order = SortOrderFromIndex(state_.settings.SortBy);
    if (!order)
        return;
    const std::vector<SortValues>& entries = entries_;
    const NameCompare names = CompareNoCase;
    ListView list(c_.list);
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

void CatalogView::optListMode_Click(int index) {
    ListView list(c_.list);
    int background = -1;
    if (index == 0) {
        list.SetView(ListView::View::Icons);
        background = COLOR_HIGHLIGHT;
        list.SetFont(iconModeFont_.get());
    } else if (index == 1) {
        list.SetView(ListView::View::Report);
        background = COLOR_WINDOW;
        list.SetFont(reportModeFont_.get());
    }
    if (background >= 0) {
        list.SetBackColour(GetSysColor(background));
        ShowWindow(c_.sizeLabel, index == 0 ? SW_SHOW : SW_HIDE);
        ShowWindow(c_.slider, index == 0 ? SW_SHOW : SW_HIDE);
        EnableWindow(c_.slider, index == 0);
    }
    list.SetTextColour(static_cast<COLORREF>(ChooseListTextColour(list.BackColour())));
    DoEvents();
    list.Refresh();
}

void CatalogView::cboSort_Click() {
    state_.settings.SortBy = ComboSelected(c_.sortCombo);
    ApplySort();
}

void CatalogView::sliderThumbSize_Change() {
    int v = TrackbarValue(c_.slider);
    if (v % 5 != 0) {
        // Snapping raises a new change, which goes on below.
        SetSliderThumbSize(v / 5 * 5);
        return;
    }
    if (v == state_.settings.ThumbSize)
        return;
    if (state_.load.LoadBusy) {
        // The running load keeps one cell size; the new one reloads when it ends.
        pendingThumbSize_ = v;
        return;
    }
    state_.settings.ThumbSize = v;
    LoadFolder(CurrentFolder(), true);
}

void CatalogView::chkUseCache_Click() {
    state_.settings.CacheDirectories = useCache_.IsChecked();
}

void CatalogView::FolderTreeview1_SelectionChanged() {
    // A new choice of folder: an Escape whose key-up went astray must not stop its load.
    if (!(GetAsyncKeyState(VK_ESCAPE) & 0x8000))
        state_.load.EscapePressed = false;
    c_.tree->Refresh();
    LoadFolder(CurrentFolder(), false);
}

} // namespace tessary
