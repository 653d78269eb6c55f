// The folder tree: drives and their folders in a tree view, children read when a node is first
// expanded, folders sorted case-insensitively in the user's locale. The program keeps its current
// folder only here.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>

namespace tessary {

class FolderTree {
public:
    FolderTree() = default;
    ~FolderTree();
    FolderTree(const FolderTree&) = delete;
    FolderTree& operator=(const FolderTree&) = delete;
    FolderTree(FolderTree&&) = delete;
    FolderTree& operator=(FolderTree&&) = delete;

    // Creates the tree view as a child of parent and lists the drives. The tree view's
    // notifications reach the top-level window, which passes them to HandleNotify.
    bool Create(HWND parent, int x, int y, int w, int h, int id);
    HWND hwnd() const { return hwnd_; }

    // Full path of the selected folder: no trailing backslash except at a drive root ("C:\");
    // empty when nothing is selected.
    std::wstring CurrentFolder() const;

    // Selects and shows an existing folder given by its full path (any case, trailing backslash
    // allowed), reading the children of its ancestors as needed, then raises the selection event
    // exactly once, also when the folder was already selected (a program's request to show a
    // folder always gets its answer). A path that is not an existing folder on a drive changes
    // nothing, raises nothing and returns false.
    bool SelectFolder(const std::wstring& path);

    // Raised whenever the selected folder changes, by the user or by SelectFolder.
    void SetSelectionChanged(std::function<void()> handler) { selectionChanged_ = std::move(handler); }

    // Repaints the tree.
    void Refresh();
    // The font is the caller's and must outlive the tree.
    void SetFont(HFONT font);

    // Handles a WM_NOTIFY from the tree view; true when handled (result is then the answer).
    bool HandleNotify(const NMHDR* hdr, LRESULT& result);

private:
    void AddDrives();
    HTREEITEM InsertItem(HTREEITEM parent, HTREEITEM after, const std::wstring& name, bool drive);
    HTREEITEM InsertSorted(HTREEITEM parent, const std::wstring& name, bool drive);
    void LoadChildren(HTREEITEM item);
    void ForgetChildren(HTREEITEM item);
    bool ChildrenLoaded(HTREEITEM item) const;
    void SetLoaded(HTREEITEM item, bool loaded);
    void SetHasChildren(HTREEITEM item, int children);
    HTREEITEM FindChild(HTREEITEM parent, const std::wstring& name) const;
    HTREEITEM Next(HTREEITEM item, UINT relation) const;
    std::wstring ItemText(HTREEITEM item) const;
    std::wstring ItemPath(HTREEITEM item) const;
    bool IsWithin(HTREEITEM item, HTREEITEM ancestor) const;
    void RaiseSelectionChanged();

    void OnGetDispInfo(NMTVDISPINFOW& info);
    void OnItemExpanding(const NMTREEVIEWW& nm);
    void OnItemExpanded(const NMTREEVIEWW& nm);

    HWND hwnd_ = nullptr;
    std::function<void()> selectionChanged_;
    bool selecting_ = false; // SelectFolder raises the event itself, once
    int folderIcon_ = 0, openFolderIcon_ = 0;
};

} // namespace tessary
