// The wallpaper preview: the image laid out on the monitor picture's screen as the desktop would
// show it, over the desktop colour, under the shading and glare overlays.
#include "wallpaper/WallpaperPreview.h"
#include "imaging/GDIPlusAPI.h"
#include "core/PathText.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/Dpi.h"
#include "platform/Handles.h"
#include "imaging/ImageFile.h"
#include "wallpaper/PreviewGeometry.h"
#include "imaging/PixelOps.h"
#include "wallpaper/PreviewPixels.h"
#include <algorithm>
#include <cstring>

namespace tessary {

namespace {

PixelView ViewOf(const Surface& s) {
    return {s.bits(), s.width(), s.height(), s.width()};
}

// The decoded picture to draw and the size of the image in its file (the decode may be reduced).
struct LoadedImage {
    ConstPixelView pixels;
    IntSize full;
};

// Decoded reduced where the format allows, never below the preview buffer's size (a JPEG by its
// DCT down to that size, a WebP to 800 pixels wide: the buffer is at most 799), upright, and put
// where transparent on the background the wallpaper bitmap gives it.
bool LoadPreviewImage(const std::wstring& path, std::uint32_t background, PictureLoader& loader,
                      LoadedImage& out, PictureProblem& problem) {
    // A format no decoder reduces goes straight to the preview buffer's size, flattened a row at
    // a time first: the buffer's own reduction of the whole picture, which is never held whole.
    WholeFormatReduction reduce;
    reduce.size = [](int w, int h, int& width, int& height) {
        const IntSize size = PreviewBufferSize({w, h});
        width = size.width;
        height = size.height;
        return !size.empty();
    };
    reduce.flatten = [background](std::uint32_t* p, std::size_t n) { FlattenOnto(p, n, background); };
    reduce.filter = ScaleFilter::Bilinear;
    LoadedPicture picture;
    if (!loader.Load(path, 800, picture, &problem, &reduce))
        return false;
    for (int y = 0; y < picture.pixels.height; ++y)
        FlattenOnto(picture.pixels.pixels + static_cast<std::size_t>(y) * picture.pixels.stride,
                    static_cast<std::size_t>(picture.pixels.width), background);
    out.pixels = picture.pixels;
    out.full = {picture.fullWidth, picture.fullHeight};
    return true;
}

// Where the bounding box of all monitors lies from the previewed monitor's top-left corner (Span
// covers it); empty with one monitor, where Span covers the screen the preview measures.
IntRect SpanAreaOf(const MonitorChooser& chooser) {
    const MonitorDesc* shown = chooser.Previewed();
    if (!shown || chooser.Monitors().size() < 2)
        return {};
    const RECT box = MonitorsBoundingBox(chooser.Monitors());
    return {box.left - shown->bounds.left, box.top - shown->bounds.top, box.right - shown->bounds.left,
            box.bottom - shown->bounds.top};
}

// Says on the preview why there is no picture: the text centred, wrapped, in the dialog font's size
// at the window's DPI, in black or white, whichever stands out on the desktop colour.
void DrawNote(Surface& surface, HWND window, COLORREF background, const std::wstring& text) {
    const UniqueFont font(CreateFontForDpi(L"MS Shell Dlg", 8.25, DpiOfWindow(window)));
    const SelectedObject selected(surface.dc(), font.get());
    const int luminance =
        GetRValue(background) * 299 + GetGValue(background) * 587 + GetBValue(background) * 114;
    SetTextColor(surface.dc(), luminance > 128000 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    SetBkMode(surface.dc(), TRANSPARENT);
    RECT area{0, 0, surface.width(), surface.height()};
    InflateRect(&area, -surface.width() / 10, 0);
    RECT measured = area;
    DrawTextW(surface.dc(), text.c_str(), -1, &measured,
              DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    OffsetRect(&area, 0, (surface.height() - (measured.bottom - measured.top)) / 2);
    DrawTextW(surface.dc(), text.c_str(), -1, &area, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    GdiFlush();
}

ScaleRect ToScaleRect(const IntRect& r) {
    return {r.left, r.top, r.width(), r.height()};
}

} // namespace

std::wstring WallpaperPreview::PreviewKey(const std::wstring& imagePath) const {
    WIN32_FILE_ATTRIBUTE_DATA file{};
    if (!imagePath.empty() && !GetFileAttributesExW(imagePath.c_str(), GetFileExInfoStandard, &file))
        return {};
    // The file's size and time stand for its content.
    return imagePath + L'|' + std::to_wstring(static_cast<int>(SelectedWallpaperMode())) + L'|' +
           std::to_wstring(state_.settings.DrawShading) + std::to_wstring(state_.settings.DrawGlare) + L'|' +
           state_.wallpaper.DesktopColor + L'|' + std::to_wstring(file.nFileSizeLow) + L'.' +
           std::to_wstring(file.nFileSizeHigh) + L'|' + std::to_wstring(file.ftLastWriteTime.dwLowDateTime) +
           L'.' + std::to_wstring(file.ftLastWriteTime.dwHighDateTime);
}

void WallpaperPreview::DrawPreview(const std::wstring& imagePath) {
    if (Draw(imagePath))
        state_.CurrentImagePath = imagePath;
}

bool WallpaperPreview::Draw(const std::wstring& imagePath) {
    previewKey_.clear();
    if (picWPImage_.empty())
        return false;
    const IntSize preview{picWPImage_.width(), picWPImage_.height()};
    picWPImage_.Fill(DesktopColorValue(state_.wallpaper.DesktopColor).value_or(0));

    if (!imagePath.empty()) {
        LoadedImage image;
        PictureProblem problem = PictureProblem::None;
        if (!LoadPreviewImage(imagePath, PictureBackground(), loader_, image, problem)) {
            InvalidateRect(c_.preview, nullptr, FALSE);
            if (PathExists(imagePath)) {
                // The file is there: saying it is gone, or listing the folder again, would mislead,
                // and a box per file would stop someone browsing with the arrow keys. The preview
                // and the status bar say why; the commands then act on this file, as selected.
                DrawNote(picWPImage_, c_.preview,
                         DesktopColorValue(state_.wallpaper.DesktopColor).value_or(0),
                         UnshownImageMessage(LastPathComponent(imagePath), problem));
                c_.status->SetPanelText(1, UnshownImageMessage(imagePath, problem));
                return true;
            }
            Dialogs().ShowMessage(MissingImageMessage(imagePath), MB_OK | MB_ICONEXCLAMATION, AppTitle());
            host_.ReloadFolder();
            return false;
        }
        // The reduced copy only saves work: where it lands follows from the full image size.
        const IntSize buffer = PreviewBufferSize(image.full);
        const PreviewCopies copies = ComputePreviewCopies(
            SelectedWallpaperMode(), image.full, PreviewScreenSize(), preview, SpanAreaOf(*c_.chooser));
        if (copies.count() > 0 && picWPLoad_.Create(buffer.width, buffer.height)) {
            ScalePixels(image.pixels, WholeOf(image.pixels), ViewOf(picWPLoad_),
                        {0, 0, buffer.width, buffer.height}, ScaleFilter::Bilinear, scratch_);
            const ConstPixelView reduced = ViewOf(picWPLoad_);
            if (copies.count() == 1) {
                ScalePixels(reduced, WholeOf(reduced), ViewOf(picWPImage_), ToScaleRect(copies.first),
                            ScaleFilter::Bilinear, scratch_);
            } else {
                // Every tile looks the same: scale one (only the part the preview can show) and copy it.
                const int tw = copies.first.width(), th = copies.first.height();
                const int vw = std::min(tw, preview.width), vh = std::min(th, preview.height);
                if (tile_.width() != vw || tile_.height() != vh)
                    tile_.Create(vw, vh);
                if (!tile_.empty()) {
                    ScalePixels(reduced, WholeOf(reduced), ViewOf(tile_), {0, 0, tw, th},
                                ScaleFilter::Bilinear, scratch_);
                    DrawTiles(ViewOf(tile_), ViewOf(picWPImage_), copies);
                }
            }
        }
        picWPLoad_.Reset();
    }

    if (state_.settings.DrawShading)
        DrawOverlay(std::wstring(kShadingOverlayName));
    if (state_.settings.DrawGlare)
        DrawOverlay(std::wstring(kGlareOverlayName));
    InvalidateRect(c_.preview, nullptr, FALSE);
    previewKey_ = PreviewKey(imagePath);
    return true;
}

void WallpaperPreview::DrawOverlay(const std::wstring& overlayFile) {
    if (picWPImage_.empty())
        return;
    std::wstring name = overlayFile;
    if (!name.empty() && name.front() == L'\\')
        name.erase(0, 1);
    std::vector<std::uint32_t> pixels;
    int w = 0, h = 0;
    if (!LoadImagePixels(JoinPath(ProgramFolder(), name), pixels, w, h))
        return; // a missing or unreadable overlay is skipped
    Premultiply(pixels.data(), pixels.size());
    Surface overlay;
    if (!overlay.Create(w, h))
        return;
    std::memcpy(overlay.bits(), pixels.data(), pixels.size() * sizeof(std::uint32_t));
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(picWPImage_.dc(), 0, 0, picWPImage_.width(), picWPImage_.height(), overlay.dc(), 0, 0, w, h,
                  blend);
    InvalidateRect(c_.preview, nullptr, FALSE);
}

} // namespace tessary
