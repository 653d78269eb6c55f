// The converter's work outside the dialog: reading the source (reduced for the preview, in full
// for a save) and writing the converted picture with every check a save needs.
#pragma once
#include "converter/ConvertPixels.h"
#include "converter/ConvertRules.h"
#include <windows.h>
#include <string>

namespace tessary {

// The conversion settings the dialog edits.
struct ConvertSettings {
    int ResizePercent = 100; // 1..1000; 0: Arbitrary mode
    int TargetWidth = 0;     // Arbitrary mode
    int TargetHeight = 0;
    bool KeepProportions = false;
    double AspectRatio = 1; // source width / height
    double RotateMode = 0;  // 0, 90, -90, 180, 10, 20
    ConvertFormat TargetFormat = ConvertFormat::Jpg;
    int JpegQuality = 75;
    std::wstring TargetFileName;
};

// The size a save writes, before the rotation.
IntSize OutputSize(const ConvertSettings& settings, IntSize source);

// The source as the preview needs it: its full size and a copy reduced to the preview canvas, both
// upright as the photo's EXIF orientation says. The file is looked at on every load and decoded
// again only when its size or time changed.
class PreviewSource {
public:
    enum class Status { Ok, Missing, Unreadable };
    Status Load(const std::wstring& path);
    IntSize size() const { return size_; }
    // The source at the preview canvas size, unturned, straight alpha.
    const PixelImage& canvas() const { return canvas_; }

private:
    std::wstring path_;
    ULONGLONG fileSize_ = 0;
    FILETIME written_{};
    IntSize size_;
    PixelImage canvas_;
};

// What a save ended in: the message to show, or none when the user declined to replace a file.
struct SaveOutcome {
    bool written = false;
    std::wstring targetPath; // full path of the file written
    std::wstring message;
    UINT icon = 0;
};

// Checks the target (not the source, its folder there, replacing another file only when the user
// agrees, No being the default), checks the size before allocating, reads the source in full,
// renders and writes it. knownSourceSize: the size the preview last read, for checking the
// output size before anything is read or allocated.
SaveOutcome SaveConverted(const std::wstring& sourcePath, IntSize knownSourceSize,
                          const ConvertSettings& settings);

} // namespace tessary
