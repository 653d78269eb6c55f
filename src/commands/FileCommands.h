// The thumbnail list's events and the commands on its files: which image is current, the
// column-click sort, Delete and Enter, the context menu, dragging files out, deleting and
// renaming. The window hands over the list and answers the few requests below.
#pragma once
#include "core/SharedState.h"
#include <windows.h>
#include <oleidl.h>
#include <functional>
#include <initializer_list>
#include <string>

namespace tessary {

// The items of the list's context menu, in order.
enum FileMenuItem : int {
    mPreview,
    mViewImage,
    msep1,
    mSetAsWallpaper,
    mResizeSetWallpaper,
    mResizeProportionalSetWallpaper,
    msep2,
    mConvertImage,
    mRenameImage,
    mDeleteImage,
    kFileMenuItemCount
};

// The command id of a menu item.
constexpr int kFirstFileMenuId = 400;
constexpr int kLastFileMenuId = kFirstFileMenuId + kFileMenuItemCount - 1;
constexpr UINT FileMenuId(FileMenuItem item) {
    return static_cast<UINT>(kFirstFileMenuId + static_cast<int>(item));
}

// What the list commands may ask of the window that holds them.
class FileCommandsHost {
public:
    // The window that owns what a command opens when no other is named.
    virtual HWND MainWindow() const = 0;
    // The folder shown, read again.
    virtual void ReloadFolder() = 0;
    // The same, with the entry of that name selected and focused in place of the selection.
    virtual void ReloadFolderSelecting(const std::wstring& name) = 0;
    virtual void UpdateDirStatus() = 0;
    // Selects a sort order as choosing it in the sort list does.
    virtual void SelectSort(int sortBy) = 0;
    virtual void DrawPreview(const std::wstring& imagePath) = 0;
    virtual void ViewImage(const std::wstring& imagePath) = 0;
    virtual void ApplyWallpaper(const std::wstring& imagePath) = 0;
    virtual void ResampleAndApply(const std::wstring& imagePath, bool proportional) = 0;
    // The conversion dialog on the image, owned by owner.
    virtual void ConvertImage(const std::wstring& imagePath, HWND owner) = 0;

protected:
    ~FileCommandsHost() = default;
};

class FileCommands {
public:
    FileCommands(SharedState& state, FileCommandsHost& host) : state_(state), host_(host) {}
    FileCommands(const FileCommands&) = delete;
    FileCommands& operator=(const FileCommands&) = delete;

    // Takes the list once it exists; its middle button and the menu key open the menu too.
    void Attach(HWND list);

    // Handles the list's notifications; returns true when handled.
    bool ListViewPics_Notify(const NMHDR* hdr, LRESULT& result);
    void ListViewPics_ColumnClick(int column);
    void ListViewPics_KeyUp(int keyCode);
    // button: 1 left, 2 right, 4 middle; screen position of the mouse.
    void ListViewPics_MouseUp(int button, POINT screen);
    // The context menu from the keyboard, at the current item.
    void ListViewPics_MenuKey();
    void ListViewPics_DblClick();
    void ListViewPics_OLEStartDrag();
    // The context menu for imagePath at a screen position without the hidden items, and the chosen
    // item's command.
    void ShowFileMenu(POINT screen, HWND owner, const std::wstring& imagePath,
                      std::initializer_list<FileMenuItem> hidden = {});
    // The command of a menu item on imagePath; owner: the window the menu was shown over, which
    // owns what the command opens.
    void mFileRightClick_Command(int id, const std::wstring& imagePath, HWND owner = nullptr);
    void DeleteSelectedImages();
    // Asks for a new name of the image and renames it in its folder.
    void RenameImage(const std::wstring& imagePath);
    // The full path of list entry `index`, and the current entry (-1 when there is none).
    std::wstring ItemPath(int index) const;
    int CurrentItem() const;

    // Runs a drag of the offered data with the allowed effect (the OLE drag loop unless replaced,
    // as tests do to see what is offered).
    std::function<DWORD(IDataObject*, DWORD)> StartDrag;

private:
    SharedState& state_;
    FileCommandsHost& host_;
    HWND list_ = nullptr;
    // The column header clicked last (1..4; 0 before the first click).
    int lastSortColumn_ = 0;
    // The running drag of list entries is a move.
    bool dragIsMove_ = false;
};

} // namespace tessary
