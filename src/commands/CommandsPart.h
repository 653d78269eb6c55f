// Working state of the main window's list commands: the column-sort state and the context menu.
#pragma once
#include <windows.h>

namespace tessary {

// The items of the list's context menu, in order (their command ids are IDM_FIRST_MENU_ITEM + index).
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

struct CommandsPart {
    // The column header clicked last (1..4; 0 before the first click) and the list's direction.
    int LastSortColumn = 0;
    bool SortDescending = false;
    // Items left out of the menu while the viewer borrows it.
    bool Hidden[kFileMenuItemCount] = {};
    // "&Convert Image" starts switched off and nothing switches it on.
    bool ConvertEnabled = false;
};

} // namespace tessary
