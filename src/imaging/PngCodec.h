// PNG through libspng, a row at a time: a thumbnail of a large PNG never holds the picture whole,
// and a file whose header or chunks would ask for too much is refused before anything is
// allocated for it.
#pragma once
#include "imaging/ImageFile.h"
#include "imaging/PictureRows.h"
#include <cstddef>
#include <cstdint>
#include <string>

namespace tessary {

// Text and colour-profile chunks are inflated into memory by libspng; a chunk that would inflate
// beyond this (a compressed bomb hidden in an iCCP or zTXt chunk) refuses the file, as do more than
// kPngMaxChunkCacheBytes of such chunks together.
inline constexpr std::size_t kPngMaxChunkBytes = std::size_t{4} << 20;
inline constexpr std::size_t kPngMaxChunkCacheBytes = std::size_t{16} << 20;

class PngDecoder {
public:
    // Decodes the file (any bit depth and colour type, transparency applied, 16-bit channels
    // rounded to 8) and hands the rows to the sink. An image above the pixel limit of full
    // decodes is refused from its header, before libspng allocates; so is every file libspng
    // finds damaged, truncated or over its limits. An interlaced image is decoded whole first
    // (its rows come in seven passes).
    bool DecodeRows(const std::wstring& path, RowSink& sink);
    // Gives the buffers back.
    void ReleaseBuffers();

private:
    GrowBuffer<unsigned char> read_; // the file, read through this a block at a time
    GrowBuffer<std::uint32_t> rows_; // one row, or the whole of an interlaced picture
};

} // namespace tessary
