// The resample commands: the image fitted to the screen, written as the program's bitmap and
// applied as the wallpaper.
#include "core/SharedState.h"
#include "app/frmMain.h"
#include "imaging/BmpFile.h"
#include "imaging/GDIPlusAPI.h"
#include "imaging/ImageFile.h"
#include "core/PathText.h"
#include "platform/AppInfo.h"
#include "wallpaper/PreviewGeometry.h"
#include "imaging/PixelOps.h"

namespace tessary {

bool frmMain::ResampleToScreen(const std::wstring& sourcePath, bool proportional, int& width, int& height,
                               const std::wstring& targetPath) {
    int w = 0, h = 0;
    if (!LoadImagePixels(sourcePath, wallpaper.pixels, w, h))
        return false;
    const IntSize size = ResampleSize({w, h}, PreviewScreenSize(), proportional, {width, height});
    if (size.empty() || !PicWPLoad.Create(size.width, size.height))
        return false;
    width = size.width;
    height = size.height;
    // Transparent parts on the background the preview shows them on.
    FlattenOnto(wallpaper.pixels.data(), wallpaper.pixels.size(), PictureBackground());
    // Area-averaging where the image is reduced, bicubic where it is enlarged.
    const ConstPixelView source{wallpaper.pixels.data(), w, h, w};
    const PixelView buffer{PicWPLoad.bits(), size.width, size.height, size.width};
    bool ok = ScalePixels(source, WholeOf(source), buffer, {0, 0, size.width, size.height},
                          ScaleFilter::Bicubic, wallpaper.scratch);
    if (ok && !targetPath.empty()) {
        const std::vector<unsigned char> file =
            EncodeBmp24(buffer.pixels, buffer.width, buffer.height, buffer.stride);
        ok = !file.empty() && WriteFileReplacing(targetPath, file.data(), file.size());
    }
    PicWPLoad.Reset();
    return ok;
}

bool frmMain::WriteWallpaperBitmap(const std::wstring& sourcePath, const std::wstring& targetPath) {
    // Decoded by our own checked path (never handed to GDI+ unchecked), transparent parts on the
    // preview's background, written whole or not at all (the temporary file goes either way).
    int w = 0, h = 0;
    if (!LoadImagePixels(sourcePath, wallpaper.pixels, w, h))
        return false;
    FlattenOnto(wallpaper.pixels.data(), wallpaper.pixels.size(), PictureBackground());
    const std::vector<unsigned char> file = EncodeBmp24(wallpaper.pixels.data(), w, h, w);
    return !file.empty() && WriteFileReplacing(targetPath, file.data(), file.size());
}

void frmMain::cmdIconButton_Click(int index) {
    if (index < 0 || index > 1)
        return;
    const bool proportional = index == 0;
    const std::wstring kept = state.CurrentImagePath;
    if (DataFolder().empty())
        return; // nowhere to keep the resampled copy
    const std::wstring bmp = JoinPath(DataFolder(), kConvertedWallpaperName);
    int width = 0, height = 0;
    // Without a resampled bitmap there is nothing to apply (the file may still hold an older one).
    if (!ResampleToScreen(kept, proportional, width, height, bmp))
        return;
    state.CurrentImagePath = bmp;
    SetOptMode(proportional ? 0 : 1);
    wallpaper.resampledFrom =
        RecentWallpaper{kept, proportional ? RecentLayout::ResizedProportionally : RecentLayout::Resized};
    ApplyWallpaper();
    state.CurrentImagePath = kept;
}

} // namespace tessary
