#include "imaging/Scaler.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <random>
#include <string>

using namespace tessary;

namespace {

constexpr std::uint32_t kUntouched = 0x5A5A5A5A;

struct Image {
    int width, height, stride;
    std::vector<std::uint32_t> pixels;
    Image(int w, int h, std::uint32_t fill = kUntouched, int padding = 0)
        : width(w), height(h), stride(w + padding), pixels(static_cast<std::size_t>(stride) * h, fill) {}
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * stride + x]; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * stride + x]; }
    PixelView view() { return {pixels.data(), width, height, stride}; }
    ConstPixelView cview() const { return {pixels.data(), width, height, stride}; }
};

int Channel(std::uint32_t p, int c) {
    return static_cast<int>((p >> (8 * c)) & 0xFF);
}

Image Noise(int w, int h, std::mt19937& rng, int padding = 0) {
    Image img(w, h, 0, padding);
    for (auto& p : img.pixels)
        p = static_cast<std::uint32_t>(rng());
    return img;
}

// A plain, unoptimised statement of what the scaler draws: per destination pixel, real-valued
// weights over every source pixel, no fixed point, no separable passes.
struct RefTaps {
    bool drawn = false;
    std::vector<double> weight; // one per source pixel of the axis
};

double RefKernel(ScaleFilter filter, double x) {
    x = std::fabs(x);
    if (filter == ScaleFilter::Bilinear)
        return std::max(0.0, 1 - x);
    if (x < 1)
        return 1.5 * x * x * x - 2.5 * x * x + 1;
    if (x < 2)
        return -0.5 * x * x * x + 2.5 * x * x - 4 * x + 2;
    return 0;
}

std::vector<RefTaps> RefAxis(int srcPos, int srcLen, int srcLimit, int dstPos, int dstLen, int dstLimit,
                             ScaleFilter filter) {
    // Interval ends in units of 1/dstLen, so coverage is exact.
    std::vector<RefTaps> axis(dstLimit);
    const long lo = std::max(srcPos, 0) * long(dstLen),
               hi = std::min(srcPos + srcLen, srcLimit) * long(dstLen);
    const bool area = filter == ScaleFilter::AreaAverage || dstLen <= srcLen;
    for (int u = 0; u < dstLimit; ++u) {
        if (u < dstPos || u >= dstPos + dstLen || hi <= lo)
            continue;
        const long a = long(srcPos) * dstLen + long(u - dstPos) * srcLen, b = a + srcLen;
        if (std::min(b, hi) - std::max(a, lo) <= 0)
            continue;
        RefTaps& t = axis[u];
        t.drawn = true;
        t.weight.assign(srcLimit, 0.0);
        if (area) {
            for (long i = 0; i < srcLimit; ++i)
                t.weight[i] =
                    double(std::max(0L, std::min({b, hi, (i + 1) * dstLen}) - std::max({a, lo, i * dstLen})));
        } else {
            const double scale = double(srcLen) / dstLen;
            const double centre = srcPos + (u - dstPos + 0.5) * scale - 0.5;
            for (int k = int(std::floor(centre)) - 3; k <= int(std::floor(centre)) + 3; ++k) {
                const int i = std::clamp(k, std::max(srcPos, 0), std::min(srcPos + srcLen, srcLimit) - 1);
                t.weight[i] += RefKernel(filter, centre - k);
            }
        }
    }
    return axis;
}

void ReferenceScale(const Image& src, ScaleRect sr, Image& dst, ScaleRect dr, ScaleFilter filter) {
    auto ax = RefAxis(sr.x, sr.width, src.width, dr.x, dr.width, dst.width, filter);
    auto ay = RefAxis(sr.y, sr.height, src.height, dr.y, dr.height, dst.height, filter);
    for (int v = 0; v < dst.height; ++v) {
        for (int u = 0; u < dst.width; ++u) {
            if (!ax[u].drawn || !ay[v].drawn)
                continue;
            double sum[4] = {}, total = 0;
            for (int y = 0; y < src.height; ++y) {
                for (int x = 0; x < src.width; ++x) {
                    const double w = ax[u].weight[x] * ay[v].weight[y];
                    if (w == 0)
                        continue;
                    total += w;
                    for (int c = 0; c < 4; ++c)
                        sum[c] += w * Channel(src.at(x, y), c);
                }
            }
            std::uint32_t p = 0;
            for (int c = 0; c < 4; ++c) {
                const long value = std::clamp(std::lround(sum[c] / total), 0L, 255L);
                p |= static_cast<std::uint32_t>(value) << (8 * c);
            }
            dst.at(u, v) = p;
        }
    }
}

// Largest channel difference, and whether exactly the same pixels were drawn.
::testing::AssertionResult Close(const Image& got, const Image& want, int tolerance) {
    for (int y = 0; y < got.height; ++y) {
        for (int x = 0; x < got.width; ++x) {
            const std::uint32_t g = got.at(x, y), w = want.at(x, y);
            if ((g == kUntouched) != (w == kUntouched))
                return ::testing::AssertionFailure() << "drawn differently at " << x << "," << y;
            for (int c = 0; c < 4; ++c) {
                if (std::abs(Channel(g, c) - Channel(w, c)) > tolerance)
                    return ::testing::AssertionFailure()
                           << "pixel " << x << "," << y << " channel " << c << ": " << Channel(g, c)
                           << " against " << Channel(w, c);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

const ScaleFilter kFilters[] = {ScaleFilter::AreaAverage, ScaleFilter::Bilinear, ScaleFilter::Bicubic};

} // namespace

TEST(Scaler, MatchesAPlainStatementOfTheFilters) {
    std::mt19937 rng(2024);
    ScaleScratch scratch; // one scratch for every case: nothing may carry over
    std::uniform_int_distribution<int> size(1, 23), pos(-8, 8), wide(120, 420), low(1, 6);
    // Odd ratios, source rectangles reaching past the source, padded rows full of garbage; the
    // last rounds have rows of several hundred pixels, which take the blocked vertical pass.
    for (int round = 0; round < 30; ++round) {
        auto len = [&] { return round < 24 ? size(rng) : wide(rng); };
        auto tall = [&] { return round < 24 ? size(rng) : low(rng); };
        Image src = Noise(len(), tall(), rng, round % 3);
        ScaleRect sr{pos(rng) / 2, pos(rng) / 2, len(), tall()};
        Image got(len(), tall()), want(got.width, got.height);
        ScaleRect dr{pos(rng), pos(rng), len() * 2, tall() * 2};
        const ScaleFilter filter = kFilters[round % 3];
        ASSERT_TRUE(ScalePixels(src.cview(), sr, got.view(), dr, filter, scratch));
        ReferenceScale(src, sr, want, dr, filter);
        ASSERT_TRUE(Close(got, want, 1)) << "round " << round;
    }
}

TEST(Scaler, CopiesSameSizesExactlyAndRefusesUnusableArguments) {
    ScaleScratch scratch;
    std::mt19937 rng(7);
    Image noise = Noise(13, 9, rng);
    for (auto filter : kFilters) {
        Image copy(13, 9);
        ScalePixels(noise.cview(), WholeOf(noise.cview()), copy.view(), WholeOf(copy.cview()), filter,
                    scratch);
        EXPECT_EQ(copy.pixels, noise.pixels);
    }
    Image src(4, 4, 0), dst(4, 4);
    const ScaleRect all{0, 0, 4, 4};
    EXPECT_FALSE(ScalePixels(ConstPixelView{}, all, dst.view(), all, ScaleFilter::Bicubic, scratch));
    EXPECT_FALSE(ScalePixels(src.cview(), all, dst.view(), {0, 0, 4, -4}, ScaleFilter::Bicubic, scratch));
    EXPECT_FALSE(ScalePixels(ConstPixelView{src.pixels.data(), 4, 4, 3}, all, dst.view(), all,
                             ScaleFilter::Bicubic, scratch));
    // Entirely outside the destination: nothing drawn, not an error.
    EXPECT_TRUE(ScalePixels(src.cview(), all, dst.view(), {-5, -5, 5, 5}, ScaleFilter::Bicubic, scratch));
    EXPECT_TRUE(std::all_of(dst.pixels.begin(), dst.pixels.end(), [](auto p) { return p == kUntouched; }));
}

// Rows arriving a strip at a time give exactly what the whole source gives: reductions by odd
// ratios, a source rectangle reaching past the decoded rows (as a DCT-scaled decode maps), cubic
// enlargement (whose trimmed taps begin out of order), and a destination clipped at both ends.
TEST(RowReducer, MatchesScalePixelsStripByStrip) {
    struct Case {
        int sw, sh;
        ScaleRect src;
        int dw, dh;
        ScaleRect dst;
        ScaleFilter filter;
    };
    const Case cases[] = {
        {705, 397, {0, 0, 705, 397}, 201, 113, {0, 0, 201, 113}, ScaleFilter::AreaAverage},
        {640, 361, {0, 0, 5117, 2883}, 199, 112, {0, 0, 199 * 8, 112 * 8}, ScaleFilter::AreaAverage},
        {37, 23, {0, 0, 37, 23}, 160, 90, {0, 0, 160, 90}, ScaleFilter::Bicubic},
        {90, 70, {-5, 3, 90, 70}, 40, 30, {-7, -4, 55, 41}, ScaleFilter::Bilinear},
    };
    std::mt19937 rng(7);
    for (const Case& c : cases) {
        const Image src = Noise(c.sw, c.sh, rng, 3);
        Image whole(c.dw, c.dh), streamed(c.dw, c.dh);
        ScaleScratch scratch;
        ASSERT_TRUE(ScalePixels(src.cview(), c.src, whole.view(), c.dst, c.filter, scratch));
        RowReducer reducer;
        ASSERT_TRUE(reducer.Start(c.sw, c.sh, c.src, streamed.view(), c.dst, c.filter));
        for (int y = 0, strip = 1; y < c.sh; y += strip, strip = strip % 5 + 1)
            reducer.Push(src.pixels.data() + static_cast<std::size_t>(y) * src.stride,
                         std::min(strip, c.sh - y), src.stride);
        EXPECT_TRUE(reducer.Done());
        EXPECT_EQ(whole.pixels, streamed.pixels) << c.sw << "x" << c.sh << " to " << c.dw << "x" << c.dh;
    }
}
