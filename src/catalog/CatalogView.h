// The image catalog of the main window: the folder's pictures as list entries with thumbnail
// cells, their sorting and list modes, the thumbnail size, the cache box, the folder buttons, the
// folder followed for changes and the status panels it keeps. The window creates the controls and
// hands them over; the catalog owns the decoder and drawing surfaces it reuses from file to file.
#pragma once
#include "catalog/FolderTree.h"
#include "catalog/FolderWatch.h"
#include "catalog/ReducedImage.h"
#include "catalog/SortKeys.h"
#include "catalog/ThumbnailCell.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "imaging/Scaler.h"
#include "platform/Buttons.h"
#include "platform/Controls.h"
#include "platform/Handles.h"
#include "platform/Surface.h"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessary {

struct FolderCache;
struct PreparedFile;
class CacheSectionBatch;

// What one folder load did and where its time went (seconds).
struct LoadStats {
    int files = 0;     // image files considered
    int loaded = 0;    // list entries made
    int cacheHits = 0; // thumbnails taken from the cache
    int addedToCache = 0;
    double total = 0;
    DecodeTimes decoding; // decoding (images and cached thumbnails) and reducing to the source
    double cell = 0;      // fitting into the cell, drawing it, handing it to the image list
    double cacheRead = 0; // hit tests and the cache file's keys
    double cacheWrite = 0;
    double list = 0;        // list entries and their texts
    double status = 0;      // the progress text
    double checkpoints = 0; // letting pending messages run, the list drawn there
    double finish = 0;      // summary, sorting, the other status panels, the final drawing
};

// What the catalog may ask of the window that holds it.
class CatalogHost {
public:
    // The window a load checks is still there, and closes when it was closed during the load.
    virtual HWND MainWindow() const = 0;
    // The DPI the captions are drawn at.
    virtual UINT Dpi() const = 0;
    // What transparent parts of a picture are put on (an opaque pixel word).
    virtual std::uint32_t PictureBackground() const = 0;

protected:
    ~CatalogHost() = default;
};

// The controls the catalog works with; the window keeps them alive.
struct CatalogControls {
    HWND list = nullptr;        // ListViewPics
    HWND sizeLabel = nullptr;   // Label1
    HWND slider = nullptr;      // sliderThumbSize
    HWND sortCombo = nullptr;   // cboSort
    HWND useCache = nullptr;    // chkUseCache
    HWND listMode[2] = {};      // optListMode: images, list
    FolderTree* tree = nullptr; // FolderTreeview1
    StatusBar* status = nullptr;
    int nameColumnWidth = 0; // the designed width of the Filename column at 96 DPI
};

class CatalogView {
public:
    CatalogView(SharedState& state, CatalogHost& host) : state_(state), host_(host) {}
    CatalogView(const CatalogView&) = delete;
    CatalogView& operator=(const CatalogView&) = delete;

    // Takes the controls once they exist, before start-up: the list fonts.
    void Attach(const CatalogControls& controls);

    void LoadFolder(const std::wstring& folderPath, bool force);
    // The folder shown in the tree, read again.
    void ReloadFolder() { LoadFolder(CurrentFolder(), true); }
    std::wstring CurrentFolder() const { return c_.tree->CurrentFolder(); }
    void UpdateDirStatus();
    void UpdateCacheStatus();
    void ApplySort();
    // The Filename column as wide as the longest name, never narrower than designed.
    void FitNameColumn();

    void optListMode_Click(int index);
    void cboSort_Click();
    void sliderThumbSize_Change();
    void chkUseCache_Click();
    void FolderTreeview1_SelectionChanged();
    // "&My Pictures" (0), "D&elete Cache" (1), "&Recache" (2).
    void cmdDirBrowserFolder_Click(int index);
    // A few times a second: reloads the shown folder once its changes have settled, keeping the
    // selection and the scroll position.
    void FolderWatch_Timer();
    // select: an entry to select and focus instead of the selection there was.
    void ReloadKeepingView(const std::optional<std::wstring>& select = std::nullopt);

    // Setters that change a control from code and run its handler, as a user's action would.
    void SetOptListMode(int index) { listMode_.Set(index); }
    void SetChkUseCache(int value) { useCache_.Set(value); }
    void SetCboSort(int index);
    void SetSliderThumbSize(int value);
    // The clicks the window routes here.
    void ClickOptListMode(int index) { listMode_.Click(index); }
    void ClickChkUseCache() { useCache_.Click(); }

    // Whether the list shows thumbnails (the "Images" mode) rather than details.
    bool ImagesMode() const { return listMode_.IsChecked(0); }
    // The figures of the last load and the image files it listed.
    const LoadStats& LastLoad() const { return lastLoad_; }
    const std::vector<std::wstring>& FileList() const { return fileList_; }
    // Worker threads of a folder load: -1 one per core beyond the first (at least one), 0 none
    // (everything on this thread).
    void SetLoadWorkers(int workers) { loadWorkers_ = workers; }

private:
    // One folder load, as LoadFolder describes it, without what follows it.
    void LoadFolderOnce(const std::wstring& folderPath, bool force);
    void PrepareSurfaces(int thumbHeight, int fileCount);
    bool AddCellToImageList();
    void LoadOneFile(PreparedFile& file, const FolderCache& cache, CacheSectionBatch& batch, int thumbHeight,
                     const NumberFormat& fmt);

    SharedState& state_;
    CatalogHost& host_;
    CatalogControls c_;
    RadioGroup listMode_;
    CheckBox useCache_;

    // The cell drawn for the image list, and the image list itself.
    Surface picThumb_;
    UniqueImageList imageList_;
    ImageReducer reducer_; // decodes on this thread: every file without workers, quick ones beside them
    int loadWorkers_ = -1;
    ScaleScratch fitScratch_;
    Surface buffer_;                     // the fitted picture, ThumbSize x ThumbHeight
    int captionHeight_ = kCaptionHeight; // the caption band of this load's cells
    // The finished cell handed to the image list: a bitmap selected into no DC, as the image list
    // needs, holding a copy of picThumb's pixels.
    UniqueBitmap cellCopy_;
    std::uint32_t* cellCopyBits_ = nullptr;
    CaptionFont captionFont_;
    UniqueFont iconModeFont_, reportModeFont_;
    // Sort values of the list entries, indexed by each entry's value (its position in load order).
    std::vector<SortValues> entries_;
    LoadStats lastLoad_;
    // The image files of the folder loaded last.
    std::vector<std::wstring> fileList_;
    // A thumbnail size chosen while a load ran, applied when it ends (0: none).
    int pendingThumbSize_ = 0;
    // The folder shown, watched so the list follows files added, removed and renamed there.
    FolderWatch watch_;
};

} // namespace tessary
