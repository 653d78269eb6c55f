#include "converter/ConvertPixels.h"
#include "converter/ConvertRules.h"
#include <gtest/gtest.h>

using namespace tessary;

// The size fields: what typed text means, how it is held in range, what the lock and a wide
// source put into them, and the sizes the label and the save use.
TEST(ConvertRules, FieldsAndSizes) {
    EXPECT_EQ(FieldNumber(L"  12px"), 12);
    EXPECT_EQ(FieldNumber(L"1 024"), 1024);
    EXPECT_EQ(FieldNumber(L"-7"), -7);
    EXPECT_EQ(FieldNumber(L"2.5.1"), 2.5);
    EXPECT_EQ(FieldNumber(L"x5"), 0);

    struct Case {
        const wchar_t* text;
        int maximum;
        double number;
        const wchar_t* newText; // nullptr: the text stays
    } cases[] = {
        {L"0", 1000, 1, L"1"},
        {L"", 5000, 1, L"1"},
        {L"abc", 5000, 1, L"1"},
        {L"2000", 1000, 1000, L"1000"},
        {L"5001", 5000, 5000, L"5000"},
        {L"12abc", 5000, 12, nullptr},
        {L"0.5", 5000, 1, L"1"},
        {L"1", 5000, 1, nullptr},
        {L"99999999999999999999", 1000, 1000, L"1000"},
    };
    for (const Case& c : cases) {
        const FieldValue v = ClampField(c.text, c.maximum);
        EXPECT_EQ(v.number, c.number) << c.text;
        EXPECT_EQ(v.text.has_value(), c.newText != nullptr) << c.text;
        if (c.newText && v.text) {
            EXPECT_EQ(*v.text, c.newText);
        }
    }

    // The label and the saved size agree: 50 % of 101 x 51 is 50 x 26 (50.5 and 25.5 to even).
    EXPECT_EQ(PercentSize({101, 51}, 50), (IntSize{50, 26}));
    EXPECT_EQ(PercentSize({1024, 768}, 1000), (IntSize{10240, 7680}));

    EXPECT_EQ(SizeFieldsFor({1024, 768}), (IntSize{1024, 768}));
    EXPECT_EQ(SizeFieldsFor({6000, 3000}), (IntSize{5000, 2500}));
    EXPECT_EQ(SizeFieldsFor({3001, 9000}), (IntSize{1667, 5000}));
    EXPECT_EQ(SizeFieldsFor({30000, 2}), (IntSize{5000, 1}));

    const double aspect = 1024.0 / 768.0;
    EXPECT_EQ(LockedHeight(512, aspect), 384);
    EXPECT_EQ(LockedWidth(384, aspect), 512);
    EXPECT_EQ(LockedHeight(1, 1.0 / 10000), 5000); // held in range, so the lock settles
    EXPECT_EQ(LockedWidth(5000, 1.0 / 10000), 1);

    EXPECT_EQ(CheckOutputSize({20000, 10000}), OutputSizeCheck::Ok);
    EXPECT_EQ(CheckOutputSize({20000, 10001}), OutputSizeCheck::TooManyPixels);
    EXPECT_EQ(CheckOutputSize({50000, 50000}), OutputSizeCheck::SideTooLong);
    EXPECT_EQ(CheckOutputSize({20001, 1}), OutputSizeCheck::SideTooLong);
    EXPECT_EQ(CheckOutputSize({0, 5}), OutputSizeCheck::Empty);
}

// The preview: canvas by a whole factor, turned sides, and its place in the 2895 x 2535 twip frame
// at 15 twips per pixel (room 177 x 143 pixels).
TEST(ConvertRules, PreviewCanvasAndPlace) {
    EXPECT_EQ(PreviewCanvasSize({299, 200}), (IntSize{299, 200}));
    EXPECT_EQ(PreviewCanvasSize({1024, 768}), (IntSize{341, 256}));
    EXPECT_EQ(PreviewCanvasSize({100000, 1}), (IntSize{300, 1}));
    EXPECT_EQ(TurnedSize({341, 256}, 90), (IntSize{256, 341}));
    EXPECT_EQ(TurnedSize({341, 256}, -90), (IntSize{256, 341}));
    EXPECT_EQ(TurnedSize({341, 256}, 180), (IntSize{341, 256}));
    EXPECT_EQ(TransformForRotateMode(-90), PixelTransform::Rotate270);
    EXPECT_EQ(TransformForRotateMode(20), PixelTransform::FlipVertical);

    const IntSize frame{2895, 2535};
    PreviewPlace p = PlacePreview({1024, 768}, 1024.0 / 768, 0, frame, 15, 15);
    EXPECT_EQ(p.size, (IntSize{177, 133}));
    EXPECT_EQ(p.leftTwips, 120);
    EXPECT_EQ(p.topTwips, 330);
    p = PlacePreview({1024, 768}, 1024.0 / 768, 90, frame, 15, 15);
    EXPECT_EQ(p.size, (IntSize{107, 143}));
    // Arbitrary 5000 x 1 on a narrow source still shows at least a pixel each way.
    p = PlacePreview({10, 2000}, 5000, 0, frame, 15, 15);
    EXPECT_GE(p.size.width, 1);
    EXPECT_GE(p.size.height, 1);
}

TEST(ConvertRules, TargetNameFromTheRealExtension) {
    EXPECT_EQ(ProposedTargetName(L"C:\\Pics\\beach.jpg", ConvertFormat::Png), L"C:\\Pics\\beach-Resize.png");
    EXPECT_EQ(ProposedTargetName(L"C:\\Pics\\x.jpeg", ConvertFormat::Png), L"C:\\Pics\\x-Resize.png");
    EXPECT_EQ(ProposedTargetName(L"C:\\a.b\\noext", ConvertFormat::Bmp), L"C:\\a.b\\noext-Resize.bmp");
    EXPECT_EQ(ProposedTargetName(L"C:\\Pics\\[1] Stra\u00dfe.v2.PNG", ConvertFormat::Jpg),
              L"C:\\Pics\\[1] Stra\u00dfe.v2-Resize.jpg");
    EXPECT_EQ(ProposedTargetName(L"C:\\Pics\\.gif", ConvertFormat::Gif), L"C:\\Pics\\.gif-Resize.gif");
}

// Reducing a picture with transparency: kept alpha is averaged without the transparent pixels'
// colour bleeding in; on white, transparent parts become white. Turned pictures take the turned size.
TEST(ConvertPixels, TransparencyIsKeptCleanOrPutOnWhite) {
    PixelImage source;
    source.width = 4;
    source.height = 2;
    source.pixels = {0xFFFF0000, 0x00000000, 0xFFFF0000, 0x00000000,
                     0xFFFF0000, 0x00000000, 0xFFFF0000, 0x00000000};
    const PixelImage kept = RenderPicture(source, {2, 1}, 0, AlphaHandling::Keep);
    ASSERT_EQ(kept.pixels.size(), 2u);
    EXPECT_EQ(kept.pixels[0] & 0xFFFFFF, 0xFF0000u); // red, not darkened by the transparent black
    EXPECT_NEAR(static_cast<int>(kept.pixels[0] >> 24), 128, 1);
    const PixelImage white = RenderPicture(source, {2, 1}, 0, AlphaHandling::OnWhite);
    EXPECT_EQ(white.pixels[0], 0xFFFF8080u);
    const PixelImage turned = RenderPicture(source, {8, 4}, -90, AlphaHandling::OnWhite);
    EXPECT_EQ(turned.width, 4);
    EXPECT_EQ(turned.height, 8);
    EXPECT_FALSE(HasTransparency(turned));
}
