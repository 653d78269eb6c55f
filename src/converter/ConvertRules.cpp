#include "converter/ConvertRules.h"
#include <algorithm>
#include <climits>
#include <cmath>

namespace tessary {

double FieldNumber(std::wstring_view text) {
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; };
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && blank(text[i]))
            ++i;
    };
    skipBlanks();
    double sign = 1;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        sign = text[i] == L'-' ? -1 : 1;
        ++i;
    }
    double value = 0, scale = 0; // scale: weight of the next digit after the point (0: before it)
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (blank(c))
            continue;
        if (c == L'.' && scale == 0) {
            scale = 0.1;
        } else if (c >= L'0' && c <= L'9') {
            if (scale == 0) {
                value = value * 10 + (c - L'0');
            } else {
                value += (c - L'0') * scale;
                scale /= 10;
            }
        } else {
            break;
        }
    }
    return sign * value;
}

FieldValue ClampField(std::wstring_view text, int maximum) {
    FieldValue out;
    out.number = FieldNumber(text);
    if (!(out.number >= 1)) {
        out.number = 1;
        out.text = L"1";
    } else if (out.number > maximum) {
        out.number = maximum;
        out.text = std::to_wstring(maximum);
    }
    if (out.text && *out.text == text)
        out.text.reset();
    return out;
}

IntSize PercentSize(IntSize source, int percent) {
    return {RoundToInt(static_cast<double>(percent) * source.width / 100.0),
            RoundToInt(static_cast<double>(percent) * source.height / 100.0)};
}

IntSize SizeFieldsFor(IntSize source) {
    const int larger = std::max(source.width, source.height);
    if (larger <= kSideFieldMax)
        return source;
    const double factor = static_cast<double>(kSideFieldMax) / larger;
    return {std::max(1, RoundToInt(source.width * factor)), std::max(1, RoundToInt(source.height * factor))};
}

int LockedHeight(double width, double aspect) {
    if (!(aspect > 0))
        return 1;
    return std::clamp(RoundToInt(width / aspect), 1, kSideFieldMax);
}

int LockedWidth(double height, double aspect) {
    if (!(aspect > 0))
        return 1;
    return std::clamp(RoundToInt(height * aspect), 1, kSideFieldMax);
}

PixelTransform TransformForRotateMode(double rotateMode) {
    if (rotateMode == 90)
        return PixelTransform::Rotate90;
    if (rotateMode == -90)
        return PixelTransform::Rotate270;
    if (rotateMode == 180)
        return PixelTransform::Rotate180;
    if (rotateMode == 10)
        return PixelTransform::FlipHorizontal;
    if (rotateMode == 20)
        return PixelTransform::FlipVertical;
    return PixelTransform::None;
}

bool IsQuarterTurn(double rotateMode) {
    return SwapsSides(TransformForRotateMode(rotateMode));
}

IntSize TurnedSize(IntSize size, double rotateMode) {
    return IsQuarterTurn(rotateMode) ? IntSize{size.height, size.width} : size;
}

OutputSizeCheck CheckOutputSize(IntSize size) {
    if (size.width < 1 || size.height < 1)
        return OutputSizeCheck::Empty;
    if (size.width > kOutputSideMax || size.height > kOutputSideMax)
        return OutputSizeCheck::SideTooLong;
    if (static_cast<std::int64_t>(size.width) * size.height > kOutputPixelsMax)
        return OutputSizeCheck::TooManyPixels;
    return OutputSizeCheck::Ok;
}

int PreviewDivisor(int sourceWidth) {
    return std::max(1, sourceWidth / 300);
}

IntSize PreviewCanvasSize(IntSize source) {
    const double d = PreviewDivisor(source.width);
    return {std::max(1, RoundToInt(source.width / d)), std::max(1, RoundToInt(source.height / d))};
}

PreviewPlace PlacePreview(IntSize source, double aspect, double rotateMode, IntSize frameTwips, double tppX,
                          double tppY) {
    PreviewPlace out;
    if (source.width < 1 || !(aspect > 0) || !(tppX > 0) || !(tppY > 0))
        return out;
    const double w = source.width;
    const double r = IsQuarterTurn(rotateMode) ? 1 / aspect : aspect;
    const double bh = std::max(1, RoundToInt(w / r));
    const double fw = std::max(1, RoundToInt(frameTwips.width / tppX - 16));
    const double fh = std::max(1, RoundToInt(frameTwips.height / tppY - 26));
    double s = 1000;
    if (w / fw < s)
        s = w / fw;
    if (bh / fh > s)
        s = bh / fh;
    out.size = {std::max(1, RoundToInt(w / s)), std::max(1, RoundToInt(bh / s))};
    out.leftTwips = RoundToInt((frameTwips.width - tppX * out.size.width) / 2);
    out.topTwips = RoundToInt((frameTwips.height - tppY * out.size.height) / 2 + 4 * tppY);
    return out;
}

FormatRow RowOf(ConvertFormat format) {
    switch (format) {
    case ConvertFormat::Bmp:
        return {L"image/bmp", L"bmp"};
    case ConvertFormat::Jpg:
        break;
    case ConvertFormat::Gif:
        return {L"image/gif", L"gif"};
    case ConvertFormat::Png:
        return {L"image/png", L"png"};
    case ConvertFormat::Webp:
        return {L"image/webp", L"webp"};
    }
    return {L"image/jpeg", L"jpg"};
}

std::wstring ProposedTargetName(std::wstring_view sourcePath, ConvertFormat format) {
    const std::size_t slash = sourcePath.find_last_of(L"\\/");
    const std::size_t nameStart = slash == std::wstring_view::npos ? 0 : slash + 1;
    const std::size_t dot = sourcePath.rfind(L'.');
    // A dot that opens the name (".png") starts the name, not an extension.
    const bool hasExtension = dot != std::wstring_view::npos && dot > nameStart;
    std::wstring out(sourcePath.substr(0, hasExtension ? dot : sourcePath.size()));
    return out + L"-Resize." + RowOf(format).extension;
}

std::wstring SourceUnavailableText(std::wstring_view sourcePath) {
    return std::wstring(sourcePath) + L" is no longer available.";
}

std::wstring ConvertedText() {
    return L"Image was converted successfully!";
}

std::wstring ReplaceTargetText(std::wstring_view targetPath) {
    return std::wstring(targetPath) + L" already exists. Replace it?";
}

std::wstring ConversionFailedText(std::wstring_view cause) {
    return L"Image conversion failed: " + std::wstring(cause);
}

std::wstring TargetIsSourceCause() {
    return L"the target file is the picture being converted, which is never overwritten. Choose another "
           L"file name.";
}

std::wstring NoTargetNameCause() {
    return L"no target file name was given.";
}

std::wstring OutputSizeCause(IntSize size, OutputSizeCheck check) {
    const std::wstring dims = std::to_wstring(size.width) + L" x " + std::to_wstring(size.height);
    switch (check) {
    case OutputSizeCheck::Ok:
        break;
    case OutputSizeCheck::Empty:
        return L"a picture of " + dims + L" pixels has no pixels to write.";
    case OutputSizeCheck::SideTooLong:
        return L"a picture of " + dims + L" pixels is too large: each side may have at most " +
               std::to_wstring(kOutputSideMax) + L" pixels.";
    case OutputSizeCheck::TooManyPixels:
        return L"a picture of " + dims + L" pixels is too large: at most " +
               std::to_wstring(kOutputPixelsMax / 1'000'000) + L" megapixels can be written.";
    }
    return {};
}

std::wstring SourceUnreadableCause(std::wstring_view sourcePath) {
    return std::wstring(sourcePath) + L" could not be read as a picture.";
}

std::wstring FolderMissingCause(std::wstring_view folder) {
    return L"the folder " + std::wstring(folder) + L" does not exist.";
}

std::wstring NoEncoderCause(std::wstring_view mimeType) {
    return L"no encoder for " + std::wstring(mimeType) + L" is installed.";
}

std::wstring NotEnoughMemoryCause(IntSize size) {
    return L"there is not enough memory for a picture of " + std::to_wstring(size.width) + L" x " +
           std::to_wstring(size.height) + L" pixels.";
}

std::wstring UnreadableResultCause(std::wstring_view targetPath) {
    return L"the file written as " + std::wstring(targetPath) + L" could not be read back; it was not kept.";
}

std::wstring EncoderFailedCause(std::wstring_view mimeType) {
    return L"the encoder for " + std::wstring(mimeType) + L" could not encode the picture.";
}

std::wstring TargetIsFolderCause(std::wstring_view targetPath) {
    return std::wstring(targetPath) + L" is a folder.";
}

std::wstring WriteFailedCause(std::wstring_view targetPath, unsigned long code,
                              std::wstring_view systemText) {
    std::wstring text(systemText);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return std::wstring(targetPath) + L" could not be written (Error #" + std::to_wstring(code) +
           (text.empty() ? L")." : L": " + text + L")");
}

} // namespace tessary
