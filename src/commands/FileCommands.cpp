// The list's events, context menu and file commands.
#include "commands/FileCommands.h"
#include "core/PathText.h"
#include "commands/CommandRules.h"
#include "commands/DragSource.h"
#include "imaging/FileNames.h"
#include "platform/Dialogs.h"
#include "platform/ListView.h"
#include <commctrl.h>
#include <algorithm>
#include <shellapi.h>
#include <string>
#include <vector>

namespace tessary {
namespace {
struct MenuEntry {
    const wchar_t* caption; // nullptr: separator
};
const MenuEntry kFileMenu[kFileMenuItemCount] = {
    {L"&Preview"},
    {L"&View Image"},
    {nullptr},
    {L"&Set as wallpaper"},
    {L"R&esize to fit screen and set as wallpaper"},
    {L"Res&ize proportionally and set as wallpaper"},
    {nullptr},
    {L"&Convert Image"},
    {L"&Rename Image"},
    {L"&Delete Image(s)"},
};

// Only local fixed disks have a Recycle Bin; network and removable drives delete at once.
bool CanRecycle(const std::wstring& path) {
    std::wstring root = path.substr(0, path.find(L'\\') == 0 ? 0 : 3);
    return root.size() == 3 && root[1] == L':' && GetDriveTypeW(root.c_str()) == DRIVE_FIXED;
}

bool MoveToRecycleBin(const std::wstring& path) {
    std::wstring from = path;
    from.push_back(L'\0'); // the list ends with two NULs
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted &&
           GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

// The list reports no middle click of its own; its menu opens for any button but the left.
LRESULT CALLBACK ListMiddleButtonProc(HWND list, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR commands) {
    if (msg == WM_MBUTTONUP) {
        POINT pt;
        GetCursorPos(&pt);
        reinterpret_cast<FileCommands*>(commands)->ListViewPics_MouseUp(4, pt);
        return 0;
    }
    // The menu key or Shift+F10 (a right click is answered through NM_RCLICK).
    if (msg == WM_CONTEXTMENU && lp == -1) {
        reinterpret_cast<FileCommands*>(commands)->ListViewPics_MenuKey();
        return 0;
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(list, ListMiddleButtonProc, 0);
    return DefSubclassProc(list, msg, wp, lp);
}

} // namespace

void FileCommands::Attach(HWND list) {
    list_ = list;
    SetWindowSubclass(list_, ListMiddleButtonProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

std::wstring FileCommands::ItemPath(int index) const {
    // The folder the list was loaded from, not the tree's: a folder clicked during a load is
    // listed only when that load has ended.
    return JoinPath(state_.load.LastLoadedFolder, ListView(list_).Text(index));
}

int FileCommands::CurrentItem() const {
    const ListView list(list_);
    int focused = list.FocusedItem();
    if (focused >= 0 && list.IsSelected(focused))
        return focused;
    return list.NextSelected();
}

bool FileCommands::ListViewPics_Notify(const NMHDR* hdr, LRESULT& result) {
    switch (hdr->code) {
    case LVN_COLUMNCLICK:
        ListViewPics_ColumnClick(reinterpret_cast<const NMLISTVIEW*>(hdr)->iSubItem + 1);
        return true;
    case NM_CLICK:
    case NM_RCLICK: {
        POINT pt;
        GetCursorPos(&pt);
        ListViewPics_MouseUp(hdr->code == NM_CLICK ? 1 : 2, pt);
        result = hdr->code == NM_RCLICK ? 1 : 0; // the menu is ours
        return true;
    }
    case NM_DBLCLK:
        ListViewPics_DblClick();
        return true;
    case LVN_BEGINDRAG:
        ListViewPics_OLEStartDrag();
        return true;
    }
    return false;
}

void FileCommands::ListViewPics_ColumnClick(int column) {
    host_.SelectSort(ColumnClickSortBy(column, lastSortColumn_, state_.settings.SortBy));
}

void FileCommands::ListViewPics_KeyUp(int keyCode) {
    if (keyCode == VK_DELETE) {
        DeleteSelectedImages();
        return;
    }
    if (keyCode == VK_RETURN) {
        host_.ViewImage(state_.CurrentImagePath);
        return;
    }
    if (keyCode == VK_F2) { // as in Explorer
        RenameImage(state_.CurrentImagePath);
        return;
    }
    host_.UpdateDirStatus();
    int current = CurrentItem();
    if (current < 0)
        return;
    state_.CurrentImagePath = ItemPath(current);
    host_.DrawPreview(state_.CurrentImagePath);
}

void FileCommands::ListViewPics_MouseUp(int button, POINT screen) {
    host_.UpdateDirStatus();
    int current = CurrentItem();
    if (current < 0)
        return;
    state_.CurrentImagePath = ItemPath(current);
    if (button == 1)
        host_.DrawPreview(state_.CurrentImagePath);
    else
        ShowFileMenu(screen, host_.MainWindow(), state_.CurrentImagePath);
}

void FileCommands::ListViewPics_MenuKey() {
    const ListView list(list_);
    const int current = CurrentItem();
    if (current < 0)
        return;
    // Over the middle of the item, as Explorer puts it.
    const RECT r = list.ItemRect(current);
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list_, &at);
    ListViewPics_MouseUp(2, at);
}

void FileCommands::ListViewPics_DblClick() {
    host_.ViewImage(state_.CurrentImagePath);
}

void FileCommands::ListViewPics_OLEStartDrag() {
    dragIsMove_ = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    std::vector<std::wstring> paths;
    const ListView list(list_);
    for (int i = list.NextSelected(); i >= 0; i = list.NextSelected(i))
        paths.push_back(ItemPath(i));
    if (paths.empty())
        return;
    ComPtr<IDataObject> data = MakeFileDataObject(paths);
    const DWORD allowed = dragIsMove_ ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    if (StartDrag)
        StartDrag(data.get(), allowed);
    else
        RunDrag(data.get(), allowed);
    // After a move the folder is read again whatever the target did.
    if (dragIsMove_) {
        host_.ReloadFolder();
        dragIsMove_ = false;
    }
}

void FileCommands::ShowFileMenu(POINT screen, HWND owner, const std::wstring& imagePath,
                                std::initializer_list<FileMenuItem> hidden) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return;
    for (int i = 0; i < kFileMenuItemCount; ++i) {
        if (std::find(hidden.begin(), hidden.end(), static_cast<FileMenuItem>(i)) != hidden.end())
            continue;
        if (!kFileMenu[i].caption)
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu.get(), MF_STRING,
                        static_cast<UINT_PTR>(FileMenuId(static_cast<FileMenuItem>(i))),
                        kFileMenu[i].caption);
    }
    const UINT id = Dialogs().ChooseFromMenu(menu.get(), screen.x, screen.y, owner);
    menu.reset();
    if (id)
        mFileRightClick_Command(static_cast<int>(id), imagePath, owner);
}

void FileCommands::mFileRightClick_Command(int id, const std::wstring& imagePath, HWND owner) {
    switch (id - kFirstFileMenuId) {
    case mPreview:
        host_.DrawPreview(imagePath);
        break;
    case mViewImage:
        host_.ViewImage(imagePath);
        break;
    case mSetAsWallpaper:
        host_.ApplyWallpaper(imagePath);
        break;
    case mResizeSetWallpaper:
        host_.ResampleAndApply(imagePath, false);
        break;
    case mResizeProportionalSetWallpaper:
        host_.ResampleAndApply(imagePath, true);
        break;
    case mConvertImage:
        host_.ConvertImage(imagePath, owner ? owner : host_.MainWindow());
        break;
    case mRenameImage:
        RenameImage(imagePath);
        break;
    case mDeleteImage:
        DeleteSelectedImages();
        break;
    }
}

void FileCommands::DeleteSelectedImages() {
    // As in Explorer: to the Recycle Bin, Shift for a permanent delete.
    const bool permanently = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const ListView list(list_);
    const int count = list.Count();
    std::vector<std::wstring> paths, notRecyclable;
    for (int i = 0; i < count; ++i)
        if (list.IsSelected(i))
            paths.push_back(ItemPath(i));
    if (paths.empty())
        return;
    if (!permanently)
        for (const std::wstring& path : paths)
            if (!CanRecycle(path))
                notRecyclable.push_back(path);
    const int answer =
        Dialogs().ShowMessage(DeleteConfirmText(static_cast<int>(paths.size()), permanently, notRecyclable),
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1, kDeleteConfirmTitle);
    SetFocus(list_);
    if (answer != IDYES)
        return;
    // Every file is tried; the ones that fail are named afterwards, with the reason.
    std::wstring failures;
    for (const std::wstring& path : paths) {
        const bool recycle = !permanently && CanRecycle(path);
        if (recycle ? !MoveToRecycleBin(path) : !DeleteFileW(LongPathForm(path).c_str()))
            failures += DeleteFailedText(path, recycle ? L"the Recycle Bin refused it"
                                                       : SystemErrorText(GetLastError())) +
                        L"\n";
    }
    if (!failures.empty()) {
        Dialogs().ShowMessage(failures, MB_OK | MB_ICONEXCLAMATION, AppTitle());
        SetFocus(list_);
    }
    host_.ReloadFolder();
}

void FileCommands::RenameImage(const std::wstring& imagePath) {
    const PathParts parts = SplitAtLastBackslash(imagePath);
    if (parts.name.empty())
        return;
    auto answer = Dialogs().InputText(RenamePromptText(parts.name), kRenameTitle, parts.name);
    SetFocus(list_);
    if (!answer || answer->empty())
        return;
    if (auto reason = InvalidNewNameReason(*answer)) {
        Dialogs().ShowMessage(RenameRefusedText(*answer, *reason), MB_OK | MB_ICONEXCLAMATION, AppTitle());
        return;
    }
    const std::wstring target = parts.folder + L"\\" + *answer;
    // Another file of that name is never replaced; a change of letter case only is a rename.
    bool sameFile = CompareStringOrdinal(answer->c_str(), -1, parts.name.c_str(), -1, TRUE) == CSTR_EQUAL;
    if (!sameFile && GetFileAttributesW(LongPathForm(target).c_str()) != INVALID_FILE_ATTRIBUTES) {
        Dialogs().ShowMessage(RenameTakenText(*answer), MB_OK | MB_ICONEXCLAMATION, AppTitle());
        return;
    }
    if (!MoveFileExW(LongPathForm(imagePath).c_str(), LongPathForm(target).c_str(), 0)) {
        Dialogs().ShowMessage(RenameFailedText(parts.name, *answer, SystemErrorText(GetLastError())),
                              MB_OK | MB_ICONEXCLAMATION, AppTitle());
        host_.ReloadFolder();
        return;
    }
    // The picture in hand goes on under its new name, selected where it was.
    if (state_.CurrentImagePath == imagePath)
        state_.CurrentImagePath = target;
    host_.ReloadFolderSelecting(*answer);
}

} // namespace tessary
