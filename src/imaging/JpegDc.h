// A progressive JPEG reduced by 1/8 shows nothing but the DC coefficient of each block, and a
// progressive file keeps its DC coefficients in scans of their own. Reading only those scans and
// skipping the rest gives that picture at a small fraction of libjpeg's time, holding two bytes
// per block where libjpeg holds the whole image's coefficients (up to a hundred megabytes for a
// 5000-pixel photo). No library decodes DC scans alone, hence this reader; it takes only files
// it can read in full and leaves everything else (and every judgement of damage) to libjpeg.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessary {

class JpegDcReader {
public:
    // Reads a progressive, Huffman-coded, 8-bit greyscale or YCbCr file whose structure is sound
    // from its start to its end-of-image marker and whose DC scans decode exactly. False for
    // anything else: another kind of JPEG, a file cut short, a bad table, restart markers out of
    // sequence, data running out inside a scan, DC coefficients never fully refined.
    bool Read(const unsigned char* data, std::size_t size);
    // The picture at 1/8, the size libjpeg gives it (each side rounded up).
    int width() const { return width_; }
    int height() const { return height_; }
    // Row y as 0xAARRGGBB words with alpha 255: colours converted as libjpeg converts them,
    // subsampled chroma interpolated between neighbouring blocks.
    void Row(int y, std::uint32_t* out) const;
    // Gives the buffers back (after a very large image, say).
    void Release();

private:
    struct Component {
        int id = 0, h = 1, v = 1, quantTable = 0;
        int blocksWide = 0, blocksHigh = 0; // blocks the component's samples fill
        int stride = 0, rows = 0;           // blocks held: whole MCUs
        // The lowest bit received of each coefficient, -1 before its first scan, kept as libjpeg
        // keeps it: a scan that does not follow on (a refinement of what never came, AC before
        // DC) is damage to it.
        std::array<signed char, 64> received{};
        bool latched = false;
        std::uint16_t quant0 = 0; // the DC step, from the table current at the first scan
        std::vector<std::int16_t> dc;
        std::vector<unsigned char> samples; // blocksWide x blocksHigh, made after the last scan
    };
    struct Huffman {
        bool defined = false;
        std::int32_t maxCode[18] = {};
        std::int32_t offset[18] = {};
        unsigned char values[256] = {};
    };
    struct ScanPart {
        int component = 0;
        int dcTable = 0;
    };

    bool Frame(const unsigned char* p, std::size_t length, std::size_t maxBlocks);
    bool Tables(const unsigned char* p, std::size_t length);
    bool Quantisers(const unsigned char* p, std::size_t length);
    // A scan whose header is p (length bytes) and whose data starts at data + at; at is left
    // after the last byte of its data.
    bool Scan(const unsigned char* p, std::size_t length, const unsigned char* data, std::size_t size,
              std::size_t& at);
    // A DC scan's data from data + at; at is left after the last byte it used.
    bool DcScan(const unsigned char* data, std::size_t size, std::size_t& at, const ScanPart* parts,
                int count, int al, bool refine);
    void MakeSamples();

    int fullWidth_ = 0, fullHeight_ = 0, width_ = 0, height_ = 0;
    int maxH_ = 1, maxV_ = 1, mcusWide_ = 0, mcusHigh_ = 0;
    int restartInterval_ = 0;
    std::vector<Component> components_;
    Huffman dcTables_[4];
    std::uint16_t quant0_[4] = {};
    bool quantDefined_[4] = {};
    mutable std::vector<unsigned char> lines_[3]; // a row of each component, interpolated
};

} // namespace tessary
