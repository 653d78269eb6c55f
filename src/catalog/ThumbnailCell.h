// Painting one thumbnail cell: the source picture fitted into the picture area with our
// area-averaging (what halftone stretching promises), a raised cell, a sunken frame around the
// picture, and the resolution caption in the colour that tells how the image matches the screen.
#pragma once
#include "catalog/ThumbGeometry.h"
#include "imaging/Scaler.h"
#include "platform/Handles.h"
#include "platform/Surface.h"
#include <optional>
#include <string>

namespace tessary {

// The caption font, created on first use and again only when another font is asked for.
class CaptionFont {
public:
    HFONT Get(const std::wstring& fontName, double points, bool bold, bool italic);
    // How many fonts were created so far.
    int created() const { return created_; }

private:
    UniqueFont font_;
    std::wstring name_;
    double points_ = 0;
    bool bold_ = false, italic_ = false;
    int created_ = 0;
};

// The font height in pixels for a size in points: -(points x 20) / twips per pixel, rounded.
int FontHeightForPoints(double points, double twipsPerPixelY);

// Scales the whole source into buffer from (0, 0), fitted into thumbSize x thumbHeight without
// enlarging. Nothing when the fitted size cannot be drawn (the file is then skipped).
std::optional<FittedSize> FitSourceIntoBuffer(ConstPixelView source, int thumbSize, int thumbHeight,
                                              Surface& buffer, ScaleScratch& scratch);

// Repaints cell (sized to the cell) from the fitted picture in buffer.
void DrawThumbnailCell(Surface& cell, const Surface& buffer, int thumbSize, int thumbHeight,
                       const FittedSize& fitted, int imageWidth, int imageHeight,
                       const std::wstring& resolutionText, int screenWidth, int screenHeight,
                       CaptionFont& font);

// Draws text at (x, y) with the given text alignment, transparent background.
void DrawCaptionText(HDC dc, const std::wstring& text, int x, int y, COLORREF colour,
                     const std::wstring& fontName, double points, bool bold, bool italic, UINT alignment,
                     CaptionFont& font);

} // namespace tessary
