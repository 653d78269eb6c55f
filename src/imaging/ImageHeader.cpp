#include "imaging/ImageHeader.h"
#include <cstdint>
#include <limits>

namespace tessary {

namespace {

std::uint32_t BigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
std::uint32_t LittleEndian32(const unsigned char* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}
int LittleEndian16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

bool StartsWith(const unsigned char* data, std::size_t size, const char* magic, std::size_t length) {
    if (size < length)
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (data[i] != static_cast<unsigned char>(magic[i]))
            return false;
    return true;
}

// Sizes beyond int (or zero) are reported as unknown; callers then refuse the file.
void SetSize(ImageHeader& header, std::int64_t width, std::int64_t height) {
    if (width > 0 && height > 0 && width <= std::numeric_limits<int>::max() &&
        height <= std::numeric_limits<int>::max()) {
        header.width = static_cast<int>(width);
        header.height = static_cast<int>(height);
    }
}

int LittleEndian24(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

// The first chunk after "RIFF", size, "WEBP" tells the canvas size: an extended file's VP8X
// header, a lossless VP8L bitstream's header or a lossy VP8 key frame's header.
void ProbeWebpSize(const unsigned char* data, std::size_t size, ImageHeader& header) {
    if (size < 30)
        return;
    const unsigned char* payload = data + 20;
    if (StartsWith(data + 12, 4, "VP8X", 4)) {
        SetSize(header, std::int64_t{LittleEndian24(payload + 4)} + 1,
                std::int64_t{LittleEndian24(payload + 7)} + 1);
    } else if (StartsWith(data + 12, 4, "VP8L", 4) && payload[0] == 0x2F) {
        const std::uint32_t bits = LittleEndian32(payload + 1);
        SetSize(header, (bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
    } else if (StartsWith(data + 12, 4, "VP8 ", 4) && payload[3] == 0x9D && payload[4] == 0x01 &&
               payload[5] == 0x2A) {
        SetSize(header, LittleEndian16(payload + 6) & 0x3FFF, LittleEndian16(payload + 8) & 0x3FFF);
    }
}

int BigEndian16(const unsigned char* p) {
    return (p[0] << 8) | p[1];
}

// The size in the first frame header (SOF0 to SOF15 but DHT, JPG and DAC), found by walking the
// marker segments from the SOI; nothing when the scan or the end of the data comes first.
void ReadJpegFrameSize(const unsigned char* data, std::size_t size, ImageHeader& header) {
    std::size_t at = 2;
    while (at + 1 < size) {
        if (data[at] != 0xFF)
            return; // not a marker where one must be
        const unsigned char marker = data[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue; // TEM, RSTn, SOI: no length
        if (marker == 0xD9 || marker == 0xDA || at + 2 > size)
            return;
        const std::size_t length = static_cast<std::size_t>(BigEndian16(data + at));
        if (length < 2)
            return;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            // Length, precision, height, width.
            if (length < 8 || at + 7 > size)
                return;
            SetSize(header, BigEndian16(data + at + 5), BigEndian16(data + at + 3));
            return;
        }
        at += length;
    }
}

} // namespace

ImageHeader ProbeImageHeader(const unsigned char* data, std::size_t size) {
    ImageHeader header;
    if (!data)
        return header;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        header.format = ImageFormat::Jpeg;
        ReadJpegFrameSize(data, size, header);
        return header;
    }
    if (StartsWith(data, size, "\x89PNG\r\n\x1A\n", 8)) {
        header.format = ImageFormat::Png;
        // The first chunk must be IHDR: length, type, then width and height big-endian.
        if (size >= 24 && StartsWith(data + 12, size - 12, "IHDR", 4))
            SetSize(header, BigEndian32(data + 16), BigEndian32(data + 20));
        return header;
    }
    if (StartsWith(data, size, "GIF87a", 6) || StartsWith(data, size, "GIF89a", 6)) {
        header.format = ImageFormat::Gif;
        if (size >= 10)
            SetSize(header, LittleEndian16(data + 6), LittleEndian16(data + 8));
        return header;
    }
    if (StartsWith(data, size, "RIFF", 4) && size >= 12 && StartsWith(data + 8, size - 8, "WEBP", 4)) {
        header.format = ImageFormat::Webp;
        ProbeWebpSize(data, size, header);
        return header;
    }
    if (StartsWith(data, size, "II*\0", 4) || StartsWith(data, size, "MM\0*", 4)) {
        header.format = ImageFormat::Tiff;
        return header;
    }
    if (StartsWith(data, size, "BM", 2)) {
        header.format = ImageFormat::Bmp;
        if (size < 26)
            return header;
        const std::uint32_t infoSize = LittleEndian32(data + 14);
        if (infoSize == 12) { // the old core header: 16-bit sizes
            SetSize(header, LittleEndian16(data + 18), LittleEndian16(data + 20));
        } else if (infoSize >= 40) {
            // A negative height marks a top-down bitmap.
            const auto width = static_cast<std::int32_t>(LittleEndian32(data + 18));
            const auto height = static_cast<std::int32_t>(LittleEndian32(data + 22));
            SetSize(header, width, height < 0 ? -static_cast<std::int64_t>(height) : height);
        }
        return header;
    }
    return header;
}

void SizeFromTiffDirectory(const unsigned char* data, std::size_t size, bool littleEndian,
                           ImageHeader& header) {
    auto u16 = [&](const unsigned char* p) { return littleEndian ? p[0] | (p[1] << 8) : (p[0] << 8) | p[1]; };
    auto u32 = [&](const unsigned char* p) { return littleEndian ? LittleEndian32(p) : BigEndian32(p); };
    if (!data || size < 2)
        return;
    std::int64_t width = 0, height = 0;
    const std::size_t count = static_cast<std::size_t>(u16(data));
    for (std::size_t i = 0; i < count && 2 + i * 12 + 12 <= size; ++i) {
        const unsigned char* e = data + 2 + i * 12;
        const int tag = u16(e), type = u16(e + 2);
        // A single SHORT or LONG sits at the start of the entry's value field.
        const std::int64_t value = type == 3 ? u16(e + 8) : type == 4 ? u32(e + 8) : 0;
        if (tag == 256)
            width = value;
        else if (tag == 257)
            height = value;
    }
    SetSize(header, width, height);
}

bool PictureSizeAllowed(int width, int height, int scale) {
    if (width < 1 || height < 1 || scale < 1)
        return false;
    const std::int64_t w = width, h = height;
    const std::int64_t decodedW = (w + scale - 1) / scale, decodedH = (h + scale - 1) / scale;
    return w * h <= kMaxPicturePixels && decodedW * decodedH <= kMaxDecodedPixels;
}

bool BmpRowsComplete(const unsigned char* file, std::size_t size) {
    if (!file || size < 34 || file[0] != 'B' || file[1] != 'M' || LittleEndian32(file + 14) < 40)
        return true; // not an RLE bitmap: nothing to walk
    const std::uint32_t compression = LittleEndian32(file + 30);
    if (compression != 1 && compression != 2)
        return true;
    const bool rle4 = compression == 2;
    const auto height = static_cast<std::int32_t>(LittleEndian32(file + 22));
    const std::size_t offset = LittleEndian32(file + 10);
    if (height <= 0 || offset >= size)
        return false; // RLE bitmaps are stored bottom-up only
    const unsigned char* p = file + offset;
    const unsigned char* end = file + size;
    std::int64_t row = 0;
    while (end - p >= 2) {
        const unsigned count = p[0], code = p[1];
        p += 2;
        if (count > 0)
            continue; // a run of one colour
        if (code == 0) {
            ++row; // end of line
        } else if (code == 1) {
            // End of bitmap: complete when it comes on the last row or after it.
            return row >= height - 1;
        } else if (code == 2) {
            if (end - p < 2)
                return false;
            row += p[1];
            p += 2;
        } else {
            // Literal pixels, padded to a whole number of 16-bit words.
            const std::size_t bytes = rle4 ? (code + 1) / 2 : code;
            const std::size_t padded = bytes + (bytes & 1);
            if (static_cast<std::size_t>(end - p) < padded)
                return false;
            p += padded;
        }
    }
    return false; // the data ends without the end-of-bitmap mark
}

} // namespace tessary
