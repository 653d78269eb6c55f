// JPEG through libjpeg-turbo: decoding reduced by the DCT itself (a photo reduced to a thumbnail
// costs a fraction of a full decode), and encoding at exactly the quality asked.
#pragma once
#include <cstddef>
#include "imaging/PictureRows.h"
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessary {

// A JPEG stream starts with the SOI marker followed by another marker: FF D8 FF.
bool IsJpegSignature(const unsigned char* data, std::size_t size);

// Files whose headers claim absurd sizes (a JPEG header may say 65535 x 65535 in a few hundred
// bytes) are refused by the size rule (PictureSizeAllowed, with the DCT scale) before anything is
// allocated. libjpeg's own working memory (whole-image coefficient buffers of progressive files)
// is capped at kJpegMaxWorkBytes.
inline constexpr long kJpegMaxWorkBytes = 512L * 1024 * 1024;
// Decodes on several threads hold their whole-image coefficient buffers (progressive files) within
// this many bytes together; a decode that would go beyond waits until the others are done with
// theirs. One decode always goes ahead, whatever it needs (up to kJpegMaxWorkBytes).
inline constexpr std::size_t kJpegSharedWorkBytes = std::size_t{64} << 20;
// A damaged progressive file can announce scan after scan, each costing a pass over the image:
// files with more scans than this are refused.
inline constexpr int kJpegMaxScans = 1000;
// Files longer than this are not read.
inline constexpr std::size_t kJpegMaxFileBytes = std::size_t{1} << 30;

// Size of one side after DCT scaling by 1/denominator (libjpeg rounds up).
int JpegScaledSize(int size, int denominator);
// The strongest reduction among 1/8, 1/4, 1/2 and 1/1 (returned as its denominator) that still
// leaves the image at least minWidth x minHeight; 1 when even the full size is smaller.
int ChooseJpegScale(int width, int height, int minWidth, int minHeight);

// A decoded picture. The pixels belong to the decoder and stay valid until its next call.
struct DecodedImage {
    const std::uint32_t* pixels = nullptr; // top-down rows of width 0xAARRGGBB words, alpha 255
    // Decoded (scaled) size. libjpeg rounds up, so the image covers exactly fullWidth / scale
    // columns and fullHeight / scale rows of it: when that is not whole, the last column or row
    // stands for less than the others (a reduction that wants to be exact takes it into account).
    int width = 0;
    int height = 0;
    int fullWidth = 0; // size of the image in the file
    int fullHeight = 0;
    int scale = 1; // denominator of the DCT scale used
    // False when libjpeg met damaged or missing data and decoded what it could (a truncated file
    // comes out complete in size, its missing part filled in by libjpeg). A file that lacks only
    // its end-of-image marker is complete.
    bool complete = true;
    // The EXIF orientation (1 to 8) the file asks for; the pixels are as stored.
    int orientation = 1;
};

// Decodes one file after another with one libjpeg instance, one file buffer and one pixel buffer,
// each grown only when a file needs more. Not for use by two threads at once.
class JpegDecoder {
public:
    JpegDecoder();
    ~JpegDecoder();
    JpegDecoder(JpegDecoder&&) noexcept;
    JpegDecoder& operator=(JpegDecoder&&) noexcept;
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Decodes at the scale ChooseJpegScale picks for minWidth x minHeight (pass the full size or
    // more for a full decode). False, with out cleared, for a file that is missing, not a JPEG,
    // over the limits, or too damaged to give a picture.
    bool Decode(const std::wstring& path, int minWidth, int minHeight, DecodedImage& out);
    bool DecodeMemory(const unsigned char* data, std::size_t size, int minWidth, int minHeight,
                      DecodedImage& out);
    // Decodes at the DCT scale the sink wants, handing the rows over a strip at a time: only the
    // strip and libjpeg's own state are held (a progressive file's coefficients included). The
    // same files are refused as by Decode. complete is false when libjpeg met damaged or missing
    // data and decoded what it could.
    bool DecodeRows(const std::wstring& path, RowSink& sink, bool& complete);
    // Gives the buffers back (after a very large image, say).
    void ReleaseBuffers();
    // A flag another thread may raise to stop DecodeRows while it waits for room in the shared
    // working memory (the decode then fails).
    void SetCancelFlag(const std::atomic<bool>* cancel);

private:
    // The whole file into the decoder's buffer, refused beyond the JPEG file limit.
    bool ReadFile(const std::wstring& path, std::size_t& size);

    struct State;
    std::unique_ptr<State> state_;
};

// Encodes 32-bit pixels (0xAARRGGBB words, alpha ignored; rows strideBytes apart, top-down) as a
// baseline JPEG with 4:2:0 chroma at the given quality (0 to 100, libjpeg's quality scaling).
bool EncodeJpeg(const std::uint32_t* bgra, int width, int height, int strideBytes, int quality,
                std::vector<unsigned char>& out);
// The same, written as path: the file is replaced only when the whole JPEG could be written.
bool WriteJpegFile(const std::wstring& path, const std::uint32_t* bgra, int width, int height,
                   int strideBytes, int quality);

} // namespace tessary
