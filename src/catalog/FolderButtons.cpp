// The folder buttons of the "Picture Folder" frame: the user's picture folder, and deleting or
// rebuilding the thumbnail cache of the folder shown.
#include "catalog/CatalogView.h"
#include "catalog/CatalogText.h"
#include "catalog/ThumbnailCache.h"
#include "platform/Dialogs.h"
#include "platform/KeyPath.h"
#include "platform/Registry.h"

namespace tessary {
namespace {
constexpr wchar_t kShellFoldersKey[] =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr wchar_t kMyPicturesValue[] = L"My Pictures";
constexpr UINT kOkCancelInformation = MB_OKCANCEL | MB_ICONINFORMATION; // 65
} // namespace

std::wstring DeleteCacheConfirmText(const std::wstring& folderName) {
    return L"Press OK to delete all cached images in '" + folderName + L"'";
}

void CatalogView::cmdDirBrowserFolder_Click(int index) {
    switch (index) {
    case 0: {
        // The tree's selection event loads the folder.
        std::wstring folder = ReadRegString(kShellFoldersKey, kMyPicturesValue);
        if (!folder.empty() && folder != kRegNotAvailable && !c_.tree->SelectFolder(folder))
            c_.status->SetPanelText(1, FolderNotShownStatus(folder));
        break;
    }
    case 1: {
        const std::wstring folder = CurrentFolder();
        if (Dialogs().ShowMessage(DeleteCacheConfirmText(LastPathComponent(folder)), kOkCancelInformation,
                                  L"Verify Image Cache Deletion") == IDOK) {
            DeleteFolderCache(folder);
            UpdateCacheStatus();
        }
        break;
    }
    case 2:
        ClearFolderCache(CurrentFolder());
        ReloadFolder();
        break;
    }
}

} // namespace tessary
