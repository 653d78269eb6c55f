// Byte builders for the containers of the picture formats (JPEG segments, TIFF and Exif blocks,
// RIFF chunks), shared by the portable and the Windows tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace imagebytes {

using Bytes = std::vector<unsigned char>;

// v in the given number of bytes, little- or big-endian.
inline void Put(Bytes& b, std::uint32_t v, int bytes, bool little = true) {
    for (int i = 0; i < bytes; ++i)
        b.push_back(static_cast<unsigned char>(v >> (8 * (little ? i : bytes - 1 - i))));
}
inline void Append(Bytes& b, const std::string& text) {
    b.insert(b.end(), text.begin(), text.end());
}

// A TIFF structure whose IFD0 holds a width tag, then the orientation (of the given type), and
// whose next-directory offset is nextIfd.
inline Bytes Tiff(std::uint32_t orientation, bool little = true, std::uint32_t type = 3,
                  std::uint32_t nextIfd = 0) {
    Bytes b;
    Append(b, little ? "II" : "MM");
    for (const auto& [value, size] : {std::pair<std::uint32_t, int>{42, 2},
                                      {8, 4},
                                      {2, 2},
                                      {0x0100, 2},
                                      {4, 2},
                                      {1, 4},
                                      {640, 4},
                                      {0x0112, 2},
                                      {type, 2},
                                      {1, 4}})
        Put(b, value, size, little); // the header, then ImageWidth (LONG 640), then the orientation
    Put(b, orientation, type == 3 ? 2 : 4, little);
    if (type == 3)
        Put(b, 0, 2, little);
    Put(b, nextIfd, 4, little);
    return b;
}

inline Bytes Exif(const Bytes& tiff) {
    Bytes b;
    Append(b, std::string("Exif\0\0", 6));
    b.insert(b.end(), tiff.begin(), tiff.end());
    return b;
}

// A JPEG marker segment.
inline Bytes Segment(unsigned char marker, const Bytes& payload) {
    Bytes b{0xFF, marker};
    Put(b, static_cast<std::uint32_t>(payload.size() + 2), 2, false);
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

// A RIFF chunk, padded to an even length, and a WebP file of such chunks.
inline Bytes Chunk(const std::string& fourcc, const Bytes& payload) {
    Bytes b;
    Append(b, fourcc);
    Put(b, static_cast<std::uint32_t>(payload.size()), 4);
    b.insert(b.end(), payload.begin(), payload.end());
    if (payload.size() % 2)
        b.push_back(0);
    return b;
}
// A VP8X chunk (flags: 0x02 animation, 0x08 Exif, 0x10 alpha) and a lossless VP8L chunk's
// header (the signature 0x2F, then width - 1 and height - 1 in 14 bits each), both of a canvas of
// width x height.
inline Bytes Vp8x(std::uint32_t width, std::uint32_t height, unsigned char flags = 0x08) {
    Bytes p{flags, 0, 0, 0};
    Put(p, width - 1, 3);
    Put(p, height - 1, 3);
    return Chunk("VP8X", p);
}
inline Bytes Vp8l(std::uint32_t width, std::uint32_t height) {
    Bytes p{0x2F};
    Put(p, (width - 1) | ((height - 1) << 14), 4);
    p.resize(10);
    return Chunk("VP8L", p);
}
inline Bytes Webp(const std::vector<Bytes>& chunks) {
    Bytes body;
    Append(body, "WEBP");
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    Bytes b;
    Append(b, "RIFF");
    Put(b, static_cast<std::uint32_t>(body.size()), 4);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

} // namespace imagebytes
