// The shown folder followed while the program is open: files copied in, deleted or renamed in
// Explorer appear or go about a second after the changes settle.
#include "catalog/CatalogView.h"
#include "catalog/CatalogText.h"
#include "platform/ListView.h"
#include <algorithm>
#include <vector>

namespace tessary {

void CatalogView::FolderWatch_Timer() {
    FolderWatch& watch = watch_;
    // A load takes in every change made before it lists the folder; later ones wait for its end,
    // and so do they while a message box, the rename box or a drag holds the window.
    if (state_.load.LoadBusy || !watch.Watching() || !IsWindowEnabled(host_.MainWindow()) || GetCapture())
        return;
    const double now = Seconds();
    switch (watch.Look()) {
    case FolderWatch::Change::Gone:
        // Deleted or renamed: the reload shows the empty list a missing folder gets, and ends
        // the watch.
        watch.Stop();
        ReloadKeepingView();
        return;
    case FolderWatch::Change::Changed:
        watch.debounce.Changed(now);
        break;
    case FolderWatch::Change::None:
        break;
    }
    if (!watch.debounce.Due(now))
        return;
    watch.debounce.Clear();
    ReloadKeepingView();
}

void CatalogView::ReloadKeepingView(const std::optional<std::wstring>& select) {
    ListView list(c_.list);
    std::vector<std::wstring> selected;
    for (int i = list.NextSelected(); i >= 0; i = list.NextSelected(i))
        selected.push_back(list.Text(i));
    const int focusedItem = list.FocusedItem();
    std::wstring focused = focusedItem >= 0 ? list.Text(focusedItem) : std::wstring();
    if (select) {
        selected = {*select};
        focused = *select;
    }
    const int scrolled = list.ScrolledDown();

    LoadFolder(state_.load.LastLoadedFolder, true);

    for (int i = 0; i < list.Count(); ++i) {
        const std::wstring name = list.Text(i);
        if (std::find(selected.begin(), selected.end(), name) != selected.end())
            list.SetSelected(i, true);
        if (!focused.empty() && name == focused)
            list.SetFocused(i);
    }
    list.ScrollDown(scrolled - list.ScrolledDown());
    UpdateDirStatus();
}

} // namespace tessary
