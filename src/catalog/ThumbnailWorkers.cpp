#include "catalog/ThumbnailWorkers.h"
#include "catalog/CatalogText.h"
#include "imaging/ImageFile.h"
#include "imaging/ImageHeader.h"
#include <algorithm>
#include <new>

namespace tessary {

void PrepareFile(const std::wstring& path, const PrepareSettings& settings, ImageReducer& reducer,
                 PreparedFile& out) {
    out.path = path;
    out.fileName = LastPathComponent(path);
    out.info = GetFileInfo(path);
    // A file gone since the folder was listed (the folder deleted meanwhile, say) is left out.
    if (!out.info && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        out.gone = true;
        return;
    }
    const std::wstring thumbnail = settings.cache.ThumbnailPath(out.fileName);
    bool cachedThumbnail = false;
    CacheSection section;
    {
        ScopedTimer t(out.cacheRead);
        // The section first: asking for a file that is not there costs a look through the whole
        // cache folder under Wine.
        section = settings.cacheFile->Section(settings.cache.SectionName(out.fileName));
        cachedThumbnail = CachedThumbnailMatches(section, out.info, path) && FileExists(thumbnail);
    }
    ConstPixelView cached;
    if (cachedThumbnail && reducer.LoadThumbnail(thumbnail, cached, out.times)) {
        out.imageWidth = section.Value(kWidthKey, 0).value;
        out.imageHeight = section.Value(kHeightKey, 0).value;
        out.fromCache = true;
        out.pixels.resize(static_cast<std::size_t>(cached.width) * cached.height);
        for (int y = 0; y < cached.height; ++y)
            std::copy_n(cached.pixels + static_cast<std::ptrdiff_t>(y) * cached.stride, cached.width,
                        out.pixels.data() + static_cast<std::size_t>(y) * cached.width);
        out.width = cached.width;
        out.height = cached.height;
        return;
    }
    ReducedImage reduced;
    reducer.Reduce(path, out.pixels, reduced, out.times);
    out.imageWidth = reduced.fullWidth;
    out.imageHeight = reduced.fullHeight;
    out.divisor = reduced.divisor;
    out.width = reduced.width;
    out.height = reduced.height;
    if (settings.encodeThumbnails && ShouldWriteToCache(false, true, out.divisor) && out.width > 0 &&
        out.height > 0) {
        if (!EncodeThumbnail(out.Source(), out.jpeg))
            out.jpeg.clear();
    }
}

int DefaultWorkerCount() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()) - 1);
}

ThumbnailWorkers::ThumbnailWorkers(std::vector<std::wstring> files, PrepareSettings settings, int workers,
                                   int ahead)
    : files_(std::move(files)), settings_(std::move(settings)), ahead_(std::max(ahead, 1)),
      help_(workers < static_cast<int>(std::thread::hardware_concurrency())), done_(files_.size()),
      ready_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    for (int i = 0; i < workers; ++i)
        threads_.emplace_back([this] { Work(); });
}

ThumbnailWorkers::~ThumbnailWorkers() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    room_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

bool ThumbnailWorkers::TryTake(int index, PreparedFile& out) {
    std::unique_lock lock(mutex_);
    auto& slot = done_[static_cast<std::size_t>(index)];
    if (!slot)
        return false;
    out = std::move(*slot);
    slot.reset();
    taken_ = index + 1;
    lock.unlock();
    room_.notify_all();
    return true;
}

int ThumbnailWorkers::NextFree() {
    return !stop_ && next_ < static_cast<int>(files_.size()) && next_ < taken_ + ahead_ ? next_ : -1;
}

void ThumbnailWorkers::Deliver(int index, PreparedFile&& file) {
    std::lock_guard lock(mutex_);
    done_[static_cast<std::size_t>(index)] = std::move(file);
}

namespace {

PreparedFile Prepared(const std::wstring& path, const PrepareSettings& settings, ImageReducer& reducer) {
    PreparedFile file;
    try {
        PrepareFile(path, settings, reducer, file);
    } catch (const std::exception&) {
        file = PreparedFile{};
        file.failed = true;
    }
    return file;
}

bool QuickToPrepare(const std::wstring& path) {
    unsigned char head[kImageHeaderBytes] = {};
    std::size_t got = 0;
    if (!ReadFileStart(path, head, sizeof head, got))
        return false;
    const ImageHeader header = ProbeImageHeader(head, got);
    if (header.format == ImageFormat::Jpeg) {
        const std::optional<FileInfo> info = GetFileInfo(path);
        return info && info->size <= kQuickJpegBytes;
    }
    // Not an interlaced PNG (byte 28 of its header): that one is held and decoded whole first.
    return header.format == ImageFormat::Png && got > 28 && head[28] == 0 &&
           static_cast<std::int64_t>(header.width) * header.height <= kQuickPngPixels;
}

} // namespace

bool ThumbnailWorkers::PrepareNextHere(ImageReducer& reducer) {
    int index = 0;
    {
        std::lock_guard lock(mutex_);
        index = NextFree();
    }
    if (!help_ || index < 0 || !QuickToPrepare(files_[static_cast<std::size_t>(index)]))
        return false;
    {
        std::lock_guard lock(mutex_);
        if (NextFree() != index)
            return false; // a worker took it meanwhile
        ++next_;
    }
    Deliver(index, Prepared(files_[static_cast<std::size_t>(index)], settings_, reducer));
    return true;
}

void ThumbnailWorkers::Work() {
    // The user-interface thread, which answers the user and takes the files, comes first.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    ImageReducer reducer;
    reducer.SetCancelFlag(&stop_);
    const int count = static_cast<int>(files_.size());
    for (;;) {
        int index = 0;
        {
            std::unique_lock lock(mutex_);
            room_.wait(lock, [&] { return stop_ || next_ >= count || next_ < taken_ + ahead_; });
            if (stop_ || next_ >= count)
                return;
            index = next_++;
        }
        Deliver(index, Prepared(files_[static_cast<std::size_t>(index)], settings_, reducer));
        SetEvent(ready_.get());
    }
}

} // namespace tessary
