#include "imaging/ExifOrientation.h"
#include <cstdint>
#include <cstring>
#include <optional>

namespace tessary {

namespace {

constexpr int kUpright = 1;
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;

class ByteOrder {
public:
    explicit ByteOrder(bool little) : little_(little) {}
    std::uint32_t U16(const unsigned char* p) const {
        return little_ ? (p[0] | (p[1] << 8)) : ((p[0] << 8) | p[1]);
    }
    std::uint32_t U32(const unsigned char* p) const {
        return little_ ? (std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
                          (std::uint32_t{p[3]} << 24))
                       : ((std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
                          (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]});
    }

private:
    bool little_;
};

bool StartsWith(const unsigned char* data, std::size_t size, const char* magic, std::size_t length) {
    return size >= length && std::memcmp(data, magic, length) == 0;
}

std::uint32_t LittleEndian32(const unsigned char* p) {
    return ByteOrder(true).U32(p);
}

int ValidOrNone(std::uint32_t value) {
    return value >= 1 && value <= 8 ? static_cast<int>(value) : kUpright;
}

} // namespace

std::optional<TiffDirectory> FirstTiffDirectory(const unsigned char* data, std::size_t size) {
    if (!data || size < 8)
        return std::nullopt;
    bool little = false;
    if (StartsWith(data, size, "II", 2))
        little = true;
    else if (!StartsWith(data, size, "MM", 2))
        return std::nullopt;
    const ByteOrder order(little);
    if (order.U16(data + 2) != 42)
        return std::nullopt;
    const std::uint32_t offset = order.U32(data + 4);
    if (offset < 8)
        return std::nullopt;
    return TiffDirectory{offset, little};
}

int OrientationFromTiffDirectory(const unsigned char* data, std::size_t size, bool littleEndian) {
    if (!data || size < 2)
        return kUpright;
    const ByteOrder order(littleEndian);
    const std::size_t count = order.U16(data);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 2 + i * 12;
        if (entry + 12 > size)
            break; // a directory cut short: what is there has been read
        const unsigned char* e = data + entry;
        if (order.U16(e) != kOrientationTag)
            continue;
        const std::uint32_t type = order.U16(e + 2);
        if (order.U32(e + 4) < 1)
            return kUpright;
        // A single value sits in the entry itself, at the start of its 4-byte value field.
        if (type == kTypeShort)
            return ValidOrNone(order.U16(e + 8));
        if (type == kTypeLong)
            return ValidOrNone(order.U32(e + 8));
        return kUpright;
    }
    return kUpright;
}

int OrientationFromTiff(const unsigned char* data, std::size_t size) {
    // Only IFD0 is read (the next directories describe the embedded preview), so no chain of
    // directory offsets is followed and a looping chain costs nothing.
    const auto ifd0 = FirstTiffDirectory(data, size);
    if (!ifd0 || ifd0->offset >= size)
        return kUpright;
    return OrientationFromTiffDirectory(data + ifd0->offset, size - ifd0->offset, ifd0->littleEndian);
}

int OrientationFromExif(const unsigned char* data, std::size_t size) {
    if (StartsWith(data, size, "Exif\0\0", 6))
        return OrientationFromTiff(data + 6, size - 6);
    return OrientationFromTiff(data, size);
}

int OrientationFromJpeg(const unsigned char* data, std::size_t size) {
    if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return kUpright;
    std::size_t pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF)
            return kUpright; // not a marker: the stream is damaged here
        const unsigned char marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte before a marker
            ++pos;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) { // markers without a length
            pos += 2;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // picture data or the end: no Exif before it
            return kUpright;
        const std::size_t length = (std::size_t{data[pos + 2]} << 8) | data[pos + 3];
        if (length < 2)
            return kUpright;
        const std::size_t payload = pos + 4;
        const std::size_t payloadSize = length - 2;
        if (marker == 0xE1 && StartsWith(data + payload, size - payload, "Exif\0\0", 6)) {
            // Only the part of the segment that is in the data (its end may lie beyond).
            const std::size_t available = size - payload < payloadSize ? size - payload : payloadSize;
            return OrientationFromExif(data + payload, available);
        }
        pos = payload + payloadSize;
    }
    return kUpright;
}

int OrientationFromWebp(const unsigned char* data, std::size_t size) {
    if (!data || size < 12 || !StartsWith(data, size, "RIFF", 4) || std::memcmp(data + 8, "WEBP", 4) != 0)
        return kUpright;
    std::uint64_t pos = 12;
    while (pos + 8 <= size) {
        const unsigned char* chunk = data + pos;
        const std::uint64_t chunkSize = LittleEndian32(chunk + 4);
        const std::uint64_t payload = pos + 8;
        if (std::memcmp(chunk, "EXIF", 4) == 0) {
            const std::uint64_t available = size - payload < chunkSize ? size - payload : chunkSize;
            return OrientationFromExif(data + payload, static_cast<std::size_t>(available));
        }
        pos = payload + chunkSize + (chunkSize & 1); // chunks are padded to an even size
    }
    return kUpright;
}

int OrientationFromFileStart(const unsigned char* data, std::size_t size) {
    if (!data)
        return kUpright;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return OrientationFromJpeg(data, size);
    if (StartsWith(data, size, "II*\0", 4) || StartsWith(data, size, "MM\0*", 4))
        return OrientationFromTiff(data, size);
    return OrientationFromWebp(data, size);
}

bool OrientationSwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

} // namespace tessary
