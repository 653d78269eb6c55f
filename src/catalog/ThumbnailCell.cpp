#include "catalog/ThumbnailCell.h"
#include "core/Geometry.h"
#include "platform/Screen.h"
#include <cmath>

namespace tessary {

namespace {

constexpr UINT kCaptionAlignment = TA_CENTER | TA_TOP; // 6
constexpr double kCaptionPoints = 8;

RECT ToRect(const IntRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

} // namespace

int FontHeightForPoints(double points, double twipsPerPixelY) {
    return static_cast<int>(RoundHalfEven(-(points * 20) / twipsPerPixelY));
}

HFONT CaptionFont::Get(const std::wstring& fontName, double points, bool bold, bool italic) {
    if (font_ && fontName == name_ && points == points_ && bold == bold_ && italic == italic_)
        return font_.get();
    LOGFONTW lf{};
    lf.lfHeight = FontHeightForPoints(points, TwipsPerPixelY());
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic ? TRUE : FALSE;
    fontName.copy(lf.lfFaceName, LF_FACESIZE - 1);
    font_.reset(CreateFontIndirectW(&lf));
    name_ = fontName;
    points_ = points;
    bold_ = bold;
    italic_ = italic;
    ++created_;
    return font_.get();
}

std::optional<FittedSize> FitSourceIntoBuffer(ConstPixelView source, int thumbSize, int thumbHeight,
                                              Surface& buffer, ScaleScratch& scratch) {
    auto fitted = FitIntoThumbArea(source.width, source.height, thumbSize, thumbHeight);
    if (!fitted)
        return std::nullopt;
    const IntSize pixels = FittedPixels(*fitted);
    // An empty source or one that fits into less than a pixel draws nothing, but is no failure.
    if (pixels.empty() || !source.pixels || buffer.empty())
        return fitted;
    PixelView dest{buffer.bits(), buffer.width(), buffer.height(), buffer.width()};
    if (!ScalePixels(source, WholeOf(source), dest, ScaleRect{0, 0, pixels.width, pixels.height},
                     ScaleFilter::AreaAverage, scratch))
        return std::nullopt;
    return fitted;
}

void DrawThumbnailCell(Surface& cell, const Surface& buffer, int thumbSize, int thumbHeight,
                       const FittedSize& fitted, int imageWidth, int imageHeight,
                       const std::wstring& resolutionText, int screenWidth, int screenHeight,
                       CaptionFont& font, int captionHeight) {
    if (cell.empty())
        return;
    const CellLayout layout = ComputeCellLayout(thumbSize, thumbHeight, fitted, captionHeight);
    HDC dc = cell.dc();
    // Black background, then the face colour inside the outermost pixel ring.
    cell.Fill(RGB(0, 0, 0));
    RECT face = ToRect(layout.face);
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    const IntRect& pic = layout.picture;
    if (pic.width() > 0 && pic.height() > 0 && !buffer.empty())
        BitBlt(dc, pic.left, pic.top, pic.width(), pic.height(), buffer.dc(), 0, 0, SRCCOPY);
    RECT whole = ToRect(layout.cell);
    DrawEdge(dc, &whole, EDGE_RAISED, BF_RECT);
    RECT frame = ToRect(layout.frame);
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    const std::uint32_t colour = CaptionColour(imageWidth, imageHeight, screenWidth, screenHeight);
    DrawCaptionText(dc, resolutionText, layout.captionX, layout.captionY, static_cast<COLORREF>(colour),
                    L"Arial", kCaptionPoints, true, false, kCaptionAlignment, font);
}

void DrawCaptionText(HDC dc, const std::wstring& text, int x, int y, COLORREF colour,
                     const std::wstring& fontName, double points, bool bold, bool italic, UINT alignment,
                     CaptionFont& font) {
    SetTextAlign(dc, alignment);
    SetBkMode(dc, TRANSPARENT);
    SelectedObject selected(dc, font.Get(fontName, points, bold, italic));
    SetTextColor(dc, colour);
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

} // namespace tessary
