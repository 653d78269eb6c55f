// LoadFolder: a folder's image files become list entries with thumbnail cells, from the cache
// where it holds them, decoded and reduced otherwise; plus the directory and cache status panels.
#include "catalog/CatalogView.h"
#include "catalog/CatalogText.h"
#include "catalog/ThumbnailCache.h"
#include "platform/AppInfo.h"
#include "platform/DpiLayout.h"
#include "catalog/ThumbnailWorkers.h"
#include "platform/ListView.h"
#include "platform/Locale.h"
#include "platform/MessagePump.h"
#include <algorithm>
#include <cstring>
#include <utility>
#include <exception>
#include <memory>
#include <optional>

namespace tessary {

namespace {

constexpr int kDecodedCheckpoint = 30;
constexpr int kCachedCheckpoint = 80;
constexpr double kStatusPaintInterval = 0.04; // seconds
// Besides the checkpoints, pending messages run at least this often (seconds): a third of the
// 100 ms within which a click or a key is answered during a load, the rest left for the file in
// hand and for a busy machine.
constexpr double kPumpInterval = 0.03;
// Showing the list repaints all of it, which takes longer than the rest of a pump: it is shown at
// the checkpoints and otherwise at most this often (seconds), so a slow folder still fills in.
constexpr double kListShowInterval = 1.0;
// How many files each worker may prepare beyond the one the list takes next.
constexpr int kFilesAhead = 3;

class ListRedrawOff {
public:
    explicit ListRedrawOff(ListView& list) : list_(list) { list_.SetRedraw(false); }
    ~ListRedrawOff() { list_.SetRedraw(true); }
    ListRedrawOff(const ListRedrawOff&) = delete;
    ListRedrawOff& operator=(const ListRedrawOff&) = delete;

private:
    ListView& list_;
};

void EnumerateFolderFiles(const std::wstring& folder, std::vector<std::wstring>& fileList) {
    const std::wstring prefix = AddTrailingBackslash(folder);
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((prefix + L"*.*").c_str(), &fd));
    if (!find)
        return;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            fileList.push_back(prefix + fd.cFileName);
    } while (FindNextFileW(find.get(), &fd));
}

void RefreshNow(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
}

} // namespace

// The per-load drawing surfaces: the fitted-picture buffer, the cell and the cell's copy for the
// image list, and the image list itself (its pictures take the cell size). The image list is made
// with room for every file: grown a few pictures at a time it would copy all it holds each time.
void CatalogView::PrepareSurfaces(int thumbHeight, int fileCount) {
    const int thumbSize = state_.settings.ThumbSize;
    // The caption's font follows the window's DPI, and so does its band (for the whole load).
    captionHeight_ = ScaleToDpi(kCaptionHeight, host_.Dpi());
    const IntSize cell = CellSize(thumbSize, thumbHeight, captionHeight_);
    picThumb_.Create(cell.width, cell.height);
    buffer_.Create(thumbSize, thumbHeight);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = cell.width;
    bi.bmiHeader.biHeight = -cell.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    cellCopy_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    cellCopyBits_ = cellCopy_ ? static_cast<std::uint32_t*>(bits) : nullptr;
    imageList_.reset(ImageList_Create(cell.width, cell.height, ILC_COLOR24, std::max(fileCount, 1), 64));
}

bool CatalogView::AddCellToImageList() {
    if (picThumb_.empty() || !cellCopyBits_)
        return false;
    GdiFlush(); // the cell's drawing must have reached its pixels
    std::memcpy(cellCopyBits_, picThumb_.bits(),
                static_cast<std::size_t>(picThumb_.width()) * picThumb_.height() * 4);
    return ImageList_Add(imageList_.get(), cellCopy_.get(), nullptr) >= 0;
}

// One file of the folder, prepared (on a worker or just now): its list entry, or nothing when
// its picture cannot be fitted. New thumbnails are written to the cache, their sections to the
// batch.
void CatalogView::LoadOneFile(PreparedFile& file, const FolderCache& cache, CacheSectionBatch& batch,
                              int thumbHeight, const NumberFormat& fmt) {
    LoadStats& stats = lastLoad_;
    const Settings& settings = state_.settings;
    const ScreenMeasures& screen = state_.screen;
    if (file.gone || file.failed)
        return;
    ++stats.files;
    stats.decoding.decode += file.times.decode;
    stats.decoding.reduce += file.times.reduce;
    stats.cacheRead += file.cacheRead;
    const std::wstring& fileName = file.fileName;
    const std::optional<FileInfo>& info = file.info;
    const bool fromCache = file.fromCache;
    const int imageWidth = file.imageWidth, imageHeight = file.imageHeight;
    const ConstPixelView source = file.Source();
    if (fromCache)
        ++stats.cacheHits;
    const std::wstring resolution = ResolutionText(imageWidth, imageHeight);

    if (ShouldWriteToCache(fromCache, settings.CacheDirectories, file.divisor) && source.pixels && info) {
        ScopedTimer t(stats.cacheWrite);
        // Encoded on the worker when the cache was on from the start of the load.
        if (file.jpeg.empty())
            EncodeThumbnail(source, file.jpeg);
        if (WriteCacheThumbnail(cache, fileName, file.jpeg)) {
            // Counted once its section reaches the cache file.
            batch.Add(fileName, imageWidth, imageHeight, info->Stamp());
        }
    }

    const int imageIndex = stats.loaded;
    {
        ScopedTimer t(stats.cell);
        const auto fitted =
            FitSourceIntoBuffer(source, settings.ThumbSize, thumbHeight, buffer_, fitScratch_);
        if (!fitted)
            return; // no entry for a picture that cannot be fitted
        DrawThumbnailCell(picThumb_, buffer_, settings.ThumbSize, thumbHeight, *fitted, imageWidth,
                          imageHeight, resolution, screen.ScreenWidthPx, screen.ScreenHeightPx, captionFont_,
                          captionHeight_);
        AddCellToImageList();
    }
    ++stats.loaded;

    ScopedTimer t(stats.list);
    ListView list(c_.list);
    if (!list.GetImageList())
        list.SetImageList(imageList_.get());
    const auto value = static_cast<LPARAM>(entries_.size());
    SortValues values;
    values.name = fileName;
    values.width = imageWidth;
    values.height = imageHeight;
    if (info) {
        values.size = info->size;
        values.writeTime = static_cast<std::int64_t>(info->Stamp().writeTime);
    }
    entries_.push_back(std::move(values));
    const int item = list.Add(fileName, imageIndex, value);
    if (item < 0)
        return;
    if (info) {
        list.SetText(item, 1, SizeColumnText(info->size, fmt));
        list.SetText(item, 2, FileDateText(info->lastWrite));
    }
    list.SetText(item, 3, ResolutionColumnText(imageWidth, imageHeight));
}

void CatalogView::LoadFolder(const std::wstring& folderPath, bool force) {
    LoadState& load = state_.load;
    if (load.LoadBusy)
        return;
    LoadFolderOnce(folderPath, force);
    // What the user asked for while the load ran was refused at its checkpoints; carry it out
    // now, so that the tree, the slider and the list agree. Each round needs a new user action.
    while (!load.CloseAfterLoad) {
        if (pendingThumbSize_ > 0) {
            state_.settings.ThumbSize = std::exchange(pendingThumbSize_, 0);
            LoadFolderOnce(CurrentFolder(), true);
        } else if (CurrentFolder() != load.LastLoadedFolder && !CurrentFolder().empty()) {
            LoadFolderOnce(CurrentFolder(), false);
        } else {
            break;
        }
    }
    if (load.CloseAfterLoad)
        PostMessageW(host_.MainWindow(), WM_CLOSE, 0, 0);
}

void CatalogView::LoadFolderOnce(const std::wstring& folderPath, bool force) {
    LoadState& load = state_.load;
    const Settings& settings = state_.settings;
    // 1.-2. One load at a time; the folder already shown only when forced.
    if (load.LoadBusy)
        return;
    if (folderPath == load.LastLoadedFolder && !force)
        return;
    load.LastLoadedFolder = folderPath;
    load.LoadBusy = true;
    struct EndOfLoad {
        bool& busy;
        ~EndOfLoad() {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            busy = false;
        }
    } endOfLoad{load.LoadBusy};

    // 3. Hourglass (the window keeps it while LoadBusy holds), fresh counters.
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    LoadStats& stats = lastLoad_;
    stats = LoadStats{};
    const double start = Seconds();
    const NumberFormat fmt = UserNumberFormat();
    ListView list(c_.list);
    try {
        // 4. Where this folder's cache is; the first status text.
        const std::wstring folderName = LastPathComponent(folderPath);
        AdoptLegacyCache(folderPath);
        const FolderCache cache = FolderCacheFor(folderPath);
        c_.status->SetPanelText(1, LoadingFolderStatus(folderName));
        RefreshNow(c_.status->hwnd());
        // 5. The text stays readable on the list's background.
        list.SetTextColour(static_cast<COLORREF>(ChooseListTextColour(list.BackColour())));
        // 6. An empty list and image list.
        fileList_.clear();
        list.SetImageList(nullptr);
        list.Clear();
        entries_.clear();
        list.Refresh();
        imageList_.reset();
        // 7. The folder's files, then only the image types. How the folder looks is noted before
        // it is listed, so what changes during the load is taken in once the load is over.
        watch_.Prepare(folderPath);
        EnumerateFolderFiles(folderPath, fileList_);
        std::erase_if(fileList_, [](const std::wstring& path) { return !HasImageExtension(path); });
        // 8. Cell size and the surfaces of this load.
        const int thumbHeight =
            ThumbHeight(settings.ThumbSize, state_.screen.ScreenWidthPx, state_.screen.ScreenHeightPx);
        PrepareSurfaces(thumbHeight, static_cast<int>(fileList_.size()));
        reducer_.SetBackground(host_.PictureBackground());
        // 9. Every file, until Escape is seen at a checkpoint.
        const std::vector<std::wstring> files = fileList_;
        PrepareSettings prepare;
        prepare.cache = cache;
        {
            ScopedTimer t(stats.cacheRead);
            prepare.cacheFile = std::make_shared<const CacheFileContents>(CacheFileContents::Read(cache));
        }
        prepare.encodeThumbnails = settings.CacheDirectories;
        const int count = static_cast<int>(files.size());
        // Decoding runs ahead on workers; this thread takes the files in order and does the rest,
        // exactly as it does without them.
        const int workerCount = loadWorkers_ < 0 ? DefaultWorkerCount() : loadWorkers_;
        std::optional<ThumbnailWorkers> workers;
        if (workerCount > 0 && count > 1)
            workers.emplace(files, prepare, workerCount, kFilesAhead * workerCount);
        CacheSectionBatch batch(cache);
        // Between checkpoints nothing else runs, so nothing could repaint the list anyway; laying
        // it out and invalidating it entry by entry would cost more than decoding a cached file.
        ListRedrawOff redrawOff(list);
        double lastPainted = 0;
        // The time since the load began counts towards the first interval.
        double lastPumped = start, listShown = start;
        std::wstring progress;
        bool progressShown = false;
        // Lets pending messages run, with the progress text shown as it is, and the list at a
        // checkpoint or when it has not been shown for a while.
        auto letMessagesRun = [&](bool checkpoint) {
            ScopedTimer t(stats.checkpoints);
            lastPumped = Seconds();
            if (!progressShown)
                c_.status->SetPanelText(1, progress);
            progressShown = true;
            const bool showList = checkpoint || lastPumped - listShown >= kListShowInterval;
            if (showList)
                list.SetRedraw(true);
            DoEvents();
            if (showList) {
                list.SetRedraw(false);
                listShown = Seconds();
            }
        };
        // The load ends at the next file when Escape is held, the window was closed or another
        // folder was chosen meanwhile (that one is loaded next).
        const std::wstring treeFolder = CurrentFolder();
        auto stopped = [&] {
            return load.EscapePressed || load.CloseAfterLoad || !IsWindow(host_.MainWindow()) ||
                   CurrentFolder() != treeFolder;
        };
        for (int i = 1; i <= count; ++i) {
            if (stopped())
                break;
            const std::wstring& path = files[static_cast<std::size_t>(i - 1)];
            {
                // Between checkpoints only the progress text's own painting could show it, so it
                // is handed to the status bar when painted (a few times a second) and before
                // each checkpoint: a load from the cache would otherwise spend a third of its
                // time on the status bar.
                ScopedTimer t(stats.status);
                progress = LoadProgressStatus(i, count, stats.loaded, LastPathComponent(path));
                progressShown = false;
                if (Seconds() - lastPainted >= kStatusPaintInterval) {
                    c_.status->SetPanelText(1, progress);
                    progressShown = true;
                    RefreshNow(c_.status->hwnd());
                    lastPainted = Seconds();
                }
            }
            PreparedFile file;
            if (workers) {
                // Waiting for a worker, this thread prepares a quick file of its own where there
                // is one, and the window answers as messages arrive and at least every
                // kPumpInterval.
                bool taken = false;
                while (!(taken = workers->TryTake(i - 1, file)) && !stopped()) {
                    if (workers->PrepareNextHere(reducer_)) {
                        if (Seconds() - lastPumped >= kPumpInterval)
                            letMessagesRun(false);
                        continue;
                    }
                    const double since = Seconds() - lastPumped;
                    const auto wait = static_cast<DWORD>(std::max(0.0, kPumpInterval - since) * 1000) + 1;
                    HANDLE ready = workers->ReadyEvent();
                    if (MsgWaitForMultipleObjectsEx(1, &ready, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) !=
                        WAIT_OBJECT_0)
                        letMessagesRun(false);
                }
                if (!taken)
                    break;
            } else {
                try {
                    PrepareFile(path, prepare, reducer_, file);
                } catch (const std::exception&) {
                    file.failed = true;
                }
            }
            try {
                LoadOneFile(file, cache, batch, thumbHeight, fmt);
            } catch (const std::exception&) {
                // This file is skipped; the load goes on.
            }
            if (i % (file.fromCache ? kCachedCheckpoint : kDecodedCheckpoint) == 0) {
                {
                    ScopedTimer t(stats.cacheWrite);
                    stats.addedToCache += batch.Flush();
                }
                letMessagesRun(true);
            } else if (Seconds() - lastPumped >= kPumpInterval) {
                letMessagesRun(false);
            }
        }
        // The workers stop at once (a decode under way is cut short) and their buffers go.
        workers.reset();
        {
            ScopedTimer t(stats.cacheWrite);
            stats.addedToCache += batch.Flush();
        }
        // Laying out, sorting and counting the cache below take a while on a long list: pending
        // messages run once more before them when they have waited a while (the list is shown
        // right after, so not here).
        if (!stopped() && Seconds() - lastPumped >= kPumpInterval)
            letMessagesRun(false);
    } catch (const std::exception&) {
        // Out of memory outside a file: the load ends with what it has.
    }
    // 10. The summary.
    const double finishStart = Seconds();
    stats.total = finishStart - start;
    c_.status->SetPanelText(
        1, LoadSummaryStatus(stats.loaded, stats.total, stats.cacheHits, stats.addedToCache, fmt));
    // 11. Shown as it is now; the buffer goes, the icons line up from the top.
    FitNameColumn();
    RefreshNow(c_.status->hwnd());
    list.Refresh();
    buffer_.Reset();
    reducer_.ReleaseBuffers();
    list.ArrangeFromTop();
    // 12. Order and the other two panels.
    ApplySort();
    UpdateCacheStatus();
    UpdateDirStatus();
    watch_.Resume();
    stats.finish = Seconds() - finishStart;
}

void CatalogView::UpdateDirStatus() {
    ListView list(c_.list);
    c_.status->SetPanelText(2, DirStatusText(list.Count(), list.SelectedCount()));
}

void CatalogView::UpdateCacheStatus() {
    if (DataFolder().empty()) {
        c_.status->SetPanelText(3, NoCacheStatusText());
        return;
    }
    const CacheTotals totals = CountCache();
    c_.status->SetPanelText(
        3, CacheStatusText(totals.directories, totals.files, totals.bytes, UserNumberFormat()));
}

} // namespace tessary
