// WebP through libwebp: decoding straight to the size asked (libwebp's own reduction averages the
// pixels it drops), the first frame of an animation, the EXIF orientation, and encoding at a
// quality. Every size a file claims is checked before anything is allocated for it.
#pragma once
#include "imaging/ImageFile.h"
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessary {

// A WebP picture may claim up to 16383 x 16383 (an extended file even more) in a few bytes; a
// lossless one is held whole while it decodes, whatever size is asked for.
inline constexpr std::int64_t kWebpMaxImagePixels = 100'000'000;
inline constexpr std::size_t kWebpMaxFileBytes = std::size_t{1} << 30;

enum class WebpStatus {
    Ok,
    NotWebp,     // not a RIFF WebP file (or missing, or unreadable)
    Damaged,     // truncated or malformed; nothing is shown of it
    TooLarge,    // its size is beyond kWebpMaxImagePixels
    OutOfMemory, // the memory for it is not there
};

// What Open learnt of a file.
struct WebpInfo {
    int width = 0, height = 0; // the canvas, as stored (before orientation)
    bool animated = false;     // several frames: only the first is shown
    bool alpha = false;
    int orientation = 1; // EXIF orientation, 1 to 8
};

// A decoded picture; the pixels belong to the decoder and stay valid until its next call.
struct WebpPicture {
    const std::uint32_t* pixels = nullptr; // top-down rows of width 0xAARRGGBB words (not premultiplied)
    int width = 0, height = 0;
};

// Opens one file after another and decodes it, keeping the file and pixel buffers between files.
// Not for use by two threads at once.
class WebpDecoder {
public:
    WebpDecoder();
    ~WebpDecoder();
    WebpDecoder(const WebpDecoder&) = delete;
    WebpDecoder& operator=(const WebpDecoder&) = delete;

    // Reads the file (or takes the bytes, which must outlive the decoding) and its headers.
    WebpStatus Open(const std::wstring& path, WebpInfo& info);
    WebpStatus OpenMemory(const unsigned char* data, std::size_t size, WebpInfo& info);
    // Decodes the opened picture (an animation's first frame) reduced or enlarged to width x
    // height; 0 x 0 decodes it at its own size. An animation whose first frame covers only part of
    // the canvas comes at the canvas's own size whatever is asked (out tells the size).
    WebpStatus Decode(int width, int height, WebpPicture& out);

    void ReleaseBuffers();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Encodes 32-bit pixels (0xAARRGGBB words, rows strideBytes apart, top-down) as a lossy WebP at
// quality 0 to 100, with the alpha channel when any pixel is not opaque.
bool EncodeWebp(const std::uint32_t* bgra, int width, int height, int strideBytes, int quality,
                std::vector<unsigned char>& out);

} // namespace tessary
