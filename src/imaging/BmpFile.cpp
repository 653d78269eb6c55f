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

std::vector<unsigned char> EncodeBmp24(const std::uint32_t* pixels, int width, int height, int stridePixels) {
    if (!pixels || width <= 0 || height <= 0 || stridePixels < width)
        return {};
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
    const std::uint64_t total =
        kFileHeaderBytes + kInfoHeaderBytes + rowBytes * static_cast<std::uint64_t>(height);
    if (total > 0x7FFFFFFFu)
        return {};
    std::vector<unsigned char> file(static_cast<std::size_t>(total), 0);
    unsigned char* h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, static_cast<std::uint32_t>(total));
    Put32(h + 10, kFileHeaderBytes + kInfoHeaderBytes); // where the pixels start
    unsigned char* info = h + kFileHeaderBytes;
    Put32(info, kInfoHeaderBytes);
    Put32(info + 4, static_cast<std::uint32_t>(width));
    Put32(info + 8, static_cast<std::uint32_t>(height)); // positive: bottom-up
    Put16(info + 12, 1);                                 // planes
    Put16(info + 14, 24);                                // bits per pixel
    Put32(info + 20, static_cast<std::uint32_t>(rowBytes * static_cast<std::uint64_t>(height)));
    Put32(info + 24, 2835); // 72 dots per inch, in dots per metre
    Put32(info + 28, 2835);

    unsigned char* out = info + kInfoHeaderBytes;
    for (int y = height - 1; y >= 0; --y, out += rowBytes) {
        const std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stridePixels;
        for (int x = 0; x < width; ++x) {
            out[3 * x + 0] = static_cast<unsigned char>(row[x]);       // blue
            out[3 * x + 1] = static_cast<unsigned char>(row[x] >> 8);  // green
            out[3 * x + 2] = static_cast<unsigned char>(row[x] >> 16); // red
        }
    }
    return file;
}

} // namespace tessary
