// The main window's catalog handlers: folder load, sorting, list modes, thumbnail size, cache box.
#include "app/SharedState.h"
#include "app/frmMain.h"

namespace tessary {

void frmMain::Catalog_InitControls() {}

void frmMain::LoadFolder(const std::wstring&, bool) {}
void frmMain::UpdateDirStatus() {}
void frmMain::UpdateCacheStatus() {}
void frmMain::ApplySort() {}
void frmMain::optListMode_Click(int) {}

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
    state.ThumbSize = v;
    LoadFolder(FolderTreeview1.CurrentFolder(), true);
}

void frmMain::chkUseCache_Click() { state.CacheDirectories = IsChecked(chkUseCache); }

void frmMain::FolderTreeview1_SelectionChanged() { LoadFolder(FolderTreeview1.CurrentFolder(), false); }

void frmMain::cmdDirBrowserFolder_Click(int) {}

} // namespace tessary
