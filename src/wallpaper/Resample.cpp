// The resample commands: the image fitted to the screen, written as the program's bitmap and
// applied as the wallpaper.
#include "wallpaper/WallpaperPreview.h"
#include "imaging/BmpFile.h"
#include "imaging/GDIPlusAPI.h"
#include "imaging/ImageFile.h"
#include "core/PathText.h"
#include "platform/AppInfo.h"
#include "platform/Controls.h"
#include "wallpaper/PreviewGeometry.h"
#include "imaging/PixelOps.h"

namespace tessary {

bool WallpaperPreview::ResampleToScreen(const std::wstring& sourcePath, bool proportional, int& width,
                                        int& height, const std::wstring& targetPath) {
    // Decoded straight to the size wanted (a JPEG first reduced by its DCT as far as that allows):
    // area-averaging where the image is reduced, bicubic where it is enlarged.
    IntSize size;
    const PictureSizeRule rule = [&](int w, int h, int& rw, int& rh) {
        size = ResampleSize({w, h}, PreviewScreenSize(), proportional, {width, height});
        rw = size.width;
        rh = size.height;
        return !size.empty();
    };
    // Transparent parts on the background the preview shows them on.
    const std::uint32_t background = PictureBackground();
    DecodedPicture picture;
    bool ok = decoder_.Decode(
                  sourcePath, rule,
                  [background](std::uint32_t* p, std::size_t n) { FlattenOnto(p, n, background); },
                  ScaleFilter::Bicubic, pixels_, picture) &&
              picture.width > 0 && picture.height > 0;
    if (ok) {
        width = picture.width;
        height = picture.height;
    }
    if (ok && !targetPath.empty()) {
        const std::vector<unsigned char> file =
            EncodeBmp24(pixels_.data(), picture.width, picture.height, picture.width);
        ok = !file.empty() && WriteFileReplacing(targetPath, file.data(), file.size());
    }
    // The large buffers go with the command.
    pixels_ = {};
    decoder_.ReleaseBuffers();
    return ok;
}

void WallpaperPreview::ResampleAndApply(const std::wstring& imagePath, bool proportional) {
    if (DataFolder().empty())
        return; // nowhere to keep the resampled copy
    WaitCursor wait;
    const std::wstring bmp = JoinPath(DataFolder(), kConvertedWallpaperName);
    int width = 0, height = 0;
    // Without a resampled bitmap there is nothing to apply (the file may still hold an older one).
    if (!ResampleToScreen(imagePath, proportional, width, height, bmp))
        return;
    SetOptMode(proportional ? 0 : 1);
    // What is remembered is the picture resampled, not the bitmap made of it.
    if (!Apply(bmp, RecentWallpaper{imagePath, proportional ? RecentLayout::ResizedProportionally
                                                            : RecentLayout::Resized}))
        return;
    // The preview shows the bitmap now on the desktop; the image stays the one the commands act on.
    if (previewKey_.empty() || previewKey_ != PreviewKey(bmp))
        Draw(bmp);
}

} // namespace tessary
