#include "catalog/FolderTree.h"
#include "core/PathText.h"
#include "platform/Handles.h"
#include <shellapi.h>
#include <algorithm>
#include <vector>

namespace tessary {

namespace {

// lParam bit of an item whose subfolders have been read.
constexpr LPARAM kLoaded = 1;

// Paths this long need the extended-length prefix for the file functions.
std::wstring ForFileApi(const std::wstring& path) {
    if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    return L"\\\\?\\" + path;
}

// Hidden system folders ("System Volume Information", the recycle bin, the compatibility
// junctions of the profile folders) are left out of the listing, as Explorer does; a path through
// one can still be selected.
bool Listable(const WIN32_FIND_DATAW& fd) {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && (fd.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM))
        return false;
    const std::wstring_view name = fd.cFileName;
    return name != L"." && name != L"..";
}

// The names of the listable subfolders of folder; with firstOnly, stops at the first one.
std::vector<std::wstring> Subfolders(const std::wstring& folder, bool firstOnly) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileExW(ForFileApi(JoinPath(folder, L"*")).c_str(), FindExInfoBasic, &fd,
                                     FindExSearchLimitToDirectories, nullptr, 0));
    if (!find)
        return names;
    do {
        if (Listable(fd)) {
            names.emplace_back(fd.cFileName);
            if (firstOnly)
                break;
        }
    } while (FindNextFileW(find.get(), &fd));
    return names;
}

// Case-insensitive order in the user's locale; names equal but for case (possible on
// case-sensitive volumes) keep a fixed order.
bool FolderLess(const std::wstring& a, const std::wstring& b) {
    int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                           b.c_str(), static_cast<int>(b.size()));
    if (r == CSTR_EQUAL || r == 0)
        return a < b;
    return r == CSTR_LESS_THAN;
}

// File-system comparison of two names: ordinal, ignoring case.
bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// Splits an absolute drive path into its root ("C:\") and components, resolving ".", ".." and
// "/" and dropping empty components. False for relative, UNC or wildcard paths.
bool SplitDrivePath(const std::wstring& path, std::wstring& root, std::vector<std::wstring>& components) {
    if (path.size() < 2 || path[1] != L':' ||
        !((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')))
        return false;
    if (path.size() > 2 && path[2] != L'\\' && path[2] != L'/')
        return false; // "C:folder" is relative to the drive's current folder
    if (path.find_first_of(L"*?\"<>|") != std::wstring::npos)
        return false;
    std::wstring absolute = path.size() == 2 ? path + L"\\" : path;
    DWORD needed = GetFullPathNameW(absolute.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return false;
    std::wstring full(needed, L'\0');
    DWORD got = GetFullPathNameW(absolute.c_str(), needed, full.data(), nullptr);
    if (got == 0 || got >= needed)
        return false;
    full.resize(got);
    if (full.size() < 3 || full[1] != L':' || full[2] != L'\\')
        return false;
    const wchar_t drive = AsciiUpper(full[0]);
    root = std::wstring(1, drive) + L":\\";
    components.clear();
    size_t start = 3;
    while (start <= full.size()) {
        size_t end = full.find(L'\\', start);
        if (end == std::wstring::npos)
            end = full.size();
        if (end > start)
            components.push_back(full.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(ForFileApi(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The name a folder has on disk, for a name given in another case or as a short name.
bool NameOnDisk(const std::wstring& folder, const std::wstring& name, std::wstring& actual) {
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW(ForFileApi(JoinPath(folder, name)).c_str(), &fd));
    if (!find || !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    actual = fd.cFileName;
    return true;
}

int SystemIcon(const wchar_t* path, DWORD attributes, UINT extraFlags, HIMAGELIST* list) {
    SHFILEINFOW info{};
    auto result = SHGetFileInfoW(path, attributes, &info, sizeof(info),
                                 SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extraFlags);
    if (list)
        *list = reinterpret_cast<HIMAGELIST>(result);
    return result ? info.iIcon : 0;
}

} // namespace

FolderTree::~FolderTree() {
    selectionChanged_ = nullptr;
    if (hwnd_ && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

bool FolderTree::Create(HWND parent, int x, int y, int w, int h, int id) {
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                            x, y, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_)
        return false;
    SendMessageW(hwnd_, CCM_SETUNICODEFORMAT, TRUE, 0);
    // The shell's small icons (the system list belongs to the shell: never destroyed here).
    HIMAGELIST icons = nullptr;
    folderIcon_ = SystemIcon(L"folder", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES, &icons);
    openFolderIcon_ =
        SystemIcon(L"folder", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES | SHGFI_OPENICON, nullptr);
    if (icons)
        SendMessageW(hwnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(icons));
    AddDrives();
    return true;
}

void FolderTree::AddDrives() {
    DWORD needed = GetLogicalDriveStringsW(0, nullptr);
    if (needed == 0)
        return;
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    if (GetLogicalDriveStringsW(needed, buffer.data()) == 0)
        return;
    for (const wchar_t* root = buffer.data(); *root; root += wcslen(root) + 1)
        InsertItem(TVI_ROOT, TVI_LAST, root, true);
}

HTREEITEM FolderTree::InsertItem(HTREEITEM parent, HTREEITEM after, const std::wstring& name, bool drive) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<wchar_t*>(name.c_str());
    ins.item.lParam = 0;
    if (drive) {
        // A drive is not read before it is opened (a removable one may be slow or empty).
        ins.item.cChildren = 1;
        bool local = GetDriveTypeW(name.c_str()) == DRIVE_FIXED;
        int icon = local ? SystemIcon(name.c_str(), 0, 0, nullptr) : folderIcon_;
        ins.item.iImage = ins.item.iSelectedImage = icon;
    } else {
        // Whether a folder has subfolders is asked only when the tree shows it.
        ins.item.cChildren = I_CHILDRENCALLBACK;
        ins.item.iImage = folderIcon_;
        ins.item.iSelectedImage = openFolderIcon_;
    }
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(hwnd_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

HTREEITEM FolderTree::InsertSorted(HTREEITEM parent, const std::wstring& name, bool drive) {
    HTREEITEM after = TVI_FIRST;
    HTREEITEM first = parent == TVI_ROOT ? Next(nullptr, TVGN_ROOT) : Next(parent, TVGN_CHILD);
    for (HTREEITEM it = first; it; it = Next(it, TVGN_NEXT)) {
        if (FolderLess(name, ItemText(it)))
            break;
        after = it;
    }
    HTREEITEM item = InsertItem(parent, after, name, drive);
    if (item && parent != TVI_ROOT)
        SetHasChildren(parent, 1);
    return item;
}

HTREEITEM FolderTree::Next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(hwnd_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::wstring FolderTree::ItemText(HTREEITEM item) const {
    wchar_t text[MAX_PATH + 1] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = static_cast<int>(std::size(text));
    if (!SendMessageW(hwnd_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv)))
        return {};
    return tv.pszText ? std::wstring(tv.pszText) : std::wstring();
}

std::wstring FolderTree::ItemPath(HTREEITEM item) const {
    // A drive item's text is its root ("C:\"); a folder's is its name.
    std::vector<std::wstring> parts;
    for (HTREEITEM it = item; it; it = Next(it, TVGN_PARENT))
        parts.push_back(ItemText(it));
    if (parts.empty())
        return {};
    std::wstring path = parts.back();
    for (auto it = parts.rbegin() + 1; it != parts.rend(); ++it)
        path = JoinPath(path, *it);
    return path;
}

bool FolderTree::IsWithin(HTREEITEM item, HTREEITEM ancestor) const {
    for (HTREEITEM it = item; it; it = Next(it, TVGN_PARENT))
        if (it == ancestor)
            return true;
    return false;
}

bool FolderTree::ChildrenLoaded(HTREEITEM item) const {
    TVITEMW tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    SendMessageW(hwnd_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return (tv.lParam & kLoaded) != 0;
}

void FolderTree::SetLoaded(HTREEITEM item, bool loaded) {
    TVITEMW tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    tv.lParam = loaded ? kLoaded : 0;
    SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

void FolderTree::SetHasChildren(HTREEITEM item, int children) {
    TVITEMW tv{};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = item;
    tv.cChildren = children;
    SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

void FolderTree::LoadChildren(HTREEITEM item) {
    if (ChildrenLoaded(item))
        return;
    std::vector<std::wstring> names = Subfolders(ItemPath(item), false);
    std::sort(names.begin(), names.end(), FolderLess);
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    for (const auto& name : names)
        InsertItem(item, TVI_LAST, name, false);
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    SetLoaded(item, true);
    SetHasChildren(item, names.empty() ? 0 : 1);
}

// After a collapse the children are dropped, so that opening the folder again reads it afresh.
void FolderTree::ForgetChildren(HTREEITEM item) {
    HTREEITEM selected = Next(nullptr, TVGN_CARET);
    if (selected && selected != item && IsWithin(selected, item))
        return; // the selection stays where it is
    while (HTREEITEM child = Next(item, TVGN_CHILD))
        SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
    SetLoaded(item, false);
    SetHasChildren(item, Next(item, TVGN_PARENT) ? I_CHILDRENCALLBACK : 1);
}

HTREEITEM FolderTree::FindChild(HTREEITEM parent, const std::wstring& name) const {
    HTREEITEM first = parent == TVI_ROOT ? Next(nullptr, TVGN_ROOT) : Next(parent, TVGN_CHILD);
    HTREEITEM caseless = nullptr;
    for (HTREEITEM it = first; it; it = Next(it, TVGN_NEXT)) {
        std::wstring text = ItemText(it);
        if (text == name)
            return it;
        if (!caseless && SameName(text, name))
            caseless = it;
    }
    return caseless;
}

std::wstring FolderTree::CurrentFolder() const {
    if (!hwnd_)
        return {};
    HTREEITEM selected = Next(nullptr, TVGN_CARET);
    return selected ? ItemPath(selected) : std::wstring();
}

bool FolderTree::SelectFolder(const std::wstring& path) {
    std::wstring root;
    std::vector<std::wstring> components;
    if (!hwnd_ || !SplitDrivePath(path, root, components))
        return false;
    std::wstring folder = root;
    for (const auto& c : components)
        folder = JoinPath(folder, c);
    if (!IsFolder(folder))
        return false;

    HTREEITEM item = FindChild(TVI_ROOT, root);
    if (!item)
        item = InsertSorted(TVI_ROOT, root, true); // a drive that appeared since the start
    std::vector<HTREEITEM> ancestors;
    for (const auto& component : components) {
        if (!item)
            return false;
        LoadChildren(item);
        ancestors.push_back(item);
        HTREEITEM child = FindChild(item, component);
        if (!child) {
            // Not listed: a short name, a hidden system folder, or one made after the listing.
            std::wstring actual;
            if (!NameOnDisk(ItemPath(item), component, actual))
                return false;
            child = FindChild(item, actual);
            if (!child)
                child = InsertSorted(item, actual, false);
        }
        item = child;
    }
    if (!item)
        return false;
    for (HTREEITEM ancestor : ancestors)
        SendMessageW(hwnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(ancestor));

    selecting_ = true;
    SendMessageW(hwnd_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    selecting_ = false;
    if (Next(nullptr, TVGN_CARET) != item)
        return false;
    SendMessageW(hwnd_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RaiseSelectionChanged();
    return true;
}

void FolderTree::RaiseSelectionChanged() {
    // From a copy: the handler may replace itself.
    if (auto handler = selectionChanged_)
        handler();
}

void FolderTree::Refresh() {
    if (hwnd_)
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void FolderTree::SetFont(HFONT font) {
    if (hwnd_)
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void FolderTree::OnGetDispInfo(NMTVDISPINFOW& info) {
    if (!(info.item.mask & TVIF_CHILDREN))
        return;
    HTREEITEM item = info.item.hItem;
    bool has =
        ChildrenLoaded(item) ? Next(item, TVGN_CHILD) != nullptr : !Subfolders(ItemPath(item), true).empty();
    info.item.cChildren = has ? 1 : 0;
    info.item.mask |= TVIF_DI_SETITEM; // asked once per item
}

void FolderTree::OnItemExpanding(const NMTREEVIEWW& nm) {
    if (nm.action & TVE_EXPAND)
        LoadChildren(nm.itemNew.hItem);
}

void FolderTree::OnItemExpanded(const NMTREEVIEWW& nm) {
    if ((nm.action & (TVE_COLLAPSE | TVE_EXPAND)) == TVE_COLLAPSE)
        ForgetChildren(nm.itemNew.hItem);
}

bool FolderTree::HandleNotify(const NMHDR* hdr, LRESULT& result) {
    if (!hdr || !hwnd_ || hdr->hwndFrom != hwnd_)
        return false;
    // The tree view answers in Unicode; the ANSI codes carry the same fields used here.
    try {
        auto* nm = const_cast<NMHDR*>(hdr);
        switch (hdr->code) {
        case TVN_GETDISPINFOW:
        case TVN_GETDISPINFOA:
            OnGetDispInfo(*reinterpret_cast<NMTVDISPINFOW*>(nm));
            result = 0;
            return true;
        case TVN_ITEMEXPANDINGW:
        case TVN_ITEMEXPANDINGA:
            OnItemExpanding(*reinterpret_cast<const NMTREEVIEWW*>(hdr));
            result = FALSE; // allow
            return true;
        case TVN_ITEMEXPANDEDW:
        case TVN_ITEMEXPANDEDA:
            OnItemExpanded(*reinterpret_cast<const NMTREEVIEWW*>(hdr));
            result = 0;
            return true;
        case TVN_SELCHANGEDW:
        case TVN_SELCHANGEDA:
            if (!selecting_ && reinterpret_cast<const NMTREEVIEWW*>(hdr)->itemNew.hItem)
                RaiseSelectionChanged();
            result = 0;
            return true;
        default:
            return false;
        }
    } catch (...) {
        // Nothing may unwind through the window procedure that forwarded the notification.
        result = 0;
        return true;
    }
}

} // namespace tessary
