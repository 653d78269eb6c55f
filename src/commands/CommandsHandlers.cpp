// The main window's list events, context menu and file commands.
#include "core/SharedState.h"
#include "app/frmMain.h"
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
LRESULT CALLBACK ListMiddleButtonProc(HWND list, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR form) {
    if (msg == WM_MBUTTONUP) {
        POINT pt;
        GetCursorPos(&pt);
        reinterpret_cast<frmMain*>(form)->ListViewPics_MouseUp(4, pt);
        return 0;
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(list, ListMiddleButtonProc, 0);
    return DefSubclassProc(list, msg, wp, lp);
}

} // namespace

void frmMain::Commands_InitControls() {
    SetWindowSubclass(ListViewPics, ListMiddleButtonProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

std::wstring frmMain::ItemPath(int index) const {
    // The folder the list was loaded from, not the tree's: a folder clicked during a load is
    // listed only when that load has ended.
    return JoinPath(state.LastLoadedFolder, ListView(ListViewPics).Text(index));
}

int frmMain::CurrentItem() const {
    const ListView list(ListViewPics);
    int focused = list.FocusedItem();
    if (focused >= 0 && list.IsSelected(focused))
        return focused;
    return list.NextSelected();
}

bool frmMain::ListViewPics_Notify(const NMHDR* hdr, LRESULT& result) {
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

void frmMain::ListViewPics_ColumnClick(int column) {
    int sortBy = ColumnClickSortBy(column, commands.LastSortColumn, state.SortBy);
    SetCboSort(sortBy);
}

void frmMain::ListViewPics_KeyUp(int keyCode) {
    if (keyCode == VK_DELETE) {
        DeleteSelectedImages();
        return;
    }
    if (keyCode == VK_RETURN) {
        ViewImage(state.CurrentImagePath, 0, 0, true, true);
        return;
    }
    UpdateDirStatus();
    int current = CurrentItem();
    if (current < 0)
        return;
    state.CurrentImagePath = ItemPath(current);
    DrawPreview(state.CurrentImagePath);
}

void frmMain::ListViewPics_MouseUp(int button, POINT screen) {
    UpdateDirStatus();
    int current = CurrentItem();
    if (current < 0)
        return;
    state.CurrentImagePath = ItemPath(current);
    if (button == 1)
        DrawPreview(state.CurrentImagePath);
    else
        ShowFileMenu(screen, hwnd());
}

void frmMain::ListViewPics_DblClick() {
    ViewImage(state.CurrentImagePath, 0, 0, true, true);
}

void frmMain::ListViewPics_OLEStartDrag() {
    state.DragIsMove = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    std::vector<std::wstring> paths;
    const ListView list(ListViewPics);
    for (int i = list.NextSelected(); i >= 0; i = list.NextSelected(i))
        paths.push_back(ItemPath(i));
    if (paths.empty())
        return;
    ComPtr<IDataObject> data = MakeFileDataObject(paths);
    const DWORD allowed = state.DragIsMove ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    if (commands.StartDrag)
        commands.StartDrag(data.get(), allowed);
    else
        RunDrag(data.get(), allowed);
    // After a move the folder is read again whatever the target did.
    if (state.DragIsMove) {
        LoadFolder(FolderTreeview1.CurrentFolder(), true);
        state.DragIsMove = false;
    }
}

void frmMain::ShowFileMenu(POINT screen, HWND owner, std::initializer_list<FileMenuItem> hidden) {
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    for (int i = 0; i < kFileMenuItemCount; ++i) {
        if (std::find(hidden.begin(), hidden.end(), static_cast<FileMenuItem>(i)) != hidden.end())
            continue;
        if (!kFileMenu[i].caption)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(FileMenuId(static_cast<FileMenuItem>(i))),
                        kFileMenu[i].caption);
    }
    UINT id = Dialogs().ChooseFromMenu(menu, screen.x, screen.y, owner);
    DestroyMenu(menu);
    if (id)
        mFileRightClick_Command(static_cast<int>(id), owner);
}

void frmMain::mFileRightClick_Command(int id, HWND owner) {
    switch (id - kFirstFileMenuId) {
    case mPreview:
        DrawPreview(state.CurrentImagePath);
        break;
    case mViewImage:
        ViewImage(state.CurrentImagePath, 0, 0, true, true);
        break;
    case mSetAsWallpaper:
        cmdSetWP_Click();
        break;
    case mResizeSetWallpaper:
        cmdIconButton_Click(1);
        break;
    case mResizeProportionalSetWallpaper:
        cmdIconButton_Click(0);
        break;
    case mConvertImage:
        ConvertImage(state.CurrentImagePath, owner ? owner : hwnd());
        break;
    case mRenameImage:
        RenameCurrentImage();
        break;
    case mDeleteImage:
        DeleteSelectedImages();
        break;
    }
}

void frmMain::DeleteSelectedImages() {
    // As in Explorer: to the Recycle Bin, Shift for a permanent delete.
    const bool permanently = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const ListView list(ListViewPics);
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
    SetFocus(ListViewPics);
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
        SetFocus(ListViewPics);
    }
    LoadFolder(FolderTreeview1.CurrentFolder(), true);
}

void frmMain::RenameCurrentImage() {
    const PathParts parts = SplitAtLastBackslash(state.CurrentImagePath);
    if (parts.name.empty())
        return;
    auto answer = Dialogs().InputText(RenamePromptText(parts.name), kRenameTitle, parts.name);
    SetFocus(ListViewPics);
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
    if (!MoveFileExW(LongPathForm(state.CurrentImagePath).c_str(), LongPathForm(target).c_str(), 0))
        Dialogs().ShowMessage(RenameFailedText(parts.name, *answer, SystemErrorText(GetLastError())),
                              MB_OK | MB_ICONEXCLAMATION, AppTitle());
    LoadFolder(FolderTreeview1.CurrentFolder(), true);
}

} // namespace tessary
