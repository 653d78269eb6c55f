#include "wallpaper/WallpaperRules.h"
#include "wallpaper/KeyPath.h"

namespace tessary {

DesktopStyleValues StyleValuesFor(WallpaperMode mode) {
    switch (mode) {
    case WallpaperMode::Stretched:
        return {L"0", L"2"};
    case WallpaperMode::Tiled:
        return {L"1", L"0"};
    case WallpaperMode::Centered:
        break;
    }
    return {L"0", L"0"};
}

int ActiveDesktopStyle(WallpaperMode mode) {
    switch (mode) {
    case WallpaperMode::Tiled:
        return 1;
    case WallpaperMode::Stretched:
        return 2;
    case WallpaperMode::Centered:
        break;
    }
    return 0;
}

bool NeedsBmpConversion(std::wstring_view path) {
    if (path.size() < 3)
        return true;
    std::wstring_view ext = path.substr(path.size() - 3);
    static constexpr wchar_t kBmp[] = L"bmp";
    for (size_t i = 0; i < 3; ++i) {
        wchar_t c = ext[i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != kBmp[i])
            return true;
    }
    return false;
}

std::wstring PathInFolder(std::wstring_view folder, std::wstring_view fileName) {
    std::wstring path(folder);
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    path += fileName;
    return path;
}

RecordedWallpaper InterpretDesktopValues(std::wstring_view wallpaper, std::wstring_view tileWallpaper,
                                         std::wstring_view wallpaperStyle) {
    RecordedWallpaper r;
    std::wstring path = CleanRegText(wallpaper);
    if (path.empty() || path == kRegNotAvailable)
        return r;
    r.path = std::move(path);
    r.tiled = CleanRegText(tileWallpaper) == L"1";
    r.stretched = CleanRegText(wallpaperStyle) == L"2";
    return r;
}

WallpaperMode StartupMode(const RecordedWallpaper& recorded) {
    if (recorded.stretched)
        return WallpaperMode::Stretched;
    if (recorded.tiled)
        return WallpaperMode::Tiled;
    return WallpaperMode::Centered;
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
