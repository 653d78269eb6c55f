#include "wallpaper/WallpaperRules.h"
#include "core/PathText.h"
#include "platform/KeyPath.h"
#include <iterator>

namespace tessary {

namespace {

// What each layout writes and what Windows calls it elsewhere, in WallpaperMode order.
struct ModeRow {
    WallpaperMode mode;
    std::wstring_view name, tileWallpaper, wallpaperStyle;
    int position; // active desktop style, IDesktopWallpaper position
};
constexpr ModeRow kModes[kWallpaperModeCount] = {
    {WallpaperMode::Centered, L"Centered", L"0", L"0", 0},
    {WallpaperMode::Stretched, L"Stretched", L"0", L"2", 2},
    {WallpaperMode::Tiled, L"Tiled", L"1", L"0", 1},
    {WallpaperMode::Fit, L"Fit", L"0", L"6", 3},
    {WallpaperMode::Fill, L"Fill", L"0", L"10", 4},
    {WallpaperMode::Span, L"Span", L"0", L"22", 5},
};

const ModeRow& RowOf(WallpaperMode mode) {
    const auto i = static_cast<std::size_t>(mode);
    return i < std::size(kModes) ? kModes[i] : kModes[0];
}

} // namespace

DesktopStyleValues StyleValuesFor(WallpaperMode mode) {
    const ModeRow& row = RowOf(mode);
    return {row.tileWallpaper, row.wallpaperStyle};
}

int ActiveDesktopStyle(WallpaperMode mode) {
    return RowOf(mode).position;
}

std::wstring_view WallpaperModeName(WallpaperMode mode) {
    return RowOf(mode).name;
}

std::optional<WallpaperMode> WallpaperModeFromName(std::wstring_view name) {
    for (const ModeRow& row : kModes)
        if (row.name == name)
            return row.mode;
    return std::nullopt;
}

bool NeedsBmpConversion(std::wstring_view path) {
    return !EndsWithNoCase(path, L"bmp");
}

RecordedWallpaper InterpretDesktopValues(std::wstring_view wallpaper, std::wstring_view tileWallpaper,
                                         std::wstring_view wallpaperStyle) {
    RecordedWallpaper r;
    std::wstring path = CleanRegText(wallpaper);
    if (path.empty() || path == kRegNotAvailable)
        return r;
    r.path = std::move(path);
    r.tiled = CleanRegText(tileWallpaper) == L"1";
    const std::wstring style = CleanRegText(wallpaperStyle);
    r.stretched = style == L"2";
    r.mode = r.tiled ? WallpaperMode::Tiled : WallpaperMode::Centered;
    for (const ModeRow& row : kModes)
        if (row.wallpaperStyle != L"0" && row.wallpaperStyle == style)
            r.mode = row.mode;
    return r;
}

std::wstring DesktopColorText(std::uint32_t colorRef) {
    return std::to_wstring(colorRef);
}

std::optional<std::uint32_t> DesktopColorValue(std::wstring_view text) {
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - L'0');
    }
    if (value > 0xFFFFFFu)
        return std::nullopt;
    return value;
}

} // namespace tessary
