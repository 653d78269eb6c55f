#include "imaging/JpegDc.h"
#include "imaging/JpegCodec.h"
#include <algorithm>
#include <array>
#include <climits>
#include <new>

namespace tessary {

namespace {

int Word(const unsigned char* p) {
    return (p[0] << 8) | p[1];
}

int CeilDiv(long long a, long long b) {
    return static_cast<int>((a + b - 1) / b);
}

// The bits of one scan's entropy-coded data: a stuffed FF 00 is an FF byte, and any other marker
// ends the data.
class BitReader {
public:
    BitReader(const unsigned char* data, std::size_t size, std::size_t at)
        : data_(data), size_(size), at_(at) {}
    // False when the data ends first: a decoder that needed that bit met missing data.
    bool Bit(int& bit) {
        if (count_ == 0 && !Fill())
            return false;
        --count_;
        bit = (byte_ >> count_) & 1;
        return true;
    }
    bool Bits(int n, int& value) {
        value = 0;
        for (int i = 0; i < n; ++i) {
            int bit = 0;
            if (!Bit(bit))
                return false;
            value = (value << 1) | bit;
        }
        return true;
    }
    // A restart marker must come next: its number is expected.
    bool Restart(int expected) {
        count_ = 0;
        if (at_ + 1 >= size_ || data_[at_] != 0xFF || data_[at_ + 1] != 0xD0 + expected)
            return false;
        at_ += 2;
        return true;
    }
    std::size_t at() const { return at_; }

private:
    bool Fill() {
        if (at_ >= size_)
            return false;
        const unsigned char b = data_[at_];
        if (b == 0xFF) {
            if (at_ + 1 >= size_ || data_[at_ + 1] != 0x00)
                return false;
            ++at_;
        }
        ++at_;
        byte_ = b;
        count_ = 8;
        return true;
    }
    const unsigned char* data_;
    std::size_t size_;
    std::size_t at_;
    int byte_ = 0, count_ = 0;
};

// The scan's data ends at the first marker that is not a restart marker.
bool SkipEntropyData(const unsigned char* data, std::size_t size, std::size_t& at) {
    for (; at + 1 < size; ++at)
        if (data[at] == 0xFF && data[at + 1] != 0x00 && data[at + 1] != 0xFF &&
            (data[at + 1] < 0xD0 || data[at + 1] > 0xD7))
            return true;
    return false;
}

unsigned char Clamp255(int v) {
    return static_cast<unsigned char>(std::clamp(v, 0, 255));
}

// libjpeg's YCbCr to RGB, in its fixed point.
constexpr int kOneHalf = 1 << 15;
constexpr int Fix(double x) {
    return static_cast<int>(x * 65536.0 + 0.5);
}

// Linear interpolation between the samples of a subsampled component, centred as its samples are
// (2 x 1 gives the 3/4, 1/4 weights of libjpeg's fancy upsampling): the sample position of
// output i, in units of 1/(2 f) of a sample, and the two samples it lies between.
struct Tap {
    int first, second, weight, total;
};
Tap TapFor(int i, int factor, int count) {
    const int total = 2 * factor;
    const int pos = 2 * i + 1 - factor;
    const int first = pos >= 0 ? pos / total : -1;
    const int weight = pos - first * total;
    return {std::clamp(first, 0, count - 1), std::clamp(first + 1, 0, count - 1), weight, total};
}

} // namespace

bool JpegDcReader::Frame(const unsigned char* p, std::size_t length, std::size_t maxBlocks) {
    if (!components_.empty() || length < 6 || p[0] != 8)
        return false;
    fullHeight_ = Word(p + 1);
    fullWidth_ = Word(p + 3);
    const int count = p[5];
    if (fullWidth_ == 0 || fullHeight_ == 0 || (count != 1 && count != 3) ||
        length != 6 + static_cast<std::size_t>(count) * 3)
        return false;
    components_.resize(static_cast<std::size_t>(count));
    maxH_ = maxV_ = 1;
    for (int c = 0; c < count; ++c) {
        Component& comp = components_[static_cast<std::size_t>(c)];
        comp.id = p[6 + c * 3];
        comp.h = p[7 + c * 3] >> 4;
        comp.v = p[7 + c * 3] & 15;
        comp.quantTable = p[8 + c * 3];
        if (comp.h < 1 || comp.h > 4 || comp.v < 1 || comp.v > 4 || comp.quantTable > 3)
            return false;
        maxH_ = std::max(maxH_, comp.h);
        maxV_ = std::max(maxV_, comp.v);
    }
    mcusWide_ = CeilDiv(fullWidth_, 8LL * maxH_);
    mcusHigh_ = CeilDiv(fullHeight_, 8LL * maxV_);
    width_ = CeilDiv(fullWidth_, 8);
    height_ = CeilDiv(fullHeight_, 8);
    long long blocks = 0;
    for (Component& comp : components_) {
        if (maxH_ % comp.h != 0 || maxV_ % comp.v != 0)
            return false; // fractional subsampling: libjpeg refuses it too
        comp.blocksWide = CeilDiv(static_cast<long long>(fullWidth_) * comp.h, 8LL * maxH_);
        comp.blocksHigh = CeilDiv(static_cast<long long>(fullHeight_) * comp.v, 8LL * maxV_);
        comp.stride = mcusWide_ * comp.h; // whole MCUs, whatever the scans
        comp.rows = mcusHigh_ * comp.v;
        comp.received.fill(-1);
        blocks += static_cast<long long>(comp.stride) * comp.rows;
    }
    // Every block's DC takes at least one bit of the file: a header claiming more blocks than
    // that is refused before anything is allocated for them.
    if (blocks > static_cast<long long>(std::min<std::size_t>(maxBlocks, LLONG_MAX / 2)))
        return false;
    for (Component& comp : components_)
        comp.dc.assign(static_cast<std::size_t>(comp.stride) * static_cast<std::size_t>(comp.rows), 0);
    return true;
}

// Every table is checked as libjpeg checks the ones it uses; only the DC tables are kept.
bool JpegDcReader::Tables(const unsigned char* p, std::size_t length) {
    std::size_t at = 0;
    while (at < length) {
        if (length - at < 17)
            return false;
        const int kind = p[at] >> 4, slot = p[at] & 15;
        int total = 0;
        for (int i = 1; i <= 16; ++i)
            total += p[at + i];
        if (kind > 1 || slot > 3 || total > 256 || length - at - 17 < static_cast<std::size_t>(total))
            return false;
        Huffman table;
        int code = 0, index = 0;
        for (int bits = 1; bits <= 16; ++bits) {
            const int n = p[at + bits];
            table.offset[bits] = index - code;
            table.maxCode[bits] = n ? code + n - 1 : -1;
            const bool more = index < total; // codes of this length or longer remain
            code += n;
            index += n;
            if (more && code >= (1 << bits))
                return false; // more codes than the length allows (or an all-ones code)
            code <<= 1;
        }
        for (int i = 0; i < total; ++i) {
            table.values[i] = p[at + 17 + static_cast<std::size_t>(i)];
            if (kind == 0 && table.values[i] > 15)
                return false;
        }
        table.defined = true;
        if (kind == 0)
            dcTables_[slot] = table;
        at += 17 + static_cast<std::size_t>(total);
    }
    return true;
}

bool JpegDcReader::Quantisers(const unsigned char* p, std::size_t length) {
    std::size_t at = 0;
    while (at < length) {
        const int precision = p[at] >> 4, slot = p[at] & 15;
        const std::size_t bytes = precision ? 128 : 64;
        if (precision > 1 || slot > 3 || length - at - 1 < bytes)
            return false;
        quant0_[slot] = static_cast<std::uint16_t>(precision ? Word(p + at + 1) : p[at + 1]);
        quantDefined_[slot] = true;
        at += 1 + bytes;
    }
    return true;
}

bool JpegDcReader::DcScan(const unsigned char* data, std::size_t size, std::size_t& at, const ScanPart* parts,
                          int count, int al, bool refine) {
    BitReader bits(data, size, at);
    int predictions[4] = {};
    const bool interleaved = count > 1;
    const Component& only = components_[static_cast<std::size_t>(parts[0].component)];
    const int mcusWide = interleaved ? mcusWide_ : only.blocksWide;
    const int mcusHigh = interleaved ? mcusHigh_ : only.blocksHigh;
    const long long mcus = static_cast<long long>(mcusWide) * mcusHigh;
    int nextRestart = 0;
    for (long long m = 0; m < mcus; ++m) {
        if (restartInterval_ && m > 0 && m % restartInterval_ == 0) {
            if (!bits.Restart(nextRestart))
                return false;
            nextRestart = (nextRestart + 1) & 7;
            std::fill(std::begin(predictions), std::end(predictions), 0);
        }
        const int mx = static_cast<int>(m % mcusWide), my = static_cast<int>(m / mcusWide);
        for (int s = 0; s < count; ++s) {
            Component& comp = components_[static_cast<std::size_t>(parts[s].component)];
            const int bw = interleaved ? comp.h : 1, bh = interleaved ? comp.v : 1;
            for (int by = 0; by < bh; ++by)
                for (int bx = 0; bx < bw; ++bx) {
                    std::int16_t& dc = comp.dc[static_cast<std::size_t>(my * bh + by) * comp.stride +
                                               static_cast<std::size_t>(mx * bw + bx)];
                    int bit = 0;
                    if (refine) {
                        if (!bits.Bit(bit))
                            return false;
                        if (bit)
                            dc = static_cast<std::int16_t>(dc | (1 << al));
                        continue;
                    }
                    const Huffman& table = dcTables_[parts[s].dcTable];
                    int code = 0, category = -1;
                    for (int length = 1; length <= 16 && category < 0; ++length) {
                        if (!bits.Bit(bit))
                            return false;
                        code = (code << 1) | bit;
                        const int index = table.offset[length] + code;
                        if (code <= table.maxCode[length] && index >= 0 && index < 256)
                            category = table.values[index];
                    }
                    int diff = 0;
                    if (category < 0 || !bits.Bits(category, diff))
                        return false;
                    if (category && diff < (1 << (category - 1)))
                        diff -= (1 << category) - 1;
                    int& prediction = predictions[s];
                    if ((prediction > 0 && diff > INT_MAX - prediction) ||
                        (prediction < 0 && diff < INT_MIN - prediction))
                        return false;
                    prediction += diff;
                    dc = static_cast<std::int16_t>(static_cast<unsigned>(prediction) << al);
                }
        }
    }
    at = bits.at();
    return true;
}

bool JpegDcReader::Scan(const unsigned char* p, std::size_t length, const unsigned char* data,
                        std::size_t size, std::size_t& at) {
    const int count = length >= 6 ? p[0] : 0;
    if (count < 1 || count > 4 || length != 6 + static_cast<std::size_t>(count) * 2)
        return false;
    const int ss = p[1 + count * 2], se = p[2 + count * 2];
    const int ah = p[3 + count * 2] >> 4, al = p[3 + count * 2] & 15;
    ScanPart parts[4];
    int blocks = 0;
    for (int s = 0; s < count; ++s) {
        const int id = p[1 + s * 2];
        const auto found = std::find_if(components_.begin(), components_.end(),
                                        [&](const Component& c) { return c.id == id; });
        if (found == components_.end() || std::any_of(parts, parts + s, [&](const ScanPart& before) {
                return before.component == found - components_.begin();
            }))
            return false; // not in the frame, or twice in the scan
        parts[s].component = static_cast<int>(found - components_.begin());
        parts[s].dcTable = p[2 + s * 2] >> 4;
        blocks += found->h * found->v;
    }
    const bool dcScan = ss == 0;
    if ((dcScan && se != 0) || (!dcScan && (se < ss || se > 63 || count != 1)) || al > 13 ||
        (ah != 0 && al != ah - 1) || (count > 1 && blocks > 10))
        return false;
    for (int s = 0; s < count; ++s) {
        Component& comp = components_[static_cast<std::size_t>(parts[s].component)];
        if (!comp.latched) {
            if (!quantDefined_[comp.quantTable])
                return false;
            comp.quant0 = quant0_[comp.quantTable];
            comp.latched = true;
        }
        if (!dcScan && comp.received[0] < 0)
            return false;
        for (int k = ss; k <= se; ++k) {
            signed char& bit = comp.received[static_cast<std::size_t>(k)];
            if (ah != std::max<int>(bit, 0))
                return false;
            bit = static_cast<signed char>(al);
        }
        if (dcScan && ah == 0 && (parts[s].dcTable > 3 || !dcTables_[parts[s].dcTable].defined))
            return false;
    }
    return dcScan ? DcScan(data, size, at, parts, count, al, ah != 0) : SkipEntropyData(data, size, at);
}

bool JpegDcReader::Read(const unsigned char* data, std::size_t size) {
    components_.clear();
    restartInterval_ = 0;
    for (auto& table : dcTables_)
        table.defined = false;
    std::fill(std::begin(quantDefined_), std::end(quantDefined_), false);
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    try {
        std::size_t at = 2;
        for (int scans = 0;;) {
            while (at < size && data[at] != 0xFF)
                ++at; // stray bytes before a marker: libjpeg skips them too
            while (at < size && data[at] == 0xFF)
                ++at;
            if (at >= size)
                return false;
            const int marker = data[at++];
            if (marker == 0xD9)
                break;
            if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8) || at + 2 > size)
                return false;
            const std::size_t length = static_cast<std::size_t>(Word(data + at));
            if (length < 2 || length > size - at)
                return false;
            const unsigned char* p = data + at + 2;
            at += length;
            bool ok = true;
            if (marker == 0xC2) {
                ok = Frame(p, length - 2, size * 8);
            } else if (marker == 0xC4) {
                ok = Tables(p, length - 2);
            } else if (marker == 0xDB) {
                ok = Quantisers(p, length - 2);
            } else if (marker == 0xDD) {
                ok = length == 4;
                restartInterval_ = ok ? Word(p) : 0;
            } else if ((marker >= 0xC0 && marker <= 0xCF) || marker == 0xDC) {
                return false; // another kind of frame, arithmetic coding, a height given late
            } else if (marker == 0xDA) {
                if (components_.empty() || ++scans > kJpegMaxScans)
                    return false;
                ok = Scan(p, length, data, size, at);
            }
            if (!ok)
                return false;
        }
        if (components_.empty())
            return false;
        for (const Component& comp : components_)
            if (comp.received[0] != 0)
                return false; // a DC coefficient never came, or not to its last bit
        MakeSamples();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void JpegDcReader::MakeSamples() {
    for (Component& comp : components_) {
        comp.samples.resize(static_cast<std::size_t>(comp.blocksWide) * comp.blocksHigh);
        for (int y = 0; y < comp.blocksHigh; ++y)
            for (int x = 0; x < comp.blocksWide; ++x) {
                const long long value =
                    static_cast<long long>(comp.dc[static_cast<std::size_t>(y) * comp.stride + x]) *
                    comp.quant0;
                // libjpeg's 1 x 1 inverse DCT: an eighth of the DC value, rounded, about the centre.
                comp.samples[static_cast<std::size_t>(y) * comp.blocksWide + x] =
                    Clamp255(static_cast<int>(std::clamp((value + 4) >> 3, -1024LL, 1024LL)) + 128);
            }
        std::vector<std::int16_t>().swap(comp.dc);
    }
}

void JpegDcReader::Row(int y, std::uint32_t* out) const {
    // Each component's samples along this row, interpolated where the component is subsampled.
    auto line = [&](const Component& comp, std::vector<unsigned char>& into) -> const unsigned char* {
        const unsigned char* samples = comp.samples.data();
        const int fx = maxH_ / comp.h, fy = maxV_ / comp.v;
        if (fx == 1 && fy == 1)
            return samples + static_cast<std::size_t>(y) * comp.blocksWide;
        into.resize(static_cast<std::size_t>(width_));
        const Tap ty = TapFor(y, fy, comp.blocksHigh);
        const unsigned char* r0 = samples + static_cast<std::size_t>(ty.first) * comp.blocksWide;
        const unsigned char* r1 = samples + static_cast<std::size_t>(ty.second) * comp.blocksWide;
        for (int x = 0; x < width_; ++x) {
            const Tap tx = TapFor(x, fx, comp.blocksWide);
            const int top = r0[tx.first] * (tx.total - tx.weight) + r0[tx.second] * tx.weight;
            const int bottom = r1[tx.first] * (tx.total - tx.weight) + r1[tx.second] * tx.weight;
            const int whole = tx.total * ty.total;
            into[static_cast<std::size_t>(x)] = static_cast<unsigned char>(
                (top * (ty.total - ty.weight) + bottom * ty.weight + whole / 2) / whole);
        }
        return into.data();
    };
    const unsigned char* luma = line(components_[0], lines_[0]);
    if (components_.size() == 1) {
        for (int x = 0; x < width_; ++x)
            out[x] = 0xFF000000u | luma[x] * 0x010101u;
        return;
    }
    const unsigned char* cb = line(components_[1], lines_[1]);
    const unsigned char* cr = line(components_[2], lines_[2]);
    for (int x = 0; x < width_; ++x) {
        const int l = luma[x], b = cb[x] - 128, r = cr[x] - 128;
        const int red = l + ((Fix(1.40200) * r + kOneHalf) >> 16);
        const int green = l + ((-Fix(0.34414) * b - Fix(0.71414) * r + kOneHalf) >> 16);
        const int blue = l + ((Fix(1.77200) * b + kOneHalf) >> 16);
        out[x] = 0xFF000000u | (static_cast<std::uint32_t>(Clamp255(red)) << 16) |
                 (static_cast<std::uint32_t>(Clamp255(green)) << 8) | Clamp255(blue);
    }
}

void JpegDcReader::Release() {
    std::vector<Component>().swap(components_);
    for (auto& line : lines_)
        std::vector<unsigned char>().swap(line);
}

} // namespace tessary
