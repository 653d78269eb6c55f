#include "imaging/Scaler.h"
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdlib>

namespace tessary {

namespace {

// Weights are fixed point with 14 fraction bits and sum to exactly one per destination pixel, so
// a flat colour comes out unchanged. The vertical pass keeps 6 fraction bits of each channel for
// the horizontal one; every sum stays well inside 32 bits, even with Catmull-Rom's negative lobes.
constexpr int kWeightBits = 14;
constexpr std::int32_t kWeightOne = 1 << kWeightBits;
constexpr int kVerticalShift = 8;
constexpr int kFinalShift = 2 * kWeightBits - kVerticalShift;

enum class Kernel { Area, Linear, Cubic };

Kernel KernelFor(ScaleFilter filter, int srcLen, int dstLen) {
    if (filter == ScaleFilter::AreaAverage || dstLen <= srcLen)
        return Kernel::Area;
    return filter == ScaleFilter::Bilinear ? Kernel::Linear : Kernel::Cubic;
}

double CatmullRom(double x) {
    x = std::fabs(x);
    if (x < 1)
        return (1.5 * x - 2.5) * x * x + 1;
    if (x < 2)
        return ((-0.5 * x + 2.5) * x - 4) * x + 2;
    return 0;
}

// Turns real weights into fixed-point ones summing to exactly kWeightOne, dropping zero taps at
// either end. first is the source pixel of taps[0]; it moves with the trimming.
void AppendFixedWeights(ScaleScratch::Axis& axis, const std::vector<double>& taps, int first) {
    double sum = 0;
    for (double w : taps)
        sum += w;
    const std::size_t begin = axis.weights.size();
    std::int32_t fixedSum = 0;
    std::size_t largest = 0;
    for (std::size_t k = 0; k < taps.size(); ++k) {
        auto w = static_cast<std::int32_t>(std::lround(taps[k] / sum * kWeightOne));
        axis.weights.push_back(w);
        fixedSum += w;
        if (std::abs(w) > std::abs(axis.weights[begin + largest]))
            largest = k;
    }
    axis.weights[begin + largest] += kWeightOne - fixedSum;

    std::size_t end = axis.weights.size();
    std::size_t lead = begin;
    while (lead + 1 < end && axis.weights[lead] == 0)
        ++lead;
    while (end - 1 > lead && axis.weights[end - 1] == 0)
        --end;
    axis.weights.erase(axis.weights.begin() + static_cast<std::ptrdiff_t>(end), axis.weights.end());
    axis.weights.erase(axis.weights.begin() + static_cast<std::ptrdiff_t>(begin),
                       axis.weights.begin() + static_cast<std::ptrdiff_t>(lead));
    axis.tapStart.push_back(first + static_cast<int>(lead - begin));
    axis.tapOffset.push_back(static_cast<int>(axis.weights.size()));
}

// One axis: which destination pixels are drawn and from which source pixels with what weights.
// Destination pixel u covers source [srcPos + (u - dstPos) * scale, ... + scale); it is drawn when
// that interval overlaps the part of the source rectangle inside the source. Interval ends are kept
// exactly, in units of 1/dstLen measured from that part's start, so whether a pixel is drawn never
// depends on rounding (all products stay below 2^62).
void BuildAxis(ScaleScratch::Axis& axis, std::vector<double>& taps, int srcPos, int srcLen, int srcLimit,
               int dstPos, int dstLen, int dstLimit, Kernel kernel) {
    axis.tapStart.clear();
    axis.tapOffset.assign(1, 0);
    axis.weights.clear();
    axis.dstFirst = 0;
    axis.srcFirst = INT_MAX;
    axis.srcEnd = INT_MIN;

    const long long validLo = std::max<long long>(srcPos, 0);
    const long long validHi = std::min<long long>(static_cast<long long>(srcPos) + srcLen, srcLimit);
    if (validHi <= validLo)
        return;
    const long long unit = dstLen; // one source pixel
    const long long validEnd = (validHi - validLo) * unit;
    const double scale = static_cast<double>(srcLen) / dstLen;
    const long long uBegin = std::max<long long>(dstPos, 0);
    const long long uEnd = std::min<long long>(static_cast<long long>(dstPos) + dstLen, dstLimit);

    for (long long u = uBegin; u < uEnd; ++u) {
        const long long offset = u - dstPos;
        const long long a = (srcPos - validLo) * unit + offset * srcLen;
        const long long lo = std::max(a, 0LL);
        const long long hi = std::min(a + srcLen, validEnd);
        if (hi <= lo) {
            if (!axis.tapStart.empty())
                break; // past the drawn run
            continue;
        }
        if (axis.tapStart.empty())
            axis.dstFirst = static_cast<int>(u);

        int first = 0;
        taps.clear();
        if (kernel == Kernel::Area) {
            const long long firstPixel = lo / unit;
            const long long endPixel = (hi + unit - 1) / unit;
            for (long long i = firstPixel; i < endPixel; ++i)
                taps.push_back(static_cast<double>(std::min((i + 1) * unit, hi) - std::max(i * unit, lo)));
            first = static_cast<int>(validLo + firstPixel);
        } else {
            // Sample at the pixel's centre; taps beyond the edge repeat the edge pixel.
            const double centre = srcPos + (static_cast<double>(offset) + 0.5) * scale - 0.5;
            const double whole = std::floor(centre);
            const double t = centre - whole;
            double w[4] = {};
            int n = 0;
            long long base = static_cast<long long>(whole);
            if (kernel == Kernel::Linear) {
                w[0] = 1 - t;
                w[1] = t;
                n = 2;
            } else {
                base -= 1;
                w[0] = CatmullRom(t + 1);
                w[1] = CatmullRom(t);
                w[2] = CatmullRom(1 - t);
                w[3] = CatmullRom(2 - t);
                n = 4;
            }
            auto clampIndex = [&](long long i) { return std::clamp(i, validLo, validHi - 1); };
            first = static_cast<int>(clampIndex(base));
            taps.assign(static_cast<std::size_t>(clampIndex(base + n - 1) - first + 1), 0.0);
            for (int k = 0; k < n; ++k)
                taps[static_cast<std::size_t>(clampIndex(base + k) - first)] += w[k];
        }
        AppendFixedWeights(axis, taps, first);
        const int tapCount = axis.tapOffset.back() - axis.tapOffset[axis.tapOffset.size() - 2];
        axis.srcFirst = std::min(axis.srcFirst, axis.tapStart.back());
        axis.srcEnd = std::max(axis.srcEnd, axis.tapStart.back() + tapCount);
    }
}

// Bytes of a row summed at a time (a multiple of every vector width).
constexpr std::size_t kBlock = 512;

// sums[k] = weighted sum over the rows of row[k], rounded to the vertical pass's precision. A full
// block has a constant length, which lets the compiler vectorise it without a scalar remainder.
template <std::size_t N>
void SumBlock(const std::uint8_t* row, std::ptrdiff_t rowBytes, const std::int32_t* weights, int rows,
              std::int32_t* sums, std::size_t count) {
    std::int32_t block[N] = {};
    for (int r = 0; r < rows; ++r, row += rowBytes) {
        const std::int32_t w = weights[r];
        if (count == N) {
            for (std::size_t k = 0; k < N; ++k)
                block[k] += row[k] * w;
        } else {
            for (std::size_t k = 0; k < count; ++k)
                block[k] += row[k] * w;
        }
    }
    for (std::size_t k = 0; k < count; ++k)
        sums[k] = (block[k] + (1 << (kVerticalShift - 1))) >> kVerticalShift;
}

bool Usable(const std::uint32_t* pixels, int width, int height, int stride) {
    return pixels && width > 0 && height > 0 && stride >= width;
}

std::uint8_t ToByte(std::int32_t sum) {
    return static_cast<std::uint8_t>(std::clamp((sum + (1 << (kFinalShift - 1))) >> kFinalShift, 0, 255));
}

// Horizontal: the weighted sum of the column sums per destination pixel.
void DrawRow(const std::int32_t* acc, const ScaleScratch::Axis& ax, std::uint8_t* out) {
    for (int i = 0; i < ax.count(); ++i) {
        const std::int32_t* m = acc + static_cast<std::ptrdiff_t>(ax.tapStart[i] - ax.srcFirst) * 4;
        std::int32_t s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        for (int t = ax.tapOffset[i]; t < ax.tapOffset[i + 1]; ++t, m += 4) {
            const std::int32_t w = ax.weights[t];
            s0 += m[0] * w;
            s1 += m[1] * w;
            s2 += m[2] * w;
            s3 += m[3] * w;
        }
        out[4 * i + 0] = ToByte(s0);
        out[4 * i + 1] = ToByte(s1);
        out[4 * i + 2] = ToByte(s2);
        out[4 * i + 3] = ToByte(s3);
    }
}

// sums[k] += row[k] * w over a block; a full block has a constant length, so it vectorises.
template <std::size_t N>
void AddBlock(const std::uint8_t* row, std::int32_t w, std::int32_t* sums, std::size_t count) {
    if (count == N) {
        for (std::size_t k = 0; k < N; ++k)
            sums[k] += row[k] * w;
    } else {
        for (std::size_t k = 0; k < count; ++k)
            sums[k] += row[k] * w;
    }
}

} // namespace

bool ScalePixels(ConstPixelView src, ScaleRect srcRect, PixelView dst, ScaleRect dstRect, ScaleFilter filter,
                 ScaleScratch& scratch) {
    if (!Usable(src.pixels, src.width, src.height, src.stride) ||
        !Usable(dst.pixels, dst.width, dst.height, dst.stride))
        return false;
    if (srcRect.width < 1 || srcRect.height < 1 || dstRect.width < 1 || dstRect.height < 1)
        return false;

    auto& ax = scratch.x_;
    auto& ay = scratch.y_;
    BuildAxis(ax, scratch.taps_, srcRect.x, srcRect.width, src.width, dstRect.x, dstRect.width, dst.width,
              KernelFor(filter, srcRect.width, dstRect.width));
    BuildAxis(ay, scratch.taps_, srcRect.y, srcRect.height, src.height, dstRect.y, dstRect.height, dst.height,
              KernelFor(filter, srcRect.height, dstRect.height));
    if (ax.count() == 0 || ay.count() == 0)
        return true;

    // Each channel is a byte handled alike, so the byte order of the pixel words does not matter.
    const std::size_t span = static_cast<std::size_t>(ax.srcEnd - ax.srcFirst) * 4;
    auto& sums = scratch.columnSums_;
    sums.resize(span);

    for (int j = 0; j < ay.count(); ++j) {
        // Vertical: weighted sum of the source rows under this destination row, a block of columns
        // at a time so the running sums stay in the first-level cache across all the rows.
        std::int32_t* acc = sums.data();
        const auto* firstRow = reinterpret_cast<const std::uint8_t*>(
            src.pixels + static_cast<std::ptrdiff_t>(ay.tapStart[j]) * src.stride + ax.srcFirst);
        const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(src.stride) * 4;
        const std::int32_t* w = ay.weights.data() + ay.tapOffset[j];
        const int rows = ay.tapOffset[j + 1] - ay.tapOffset[j];
        std::size_t k0 = 0;
        for (; k0 + kBlock <= span; k0 += kBlock)
            SumBlock<kBlock>(firstRow + k0, rowBytes, w, rows, acc + k0, kBlock);
        if (k0 < span)
            SumBlock<kBlock>(firstRow + k0, rowBytes, w, rows, acc + k0, span - k0);

        DrawRow(acc, ax,
                reinterpret_cast<std::uint8_t*>(
                    dst.pixels + static_cast<std::ptrdiff_t>(ay.dstFirst + j) * dst.stride + ax.dstFirst));
    }
    return true;
}

bool RowReducer::Start(int srcWidth, int srcHeight, ScaleRect srcRect, PixelView dst, ScaleRect dstRect,
                       ScaleFilter filter) {
    nextRow_ = nextOpen_ = nextDone_ = 0;
    slots_ = 0;
    span_ = 0;
    dst_ = dst;
    auto& ax = scratch_.x_;
    auto& ay = scratch_.y_;
    ax = {};
    ay = {};
    if (srcWidth < 1 || srcHeight < 1 || !Usable(dst.pixels, dst.width, dst.height, dst.stride) ||
        srcRect.width < 1 || srcRect.height < 1 || dstRect.width < 1 || dstRect.height < 1)
        return false;
    BuildAxis(ax, scratch_.taps_, srcRect.x, srcRect.width, srcWidth, dstRect.x, dstRect.width, dst.width,
              KernelFor(filter, srcRect.width, dstRect.width));
    BuildAxis(ay, scratch_.taps_, srcRect.y, srcRect.height, srcHeight, dstRect.y, dstRect.height, dst.height,
              KernelFor(filter, srcRect.height, dstRect.height));
    if (ax.count() == 0 || ay.count() == 0) {
        ay = {}; // nothing to draw: done at once
        return true;
    }
    // A destination row is begun once any row from it on needs the current source row (taps trimmed
    // of zero weights do not start in order), and drawn once its own last source row is in and
    // every row before it is drawn. How many are summed at once, at most, decides the memory.
    openFrom_.resize(static_cast<std::size_t>(ay.count()));
    for (int j = ay.count() - 1, least = INT_MAX; j >= 0; --j)
        openFrom_[static_cast<std::size_t>(j)] = least = std::min(least, ay.tapStart[j]);
    for (int y = ay.srcFirst; y < ay.srcEnd; ++y) {
        while (nextOpen_ < ay.count() && openFrom_[static_cast<std::size_t>(nextOpen_)] <= y)
            ++nextOpen_;
        slots_ = std::max(slots_, nextOpen_ - nextDone_);
        while (nextDone_ < nextOpen_ && RowEnd(nextDone_) <= y + 1)
            ++nextDone_;
    }
    nextOpen_ = nextDone_ = 0;
    span_ = static_cast<std::size_t>(ax.srcEnd - ax.srcFirst) * 4;
    sums_.assign(static_cast<std::size_t>(slots_) * span_, 0);
    return true;
}

int RowReducer::RowEnd(int j) const {
    const auto& ay = scratch_.y_;
    return ay.tapStart[j] + (ay.tapOffset[j + 1] - ay.tapOffset[j]);
}

void RowReducer::Push(const std::uint32_t* rows, int count, int stride) {
    for (int r = 0; r < count && !Done(); ++r, ++nextRow_)
        AddRow(rows + static_cast<std::ptrdiff_t>(r) * stride, nextRow_);
}

void RowReducer::AddRow(const std::uint32_t* row, int y) {
    const auto& ax = scratch_.x_;
    const auto& ay = scratch_.y_;
    while (nextOpen_ < ay.count() && openFrom_[static_cast<std::size_t>(nextOpen_)] <= y)
        ++nextOpen_;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(row + ax.srcFirst);
    for (int j = nextDone_; j < nextOpen_; ++j) {
        if (y < ay.tapStart[j] || y >= RowEnd(j))
            continue;
        const std::int32_t w = ay.weights[static_cast<std::size_t>(ay.tapOffset[j] + y - ay.tapStart[j])];
        std::int32_t* sums = sums_.data() + static_cast<std::size_t>(j % slots_) * span_;
        std::size_t k0 = 0;
        for (; k0 + kBlock <= span_; k0 += kBlock)
            AddBlock<kBlock>(bytes + k0, w, sums + k0, kBlock);
        if (k0 < span_)
            AddBlock<kBlock>(bytes + k0, w, sums + k0, span_ - k0);
    }
    // Rows whose last source row this was are finished.
    while (nextDone_ < nextOpen_ && RowEnd(nextDone_) <= y + 1) {
        std::int32_t* sums = sums_.data() + static_cast<std::size_t>(nextDone_ % slots_) * span_;
        for (std::size_t k = 0; k < span_; ++k)
            sums[k] = (sums[k] + (1 << (kVerticalShift - 1))) >> kVerticalShift;
        DrawRow(sums, ax,
                reinterpret_cast<std::uint8_t*>(
                    dst_.pixels + static_cast<std::ptrdiff_t>(ay.dstFirst + nextDone_) * dst_.stride +
                    ax.dstFirst));
        std::fill(sums, sums + span_, 0);
        ++nextDone_;
    }
}

void RowReducer::Release() {
    *this = RowReducer{};
}

} // namespace tessary
