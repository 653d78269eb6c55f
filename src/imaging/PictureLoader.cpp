#include "imaging/PictureLoader.h"
#include "imaging/ExifOrientation.h"
#include "imaging/GDIPlusAPI.h"
#include "imaging/PixelTransform.h"
#include <algorithm>
#include <new>

namespace tessary {

bool PictureLoader::Upright(ConstPixelView stored, int orientation, LoadedPicture& out) {
    const PixelTransform upright = TransformFromExifOrientation(orientation);
    int width = stored.width, height = stored.height;
    if (upright == PixelTransform::None) {
        if (stored.pixels != pixels_.data())
            pixels_.assign(stored.pixels, stored.pixels + static_cast<std::size_t>(width) * height);
    } else {
        pixels_ = TransformedPixels(stored, upright, width, height);
    }
    out.pixels = PixelView{pixels_.data(), width, height, width};
    return true;
}

bool PictureLoader::LoadReduced(const std::wstring& path, const WholeFormatReduction& reduce,
                                LoadedPicture& out, PictureProblem& why) {
    DecodedPicture picture;
    if (!decoder_.Decode(path, reduce.size, reduce.flatten, reduce.filter, pixels_, picture) ||
        picture.width < 1 || picture.height < 1) {
        // Refused by the same checks a whole decode makes first, or else damaged.
        ImageHeader header;
        const PictureProblem checked = CheckBeforeGdiplus(path, header);
        why = checked == PictureProblem::None ? PictureProblem::Damaged : checked;
        return false;
    }
    out.fullWidth = picture.fullWidth;
    out.fullHeight = picture.fullHeight;
    out.pixels = PixelView{pixels_.data(), picture.width, picture.height, picture.width};
    return true;
}

bool PictureLoader::Load(const std::wstring& path, int minWidth, LoadedPicture& out, PictureProblem* problem,
                         const WholeFormatReduction* reduce) {
    out = LoadedPicture{};
    minWidth = std::max(minWidth, 1);
    PictureProblem ignored = PictureProblem::None;
    PictureProblem& why = problem ? *problem : ignored;
    why = PictureProblem::Damaged;
    try {
        switch (FileFormat(path)) {
        case ImageFormat::Jpeg: {
            std::size_t size = 0;
            if (!ReadWholeFile(path, file_, size, kJpegMaxFileBytes))
                return false;
            const int orientation = OrientationFromJpeg(file_.data(), size);
            const bool swaps = OrientationSwapsSides(orientation);
            DecodedImage image;
            int minW = swaps ? 1 : minWidth, minH = swaps ? minWidth : 1;
            // Reduced by the DCT as far as the size the reduction asks (a large progressive file
            // then comes from its DC scans alone).
            const ImageHeader stored = ProbeImageHeader(file_.data(), size);
            int w = 0, h = 0;
            if (reduce && stored.width > 0 &&
                reduce->size(swaps ? stored.height : stored.width, swaps ? stored.width : stored.height, w,
                             h) &&
                w > 0 && h > 0) {
                minW = swaps ? h : w;
                minH = swaps ? w : h;
            }
            const bool decoded = jpeg_.DecodeMemory(file_.data(), size, minW, minH, image);
            // The file's bytes are done with: kept, a large file's would stay through the command
            // that often follows a preview (Set Wallpaper, the viewer), beside that one's own.
            file_.Release();
            if (!decoded) {
                const int scale = ChooseJpegScale(stored.width, stored.height, minW, minH);
                if (stored.width > 0 && !PictureSizeAllowed(stored.width, stored.height, scale))
                    why = PictureProblem::TooLarge;
                return false;
            }
            // Damaged or cut short: not shown as a picture with grey parts.
            if (!image.complete)
                return false;
            out.fullWidth = swaps ? image.fullHeight : image.fullWidth;
            out.fullHeight = swaps ? image.fullWidth : image.fullHeight;
            return Upright({image.pixels, image.width, image.height, image.width}, orientation, out);
        }
        case ImageFormat::Webp: {
            WebpInfo info;
            WebpPicture picture;
            if (webp_.Open(path, info) != WebpStatus::Ok)
                return false;
            const bool swaps = OrientationSwapsSides(info.orientation);
            const int uprightWidth = swaps ? info.height : info.width;
            // A whole-number reduction that keeps the picture at least minWidth wide.
            const int divisor = std::max(1, uprightWidth / minWidth);
            const int width = std::max(1, (info.width + divisor / 2) / divisor);
            const int height = std::max(1, (info.height + divisor / 2) / divisor);
            if (!PictureSizeAllowed(info.width, info.height, divisor)) {
                why = PictureProblem::TooLarge;
                return false;
            }
            if (webp_.Decode(width, height, picture) != WebpStatus::Ok)
                return false;
            out.fullWidth = swaps ? info.height : info.width;
            out.fullHeight = swaps ? info.width : info.height;
            return Upright({picture.pixels, picture.width, picture.height, picture.width}, info.orientation,
                           out);
        }
        default: {
            if (reduce)
                return LoadReduced(path, *reduce, out, why);
            int width = 0, height = 0;
            if (!LoadImagePixels(path, pixels_, width, height, &why))
                return false;
            out.fullWidth = width;
            out.fullHeight = height;
            out.pixels = PixelView{pixels_.data(), width, height, width};
            return true;
        }
        }
    } catch (const std::bad_alloc&) {
        out = LoadedPicture{};
        why = PictureProblem::TooLarge;
        return false;
    }
}

void PictureLoader::ReleaseBuffers() {
    file_.Release();
    decoder_.ReleaseBuffers();
    jpeg_.ReleaseBuffers();
    webp_.ReleaseBuffers();
    file_.Release();
    pixels_ = {};
}

} // namespace tessary
