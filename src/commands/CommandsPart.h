// Working state of the main window's list commands: the column-sort state and the context menu.
#pragma once
#include <windows.h>
#include <oleidl.h>
#include <functional>

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
constexpr UINT FileMenuId(FileMenuItem item) {
    return static_cast<UINT>(kFirstFileMenuId + static_cast<int>(item));
}

struct CommandsPart {
    // The column header clicked last (1..4; 0 before the first click) and the list's direction.
    int LastSortColumn = 0;
    // Runs a drag of the offered data with the allowed effect (the OLE drag loop unless replaced,
    // as tests do to see what is offered).
    std::function<DWORD(IDataObject*, DWORD)> StartDrag;
};

} // namespace tessary
