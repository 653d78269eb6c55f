#include "imaging/JpegCodec.h"
#include "imaging/ExifOrientation.h"
#include "imaging/ImageFile.h"
#include "imaging/ImageHeader.h"
#include "imaging/JpegDc.h"
#include <algorithm>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <csetjmp>
#include <mutex>
#include <cstdio> // jpeglib.h needs FILE and size_t declared before it
#include <new>
#include <jpeglib.h>
#include <jerror.h>
#include <turbojpeg.h>

namespace tessary {

bool IsJpegSignature(const unsigned char* data, std::size_t size) {
    return data && size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

int JpegScaledSize(int size, int denominator) {
    if (denominator <= 1)
        return size;
    return static_cast<int>((static_cast<std::int64_t>(size) + denominator - 1) / denominator);
}

int ChooseJpegScale(int width, int height, int minWidth, int minHeight) {
    for (int denominator : {8, 4, 2})
        if (JpegScaledSize(width, denominator) >= minWidth &&
            JpegScaledSize(height, denominator) >= minHeight)
            return denominator;
    return 1;
}

namespace {

// libjpeg's error manager, extended with the place to jump back to: libjpeg reports a fatal error
// by calling error_exit, which must not return, and the default one ends the process.
struct ErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg hands back a pointer to it
    std::jmp_buf recover;
    int warnings;
    bool endedAtLastRow; // the data ran out only once the last row of blocks was being read
};

ErrorManager& ErrorsOf(j_common_ptr info) {
    return *reinterpret_cast<ErrorManager*>(info->err);
}

void OnFatalError(j_common_ptr info) {
    std::longjmp(ErrorsOf(info).recover, 1);
}

// Warnings about damaged or missing picture data are counted; libjpeg goes on and fills in what
// is missing. Some warnings say nothing about the picture (stray bytes between markers, which
// many cameras write, or an unusual header version): those files are complete.
bool HarmlessWarning(int code) {
    return code == JWRN_EXTRANEOUS_DATA || code == JWRN_ADOBE_XFORM || code == JWRN_JFIF_MAJOR ||
           code == JWRN_BOGUS_ICC;
}

// The data ran out. Where only the end-of-image marker is missing, that happens once every scan
// has reached its last row of blocks (the Huffman decoder reads a little ahead); whether that row
// still lacked data shows in the decoder's own warning (JWRN_HIT_MARKER), which counts.
bool RanOutAtTheEnd(j_common_ptr info) {
    if (info->err->msg_code != JWRN_JPEG_EOF || !info->is_decompressor)
        return false;
    const auto* d = reinterpret_cast<j_decompress_ptr>(info);
    return d->total_iMCU_rows > 0 && d->input_iMCU_row + 1 >= d->total_iMCU_rows;
}

void OnMessage(j_common_ptr info, int level) {
    if (level >= 0 || HarmlessWarning(info->err->msg_code))
        return;
    if (RanOutAtTheEnd(info))
        ErrorsOf(info).endedAtLastRow = true;
    else
        ++ErrorsOf(info).warnings;
}

// A progressive file missing its end is complete only when its scans refined every coefficient.
bool AllCoefficientsRefined(j_decompress_ptr d) {
    if (!d->progressive_mode || !d->coef_bits)
        return true;
    for (int c = 0; c < d->num_components; ++c)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (d->coef_bits[c][k] != 0)
                return false;
    return true;
}

void IgnoreOutput(j_common_ptr) {}

// Arithmetic decoding takes a marker met inside a scan as the end of its data and goes on with
// zeros without a warning (the Huffman decoder warns). A marker already met while rows of the scan
// remain means data is missing; restart markers end their intervals, and are expected there.
bool ArithmeticScanEndedEarly(j_decompress_ptr d) {
    const int marker = d->unread_marker;
    const bool restart = marker >= 0xD0 && marker <= 0xD7 && d->restart_interval != 0;
    return d->arith_code && marker != 0 && !restart && d->input_iMCU_row > 0 &&
           d->input_iMCU_row < d->total_iMCU_rows;
}

// Called between rows of blocks, while scans are read and while rows are output.
void OnProgress(j_common_ptr info) {
    if (!info->is_decompressor)
        return;
    const auto d = reinterpret_cast<j_decompress_ptr>(info);
    if (d->input_scan_number > kJpegMaxScans)
        std::longjmp(ErrorsOf(info).recover, 1);
    if (ArithmeticScanEndedEarly(d))
        ++ErrorsOf(info).warnings;
}

// Turns C, M, Y, K bytes into B, G, R, 255. Adobe's files (recognised by their APP14 marker, which
// nearly every CMYK JPEG carries) store the inks inverted.
void CmykToBgra(unsigned char* p, std::size_t count, bool inverted) {
    for (std::size_t i = 0; i < count; ++i, p += 4) {
        unsigned c = p[0], m = p[1], y = p[2], k = p[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        p[0] = static_cast<unsigned char>((y * k + 127) / 255);
        p[1] = static_cast<unsigned char>((m * k + 127) / 255);
        p[2] = static_cast<unsigned char>((c * k + 127) / 255);
        p[3] = 255;
    }
}

template <typename T> T* TryEnsure(GrowBuffer<T>& buffer, std::size_t count) {
    try {
        return buffer.Ensure(count);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// The coefficient buffers of progressive decodes running at once, kept within kJpegSharedWorkBytes:
// a folder of large progressive files decoded on every core would otherwise hold one buffer of
// up to a hundred megabytes per core.
class SharedWorkMemory {
public:
    // Waits for room for bytes (granted at once when nothing else is held); false when cancel was
    // raised meanwhile.
    bool Acquire(std::size_t bytes, const std::atomic<bool>* cancel) {
        std::unique_lock lock(mutex_);
        while (held_ != 0 && held_ + bytes > kJpegSharedWorkBytes) {
            if (cancel && cancel->load(std::memory_order_relaxed))
                return false;
            freed_.wait_for(lock, std::chrono::milliseconds(20));
        }
        held_ += bytes;
        return true;
    }
    void Release(std::size_t bytes) {
        {
            std::lock_guard lock(mutex_);
            held_ -= bytes;
        }
        freed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable freed_;
    std::size_t held_ = 0;
};

SharedWorkMemory& WorkMemory() {
    static SharedWorkMemory memory;
    return memory;
}

// What a decode keeps for the whole image: the coefficients of a file in several scans (a
// progressive one), one block of 64 values per 8 x 8 pixels of each component (read after the
// header).
std::size_t WholeImageBytes(jpeg_decompress_struct& d) {
    if (!jpeg_has_multiple_scans(&d))
        return 0;
    std::size_t bytes = 0;
    for (int c = 0; c < d.num_components; ++c) {
        const jpeg_component_info& comp = d.comp_info[c];
        bytes += static_cast<std::size_t>(comp.width_in_blocks) * comp.height_in_blocks * sizeof(JBLOCK);
    }
    return bytes;
}

// Holds room in the shared working memory for one decode.
class WorkMemoryTicket {
public:
    WorkMemoryTicket() = default;
    ~WorkMemoryTicket() { Return(); }
    WorkMemoryTicket(const WorkMemoryTicket&) = delete;
    WorkMemoryTicket& operator=(const WorkMemoryTicket&) = delete;
    bool Take(std::size_t bytes, const std::atomic<bool>* cancel) {
        Return();
        if (bytes == 0 || !WorkMemory().Acquire(bytes, cancel))
            return bytes == 0;
        bytes_ = bytes;
        return true;
    }
    void Return() {
        if (bytes_ != 0)
            WorkMemory().Release(bytes_);
        bytes_ = 0;
    }

private:
    std::size_t bytes_ = 0;
};

// libjpeg's input: a whole file in memory, or a file read a block at a time (a large file is then
// never held whole). Where the data runs out libjpeg is warned and given an end-of-image marker,
// as by its own memory source.
struct Source {
    jpeg_source_mgr pub{}; // first member: libjpeg hands back a pointer to it
    HANDLE file = nullptr; // read from when set
    unsigned char* block = nullptr;
    DWORD blockSize = 0;
};

// Bytes libjpeg is handed at a time from a file; the first block also gives the EXIF orientation.
constexpr DWORD kSourceBlockBytes = 256 * 1024;
static_assert(kSourceBlockBytes >= kOrientationProbeBytes);

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr d) {
    Source& source = *reinterpret_cast<Source*>(d->src);
    DWORD got = 0;
    if (source.file && ReadFile(source.file, source.block, source.blockSize, &got, nullptr) && got > 0) {
        source.pub.next_input_byte = source.block;
        source.pub.bytes_in_buffer = got;
        return TRUE;
    }
    static const JOCTET kEnd[2] = {0xFF, JPEG_EOI};
    WARNMS(d, JWRN_JPEG_EOF);
    source.pub.next_input_byte = kEnd;
    source.pub.bytes_in_buffer = sizeof kEnd;
    return TRUE;
}

void SkipInput(j_decompress_ptr d, long count) {
    jpeg_source_mgr& source = *d->src;
    while (count > static_cast<long>(source.bytes_in_buffer)) {
        count -= static_cast<long>(source.bytes_in_buffer);
        FillInput(d);
    }
    if (count > 0) {
        source.next_input_byte += count;
        source.bytes_in_buffer -= static_cast<std::size_t>(count);
    }
}

// A progressive Huffman-coded greyscale or YCbCr file reduced by 1/8 shows only its DC scans.
bool DcScansShowAll(const jpeg_decompress_struct& d, int scale) {
    return scale == 8 && d.progressive_mode && !d.arith_code && d.data_precision == 8 &&
           ((d.jpeg_color_space == JCS_YCbCr && d.num_components == 3) ||
            (d.jpeg_color_space == JCS_GRAYSCALE && d.num_components == 1));
}

struct TjDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};

} // namespace

struct JpegDecoder::State {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    bool created = false;
    GrowBuffer<unsigned char> file;
    GrowBuffer<std::uint32_t> pixels;
    GrowBuffer<JSAMPROW> rows;
    WorkMemoryTicket ticket; // held from the start of a decode to its end
    JpegDcReader dc;
    Source source;
    GrowBuffer<unsigned char> block; // a file's bytes as they are read
    const std::atomic<bool>* cancel = nullptr;

    State() {
        jpeg_std_error(&errors.pub);
        errors.pub.error_exit = OnFatalError;
        errors.pub.emit_message = OnMessage;
        errors.pub.output_message = IgnoreOutput;
        info.err = &errors.pub;
        if (setjmp(errors.recover))
            return; // out of memory already: the decoder refuses every file
        jpeg_create_decompress(&info);
        info.mem->max_memory_to_use = kJpegMaxWorkBytes;
        progress.progress_monitor = OnProgress;
        info.progress = &progress;
        source.pub.init_source = InitSource;
        source.pub.fill_input_buffer = FillInput;
        source.pub.skip_input_data = SkipInput;
        source.pub.resync_to_restart = jpeg_resync_to_restart;
        source.pub.term_source = TermSource;
        info.src = &source.pub;
        created = true;
    }
    ~State() {
        if (created)
            jpeg_destroy_decompress(&info);
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    bool DecodeInto(const unsigned char* data, std::size_t size, int minWidth, int minHeight,
                    DecodedImage& out);
    // From file, whose first headBytes are in block already; the whole file is read again from
    // path when only its DC scans are wanted.
    bool DecodeRowsInto(HANDLE file, std::size_t headBytes, int orientation, const std::wstring& path,
                        RowSink& sink, bool& complete);
    void ReadFrom(const unsigned char* data, std::size_t size, HANDLE file) {
        source.file = file;
        source.block = block.data();
        source.blockSize = kSourceBlockBytes;
        source.pub.next_input_byte = data;
        source.pub.bytes_in_buffer = size;
    }
    // The picture from its DC scans alone, where they give all of it at this size; false leaves
    // the file to libjpeg, which also judges any damage.
    bool ReadDcScans(const unsigned char* data, std::size_t size, int scale, int width, int height) {
        return DcScansShowAll(info, scale) && dc.Read(data, size) && dc.width() == width &&
               dc.height() == height;
    }
};

// Between setjmp and every point libjpeg may jump back from, this frame holds only plain values
// (the buffers are members), so the jump skips no destructor.
bool JpegDecoder::State::DecodeInto(const unsigned char* data, std::size_t size, int minWidth, int minHeight,
                                    DecodedImage& out) {
    errors.warnings = 0;
    errors.endedAtLastRow = false;
    if (setjmp(errors.recover)) {
        jpeg_abort_decompress(&info);
        return false;
    }
    ReadFrom(data, size, nullptr);
    jpeg_read_header(&info, TRUE); // a file without an image is a fatal error
    const int fullWidth = static_cast<int>(info.image_width);
    const int fullHeight = static_cast<int>(info.image_height);
    const int scale = ChooseJpegScale(fullWidth, fullHeight, minWidth, minHeight);
    // The size rule, before anything is allocated for the picture.
    if (!PictureSizeAllowed(fullWidth, fullHeight, scale)) {
        jpeg_abort_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned>(scale);
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_calc_output_dimensions(&info);
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (info.output_components != 4 || count > static_cast<std::size_t>(kMaxDecodedPixels)) {
        jpeg_abort_decompress(&info);
        return false;
    }
    std::uint32_t* pixelData = TryEnsure(pixels, count);
    JSAMPROW* rowData = TryEnsure(rows, static_cast<std::size_t>(height));
    if (!pixelData || !rowData) {
        jpeg_abort_decompress(&info);
        return false;
    }
    for (int y = 0; y < height; ++y)
        rowData[y] = reinterpret_cast<JSAMPROW>(pixelData + static_cast<std::size_t>(y) *
                                                                static_cast<std::size_t>(width));

    bool allRows = true, adobe = false;
    if (ReadDcScans(data, size, scale, width, height)) {
        for (int y = 0; y < height; ++y)
            dc.Row(y, pixelData + static_cast<std::size_t>(y) * static_cast<std::size_t>(width));
    } else {
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            if (jpeg_read_scanlines(&info, rowData + info.output_scanline,
                                    info.output_height - info.output_scanline) == 0)
                break; // only a suspending source returns no rows; ours never does
        }
        allRows = info.output_scanline == info.output_height;
        adobe = info.saw_Adobe_marker != 0;
        if (errors.endedAtLastRow && !AllCoefficientsRefined(&info))
            ++errors.warnings;
    }
    // What follows the last row (trailing markers, junk) does not matter: stop here.
    jpeg_abort_decompress(&info);
    if (!allRows)
        return false;
    if (cmyk)
        CmykToBgra(reinterpret_cast<unsigned char*>(pixelData), count, adobe);

    out.pixels = pixelData;
    out.width = width;
    out.height = height;
    out.fullWidth = fullWidth;
    out.fullHeight = fullHeight;
    out.scale = scale;
    out.complete = errors.warnings == 0;
    return true;
}

// Rows decoded per call of the sink: enough to keep the calls cheap, few enough to stay in cache.
constexpr int kStripRows = 16;

// As DecodeInto, between setjmp and libjpeg's calls only plain values and members. The sink never
// runs inside libjpeg, so a jump never crosses it.
bool JpegDecoder::State::DecodeRowsInto(HANDLE handle, std::size_t headBytes, int orientation,
                                        const std::wstring& path, RowSink& sink, bool& complete) {
    errors.warnings = 0;
    errors.endedAtLastRow = false;
    if (setjmp(errors.recover)) {
        jpeg_abort_decompress(&info);
        ticket.Return();
        return false;
    }
    ReadFrom(block.data(), headBytes, handle);
    jpeg_read_header(&info, TRUE);
    RowPicture picture;
    picture.fullWidth = static_cast<int>(info.image_width);
    picture.fullHeight = static_cast<int>(info.image_height);
    int minWidth = 0, minHeight = 0;
    if (!sink.Wanted(picture.fullWidth, picture.fullHeight, orientation, minWidth, minHeight)) {
        jpeg_abort_decompress(&info);
        return false;
    }
    picture.scale = ChooseJpegScale(picture.fullWidth, picture.fullHeight, minWidth, minHeight);
    // The size rule, before anything is allocated for the picture.
    if (!PictureSizeAllowed(picture.fullWidth, picture.fullHeight, picture.scale)) {
        jpeg_abort_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned>(picture.scale);
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_calc_output_dimensions(&info);
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    const std::size_t count =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    std::uint32_t* strip = TryEnsure(pixels, static_cast<std::size_t>(picture.width) * kStripRows);
    JSAMPROW* rowData = TryEnsure(rows, kStripRows);
    if (info.output_components != 4 || count > static_cast<std::size_t>(kMaxDecodedPixels) || !strip ||
        !rowData) {
        jpeg_abort_decompress(&info);
        return false;
    }
    for (int y = 0; y < kStripRows; ++y)
        rowData[y] = reinterpret_cast<JSAMPROW>(strip + static_cast<std::size_t>(y) *
                                                            static_cast<std::size_t>(picture.width));
    std::size_t size = 0;
    bool wholeFile = false;
    if (DcScansShowAll(info, picture.scale)) {
        try {
            wholeFile = ReadWholeFile(path, file, size, kJpegMaxFileBytes);
        } catch (const std::bad_alloc&) {
        }
    }
    if (wholeFile && ReadDcScans(file.data(), size, picture.scale, picture.width, picture.height)) {
        jpeg_abort_decompress(&info);
        if (!sink.Begin(picture))
            return false;
        for (int y = 0; y < picture.height; y += kStripRows) {
            const int n = std::min(kStripRows, picture.height - y);
            for (int i = 0; i < n; ++i)
                dc.Row(y + i, strip + static_cast<std::size_t>(i) * static_cast<std::size_t>(picture.width));
            if (!sink.Rows(strip, n, picture.width))
                return false;
        }
        complete = true;
        return true;
    }
    if (!ticket.Take(WholeImageBytes(info), cancel)) {
        jpeg_abort_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    // A file in several scans has been read to its end by now, into the coefficients, which are
    // then the largest thing held: the sink takes its memory for the picture after that.
    if (!sink.Begin(picture)) {
        jpeg_abort_decompress(&info);
        ticket.Return();
        return false;
    }
    const bool adobe = info.saw_Adobe_marker != 0;
    while (info.output_scanline < info.output_height) {
        int got = 0;
        // libjpeg may give fewer rows per call than asked (its output buffer's height).
        while (got < kStripRows && info.output_scanline < info.output_height) {
            const JDIMENSION n =
                jpeg_read_scanlines(&info, rowData + got, static_cast<JDIMENSION>(kStripRows - got));
            if (n == 0)
                break;
            got += static_cast<int>(n);
        }
        if (got == 0)
            break;
        if (cmyk)
            CmykToBgra(reinterpret_cast<unsigned char*>(strip), static_cast<std::size_t>(got) * picture.width,
                       adobe);
        if (!sink.Rows(strip, got, picture.width))
            break;
    }
    const bool allRows = info.output_scanline == info.output_height;
    if (errors.endedAtLastRow && !AllCoefficientsRefined(&info))
        ++errors.warnings;
    jpeg_abort_decompress(&info);
    ticket.Return();
    complete = errors.warnings == 0;
    return allRows;
}

JpegDecoder::JpegDecoder() : state_(std::make_unique<State>()) {}
JpegDecoder::~JpegDecoder() = default;
JpegDecoder::JpegDecoder(JpegDecoder&&) noexcept = default;
JpegDecoder& JpegDecoder::operator=(JpegDecoder&&) noexcept = default;

bool JpegDecoder::DecodeMemory(const unsigned char* data, std::size_t size, int minWidth, int minHeight,
                               DecodedImage& out) {
    out = DecodedImage{};
    if (!state_ || !state_->created || !IsJpegSignature(data, size) || size > ULONG_MAX)
        return false;
    if (!state_->DecodeInto(data, size, minWidth, minHeight, out)) {
        out = DecodedImage{};
        return false;
    }
    out.orientation = OrientationFromJpeg(data, size);
    return true;
}

bool JpegDecoder::ReadFile(const std::wstring& path, std::size_t& size) {
    size = 0;
    try {
        return ReadWholeFile(path, state_->file, size, kJpegMaxFileBytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool JpegDecoder::Decode(const std::wstring& path, int minWidth, int minHeight, DecodedImage& out) {
    out = DecodedImage{};
    std::size_t size = 0;
    if (!state_ || !ReadFile(path, size))
        return false;
    return DecodeMemory(state_->file.data(), size, minWidth, minHeight, out);
}

bool JpegDecoder::DecodeRows(const std::wstring& path, RowSink& sink, bool& complete) {
    complete = false;
    if (!state_ || !state_->created)
        return false;
    UniqueFile file = OpenForReading(path);
    LARGE_INTEGER length{};
    if (!file || !GetFileSizeEx(file.get(), &length) || length.QuadPart < 0 ||
        static_cast<unsigned long long>(length.QuadPart) > kJpegMaxFileBytes)
        return false;
    unsigned char* start = TryEnsure(state_->block, kSourceBlockBytes);
    DWORD got = 0;
    if (!start || !::ReadFile(file.get(), start, kSourceBlockBytes, &got, nullptr) ||
        !IsJpegSignature(start, got))
        return false;
    const int orientation = OrientationFromJpeg(start, std::min<std::size_t>(got, kOrientationProbeBytes));
    return state_->DecodeRowsInto(file.get(), got, orientation, path, sink, complete);
}

void JpegDecoder::SetCancelFlag(const std::atomic<bool>* cancel) {
    if (state_)
        state_->cancel = cancel;
}

void JpegDecoder::ReleaseBuffers() {
    if (!state_)
        return;
    state_->file.Release();
    state_->pixels.Release();
    state_->rows.Release();
    state_->block.Release();
    state_->dc.Release();
}

bool EncodeJpeg(const std::uint32_t* bgra, int width, int height, int strideBytes, int quality,
                std::vector<unsigned char>& out) {
    out.clear();
    if (!bgra || width <= 0 || height <= 0 || quality < 0 || quality > 100 ||
        static_cast<std::int64_t>(strideBytes) < static_cast<std::int64_t>(width) * 4)
        return false;
    std::unique_ptr<void, TjDeleter> encoder(tjInitCompress());
    if (!encoder)
        return false;
    const unsigned long capacity = tjBufSize(width, height, TJSAMP_420);
    if (capacity == static_cast<unsigned long>(-1))
        return false;
    try {
        out.resize(capacity);
    } catch (const std::bad_alloc&) {
        return false;
    }
    unsigned char* dest = out.data();
    unsigned long length = capacity;
    if (tjCompress2(encoder.get(), reinterpret_cast<const unsigned char*>(bgra), width, strideBytes, height,
                    TJPF_BGRX, &dest, &length, TJSAMP_420, quality, TJFLAG_NOREALLOC) != 0 ||
        dest != out.data() || length > capacity) {
        out.clear();
        return false;
    }
    out.resize(length);
    return true;
}

bool WriteJpegFile(const std::wstring& path, const std::uint32_t* bgra, int width, int height,
                   int strideBytes, int quality) {
    std::vector<unsigned char> jpeg;
    return EncodeJpeg(bgra, width, height, strideBytes, quality, jpeg) &&
           WriteFileReplacing(path, jpeg.data(), jpeg.size());
}

} // namespace tessary
