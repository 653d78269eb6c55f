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

} // namespace

ImageHeader ProbeImageHeader(const unsigned char* data, std::size_t size) {
    ImageHeader header;
    if (!data)
        return header;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        header.format = ImageFormat::Jpeg;
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

} // namespace tessary
