#include "imaging/BmpFile.h"

namespace tessary {

namespace {

void Put16(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
void Put32(unsigned char* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;

} // namespace

Bmp24Layout Bmp24LayoutFor(int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    Bmp24Layout layout;
    layout.headerBytes = kFileHeaderBytes + kInfoHeaderBytes;
    layout.rowBytes = (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
    layout.totalBytes = layout.headerBytes + layout.rowBytes * static_cast<std::uint64_t>(height);
    return layout.totalBytes > 0x7FFFFFFFu ? Bmp24Layout{} : layout;
}

std::vector<unsigned char> Bmp24Header(int width, int height) {
    const Bmp24Layout layout = Bmp24LayoutFor(width, height);
    if (layout.totalBytes == 0)
        return {};
    std::vector<unsigned char> header(static_cast<std::size_t>(layout.headerBytes), 0);
    unsigned char* h = header.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, static_cast<std::uint32_t>(layout.totalBytes));
    Put32(h + 10, static_cast<std::uint32_t>(layout.headerBytes)); // where the pixels start
    unsigned char* info = h + kFileHeaderBytes;
    Put32(info, kInfoHeaderBytes);
    Put32(info + 4, static_cast<std::uint32_t>(width));
    Put32(info + 8, static_cast<std::uint32_t>(height)); // positive: bottom-up
    Put16(info + 12, 1);                                 // planes
    Put16(info + 14, 24);                                // bits per pixel
    Put32(info + 20, static_cast<std::uint32_t>(layout.rowBytes * static_cast<std::uint64_t>(height)));
    Put32(info + 24, 2835); // 72 dots per inch, in dots per metre
    Put32(info + 28, 2835);
    return header;
}

void PackBmp24Row(const std::uint32_t* row, int width, unsigned char* out) {
    for (int x = 0; x < width; ++x) {
        out[3 * x + 0] = static_cast<unsigned char>(row[x]);       // blue
        out[3 * x + 1] = static_cast<unsigned char>(row[x] >> 8);  // green
        out[3 * x + 2] = static_cast<unsigned char>(row[x] >> 16); // red
    }
}

std::vector<unsigned char> EncodeBmp24(const std::uint32_t* pixels, int width, int height, int stridePixels) {
    const Bmp24Layout layout = Bmp24LayoutFor(width, height);
    if (!pixels || stridePixels < width || layout.totalBytes == 0)
        return {};
    std::vector<unsigned char> file = Bmp24Header(width, height);
    file.resize(static_cast<std::size_t>(layout.totalBytes), 0);
    unsigned char* out = file.data() + layout.headerBytes;
    for (int y = height - 1; y >= 0; --y, out += layout.rowBytes)
        PackBmp24Row(pixels + static_cast<std::ptrdiff_t>(y) * stridePixels, width, out);
    return file;
}

} // namespace tessary
