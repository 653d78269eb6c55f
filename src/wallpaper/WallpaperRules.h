// What applying a wallpaper writes, and how the desktop settings found at start-up are read:
// the registry values per layout, when an image must first become a bitmap, the desktop colour.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessary {

// Fit (the whole picture, bars in the desktop colour), Fill (covers the screen, cropped) and Span
// (covers the bounding box of all monitors) are the layouts Windows 7 and 8 added.
enum class WallpaperMode { Centered, Stretched, Tiled, Fit, Fill, Span };
inline constexpr int kWallpaperModeCount = 6;

inline constexpr std::wstring_view kDesktopKeyPath = L"HKEY_CURRENT_USER\\Control Panel\\Desktop";
inline constexpr std::wstring_view kWallpaperValue = L"Wallpaper";
inline constexpr std::wstring_view kTileWallpaperValue = L"TileWallpaper";
inline constexpr std::wstring_view kWallpaperStyleValue = L"WallpaperStyle";

// Name of the bitmap that conversions and resamplings write into the program folder.
inline constexpr std::wstring_view kConvertedWallpaperName = L"Tessary.bmp";

// The "TileWallpaper" and "WallpaperStyle" texts written for a layout.
struct DesktopStyleValues {
    std::wstring_view tileWallpaper;
    std::wstring_view wallpaperStyle;
};
DesktopStyleValues StyleValuesFor(WallpaperMode mode);

// The active desktop's wallpaper style for a layout (centre 0, tile 1, stretch 2, keep aspect 3,
// crop to fit 4, span 5); IDesktopWallpaper's positions use the same numbers.
int ActiveDesktopStyle(WallpaperMode mode);

// The layout's name as the settings store keeps it ("Centered", "Fit", ...), and back; an unknown
// name gives nothing.
std::wstring_view WallpaperModeName(WallpaperMode mode);
std::optional<WallpaperMode> WallpaperModeFromName(std::wstring_view name);

// True when the path's last three characters, in any letter case, are not "bmp": the image is
// converted to a bitmap before Windows is given it.
bool NeedsBmpConversion(std::wstring_view path);

// The wallpaper that the desktop settings record. The three texts are the registry reads (each
// possibly the "N/A" marker); a wallpaper is recorded when its cleaned path is neither empty nor
// the marker, and only then do the tile and style values count. A style Windows knows (stretch,
// fit, fill, span) wins over tiling; any other style counts as 0, as Windows reads it.
struct RecordedWallpaper {
    std::wstring path; // empty when none is recorded
    bool tiled = false;
    bool stretched = false;
    WallpaperMode mode = WallpaperMode::Centered; // the layout selected at start-up
};
RecordedWallpaper InterpretDesktopValues(std::wstring_view wallpaper, std::wstring_view tileWallpaper,
                                         std::wstring_view wallpaperStyle);

// The desktop colour (0x00BBGGRR) as the decimal text kept in DesktopColor, and back. Reading
// gives nothing for text that is not a whole number from 0 to 0xFFFFFF.
std::wstring DesktopColorText(std::uint32_t colorRef);
std::optional<std::uint32_t> DesktopColorValue(std::wstring_view text);

} // namespace tessary
