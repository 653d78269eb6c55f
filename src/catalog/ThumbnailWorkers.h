// The decoding half of a folder load, done ahead of the user-interface thread on worker threads:
// for each file, in the folder's order, whether its cached thumbnail serves, and its source
// picture (the cached thumbnail, or the image decoded and reduced, with the thumbnail JPEG
// already encoded for the cache). The user-interface thread takes the files in order and does
// everything a user sees or the cache keeps with them, exactly as without workers.
#pragma once
#include "catalog/ReducedImage.h"
#include "catalog/ThumbnailCache.h"
#include "platform/Handles.h"
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tessary {

// What a load's preparation needs to know, fixed for the whole load.
struct PrepareSettings {
    FolderCache cache;
    // The cache file as read at the start of the load; not changed while workers read it.
    std::shared_ptr<const CacheFileContents> cacheFile;
    bool encodeThumbnails = false; // new thumbnails will be cached: encode their JPEGs
};

// One file, ready for the user-interface thread.
struct PreparedFile {
    std::wstring path, fileName;
    bool gone = false;   // removed since the folder was listed: no entry
    bool failed = false; // out of memory while preparing it: no entry
    std::optional<FileInfo> info;
    bool fromCache = false;
    int imageWidth = 0, imageHeight = 0, divisor = 1;
    std::vector<std::uint32_t> pixels; // the source picture, width x height
    int width = 0, height = 0;
    std::vector<unsigned char> jpeg; // the thumbnail for the cache, when encoded
    DecodeTimes times;
    double cacheRead = 0;
    ConstPixelView Source() const {
        return width > 0 && height > 0 ? ConstPixelView(pixels.data(), width, height, width)
                                       : ConstPixelView{};
    }
};

// Prepares one file on the calling thread with the given reducer.
void PrepareFile(const std::wstring& path, const PrepareSettings& settings, ImageReducer& reducer,
                 PreparedFile& out);

// Worker count for this machine: one per core beyond the first, at least one.
int DefaultWorkerCount();

// The largest files the taker prepares itself, about 50 ms of work each: a reduced JPEG's cost
// follows its file size, a PNG's its pixel count.
inline constexpr std::uint64_t kQuickJpegBytes = std::uint64_t{4} << 20;
inline constexpr std::int64_t kQuickPngPixels = 3'000'000;

class ThumbnailWorkers {
public:
    // Starts workers that prepare files in order, at most ahead files beyond the one taken last.
    ThumbnailWorkers(std::vector<std::wstring> files, PrepareSettings settings, int workers, int ahead);
    // Stops the workers (a decode in progress is cut short) and waits for them.
    ~ThumbnailWorkers();
    ThumbnailWorkers(const ThumbnailWorkers&) = delete;
    ThumbnailWorkers& operator=(const ThumbnailWorkers&) = delete;

    // File index once it is prepared (then true, and every file before it was taken).
    bool TryTake(int index, PreparedFile& out);
    // Rather than wait for a worker on a core of its own, the taker may prepare the next file no
    // worker has started itself, with its own reducer, when that is quick (a JPEG of at most
    // kQuickJpegBytes, a PNG of at most kQuickPngPixels: the window still answers in time). False
    // when it prepared nothing; always when the workers already have every core.
    bool PrepareNextHere(ImageReducer& reducer);
    // Signalled whenever a file has been prepared: something to wait on between tries.
    HANDLE ReadyEvent() const { return ready_.get(); }

private:
    void Work();
    // The next file no worker has taken, when there is room for it; -1 otherwise.
    int NextFree();
    void Deliver(int index, PreparedFile&& file);

    std::vector<std::wstring> files_;
    PrepareSettings settings_;
    int ahead_;
    bool help_; // a core is left for the taker
    std::mutex mutex_;
    std::condition_variable room_; // workers wait here for the taker to move on
    std::vector<std::optional<PreparedFile>> done_;
    int next_ = 0;  // next file a worker takes
    int taken_ = 0; // files handed out so far
    std::atomic<bool> stop_{false};
    UniqueKernelObject ready_;
    std::vector<std::thread> threads_;
};

} // namespace tessary
