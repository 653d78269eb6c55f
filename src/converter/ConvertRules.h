// The converter's arithmetic and texts: the size fields and their limits, the output size, the
// preview's size and place, the target name, and the messages. No Windows header: the dialog and
// the engine call these and never re-derive them.
#pragma once
#include "core/Geometry.h"
#include "imaging/PixelTransform.h"
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessary {

// What the fields accept.
inline constexpr int kSideFieldMax = 5000;
inline constexpr int kPercentFieldMax = 1000;
// What a written picture may be: each side 1 to 20000 pixels and at most 200 megapixels in all,
// checked before anything is allocated.
inline constexpr int kOutputSideMax = 20000;
inline constexpr std::int64_t kOutputPixelsMax = 200'000'000;

// The leading number of a field's text: blanks skipped, an optional sign, digits with at most one
// decimal point; text without digits gives 0.
double FieldNumber(std::wstring_view text);

// A field's number held inside 1..maximum: below 1 the text becomes "1", above the maximum it
// becomes the maximum; otherwise the text stays as typed (trailing characters included).
struct FieldValue {
    double number = 0;                // after clamping
    std::optional<std::wstring> text; // the text to put into the field, when it must change
    int rounded() const { return RoundToInt(number); }
};
FieldValue ClampField(std::wstring_view text, int maximum);

// round(P * W / 100) x round(P * H / 100): the size label and the saved picture in Percentage mode.
IntSize PercentSize(IntSize source, int percent);

// The width and height fields for a source: its size, or when a side is above 5000 the source
// scaled by one factor so that its larger side is 5000 (each side at least 1).
IntSize SizeFieldsFor(IntSize source);

// The other side under "Constrain Proportions" (aspect = source width / height), held in 1..5000.
int LockedHeight(double width, double aspect);
int LockedWidth(double height, double aspect);

// The rotation option codes: 0, 90, -90, 180, 10 (mirror left to right), 20 (top to bottom).
PixelTransform TransformForRotateMode(double rotateMode);
bool IsQuarterTurn(double rotateMode);
// A w x h picture after the rotation: sides exchanged for a quarter turn.
IntSize TurnedSize(IntSize size, double rotateMode);

// Whether a picture of this size may be written.
enum class OutputSizeCheck { Ok, Empty, SideTooLong, TooManyPixels };
OutputSizeCheck CheckOutputSize(IntSize size);

// The preview canvas: the source reduced by a whole factor, whole part of W / 300 (at least 1),
// so a wide source is drawn 300 to under 600 pixels wide.
int PreviewDivisor(int sourceWidth);
IntSize PreviewCanvasSize(IntSize source);

// Where the visible preview sits in the "Preview" frame. aspect: the picture's width / height as
// it will be saved (the source's in Percentage mode, the typed size's in Arbitrary mode), before
// the rotation; frame size in twips; tpp: twips per pixel. The result keeps that aspect, fills the
// frame's room (frame less 16 x 26 pixels) in one direction, and sits centred horizontally and 4
// pixels below the centre vertically. Position in twips from the frame's corner, size in pixels.
struct PreviewPlace {
    int leftTwips = 0, topTwips = 0;
    IntSize size;
};
PreviewPlace PlacePreview(IntSize source, double aspect, double rotateMode, IntSize frameTwips, double tppX,
                          double tppY);

// The output formats of the "File Format:" options, in order.
enum class ConvertFormat { Bmp, Jpg, Gif, Png, Webp };
struct FormatRow {
    const wchar_t* mimeType;
    const wchar_t* extension;
};
FormatRow RowOf(ConvertFormat format);

// The proposed target: the source path with the extension of its file name (after the last dot
// of the part after the last backslash) replaced by "-Resize." and the format's extension; a name
// without an extension gets them appended. C:\Pics\beach.jpeg with PNG gives C:\Pics\beach-Resize.png.
std::wstring ProposedTargetName(std::wstring_view sourcePath, ConvertFormat format);

// The dialog's messages.
std::wstring SourceUnavailableText(std::wstring_view sourcePath);
std::wstring ConvertedText();
std::wstring ReplaceTargetText(std::wstring_view targetPath);
// "Image conversion failed: " and the cause.
std::wstring ConversionFailedText(std::wstring_view cause);
std::wstring TargetIsSourceCause();
std::wstring NoTargetNameCause();
std::wstring OutputSizeCause(IntSize size, OutputSizeCheck check);
std::wstring SourceUnreadableCause(std::wstring_view sourcePath);
std::wstring FolderMissingCause(std::wstring_view folder);
std::wstring NoEncoderCause(std::wstring_view mimeType);
std::wstring NotEnoughMemoryCause(IntSize size);
std::wstring EncoderFailedCause(std::wstring_view mimeType);
std::wstring UnreadableResultCause(std::wstring_view targetPath);
std::wstring TargetIsFolderCause(std::wstring_view targetPath);
// A failed file operation: the target, the system's error number and its own text of it.
std::wstring WriteFailedCause(std::wstring_view targetPath, unsigned long code, std::wstring_view systemText);

} // namespace tessary
