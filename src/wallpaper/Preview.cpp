// The wallpaper preview: the image laid out on the monitor picture's screen as the desktop would
// show it, over the desktop colour, under the shading and glare overlays.
#include "core/SharedState.h"
#include "app/frmMain.h"
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

// Decoded reduced where the format allows (never below the preview buffer's size: the buffer is
// at most 799 pixels wide), upright, and put where transparent on the background the wallpaper
// bitmap gives it.
bool LoadPreviewImage(const std::wstring& path, std::uint32_t background, WallpaperPart& part,
                      LoadedImage& out, PictureProblem& problem) {
    LoadedPicture picture;
    if (!part.loader.Load(path, 800, picture, &problem))
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

std::wstring frmMain::PreviewKey(const std::wstring& imagePath) const {
    WIN32_FILE_ATTRIBUTE_DATA file{};
    if (!imagePath.empty() && !GetFileAttributesExW(imagePath.c_str(), GetFileExInfoStandard, &file))
        return {};
    // The file's size and time stand for its content.
    return imagePath + L'|' + std::to_wstring(static_cast<int>(SelectedWallpaperMode())) + L'|' +
           std::to_wstring(state.DrawShading) + std::to_wstring(state.DrawGlare) + L'|' + state.DesktopColor +
           L'|' + std::to_wstring(file.nFileSizeLow) + L'.' + std::to_wstring(file.nFileSizeHigh) + L'|' +
           std::to_wstring(file.ftLastWriteTime.dwLowDateTime) + L'.' +
           std::to_wstring(file.ftLastWriteTime.dwHighDateTime);
}

void frmMain::DrawPreview(const std::wstring& imagePath) {
    wallpaper.previewKey.clear();
    if (picWPImage.empty())
        return;
    const IntSize preview{picWPImage.width(), picWPImage.height()};
    picWPImage.Fill(DesktopColorValue(state.DesktopColor).value_or(0));

    if (!imagePath.empty()) {
        LoadedImage image;
        PictureProblem problem = PictureProblem::None;
        if (!LoadPreviewImage(imagePath, PictureBackground(), wallpaper, image, problem)) {
            InvalidateRect(picWP, nullptr, FALSE);
            if (PathExists(imagePath)) {
                // The file is there: saying it is gone, or listing the folder again, would mislead,
                // and a box per file would stop someone browsing with the arrow keys. The preview
                // and the status bar say why; the commands then act on this file, as selected.
                DrawNote(picWPImage, picWP, DesktopColorValue(state.DesktopColor).value_or(0),
                         UnshownImageMessage(LastPathComponent(imagePath), problem));
                StatusBar1.SetPanelText(1, UnshownImageMessage(imagePath, problem));
                state.CurrentImagePath = imagePath;
                return;
            }
            Dialogs().ShowMessage(MissingImageMessage(imagePath), MB_OK | MB_ICONEXCLAMATION, AppTitle());
            LoadFolder(FolderTreeview1.CurrentFolder(), true);
            return;
        }
        // The reduced copy only saves work: where it lands follows from the full image size.
        const IntSize buffer = PreviewBufferSize(image.full);
        const PreviewCopies copies = ComputePreviewCopies(
            SelectedWallpaperMode(), image.full, PreviewScreenSize(), preview, SpanAreaOf(wallpaper.chooser));
        if (copies.count() > 0 && PicWPLoad.Create(buffer.width, buffer.height)) {
            ScalePixels(image.pixels, WholeOf(image.pixels), ViewOf(PicWPLoad),
                        {0, 0, buffer.width, buffer.height}, ScaleFilter::Bilinear, wallpaper.scratch);
            const ConstPixelView reduced = ViewOf(PicWPLoad);
            if (copies.count() == 1) {
                ScalePixels(reduced, WholeOf(reduced), ViewOf(picWPImage), ToScaleRect(copies.first),
                            ScaleFilter::Bilinear, wallpaper.scratch);
            } else {
                // Every tile looks the same: scale one (only the part the preview can show) and copy it.
                const int tw = copies.first.width(), th = copies.first.height();
                const int vw = std::min(tw, preview.width), vh = std::min(th, preview.height);
                if (wallpaper.tile.width() != vw || wallpaper.tile.height() != vh)
                    wallpaper.tile.Create(vw, vh);
                if (!wallpaper.tile.empty()) {
                    ScalePixels(reduced, WholeOf(reduced), ViewOf(wallpaper.tile), {0, 0, tw, th},
                                ScaleFilter::Bilinear, wallpaper.scratch);
                    DrawTiles(ViewOf(wallpaper.tile), ViewOf(picWPImage), copies);
                }
            }
        }
        PicWPLoad.Reset();
    }

    if (state.DrawShading)
        DrawOverlay(std::wstring(kShadingOverlayName));
    if (state.DrawGlare)
        DrawOverlay(std::wstring(kGlareOverlayName));
    InvalidateRect(picWP, nullptr, FALSE);
    state.CurrentImagePath = imagePath;
    wallpaper.previewKey = PreviewKey(imagePath);
}

void frmMain::DrawOverlay(const std::wstring& overlayFile) {
    if (picWPImage.empty())
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
    GdiAlphaBlend(picWPImage.dc(), 0, 0, picWPImage.width(), picWPImage.height(), overlay.dc(), 0, 0, w, h,
                  blend);
    InvalidateRect(picWP, nullptr, FALSE);
}

} // namespace tessary
