#include "wallpaper/RecentWallpapers.h"
#include <algorithm>
#include <array>

namespace tessary {

namespace {

constexpr std::array<std::wstring_view, 8> kLayoutNames = {
    L"Centered", L"Stretched", L"Tiled", L"Fit", L"Fill", L"Span", L"Resized", L"Resized proportionally"};
static_assert(kWallpaperModeCount == 6, "the first six layouts are the wallpaper modes, in order");

std::wstring_view NameOf(RecentLayout layout) {
    return kLayoutNames[static_cast<std::size_t>(layout)];
}

std::wstring DoubledAmpersands(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        out += c;
        if (c == L'&')
            out += L'&';
    }
    return out;
}

} // namespace

std::wstring RecentWallpaperKey(std::size_t index) {
    return std::to_wstring(index + 1);
}

// The first six layouts are the wallpaper modes, in their order.
RecentLayout RecentLayoutOf(WallpaperMode mode) {
    return static_cast<RecentLayout>(mode);
}

WallpaperMode WallpaperModeOf(RecentLayout layout) {
    switch (layout) {
    case RecentLayout::Resized:
        return WallpaperMode::Stretched;
    case RecentLayout::ResizedProportionally:
        return WallpaperMode::Centered;
    default:
        return static_cast<WallpaperMode>(layout);
    }
}

std::vector<RecentWallpaper> RememberWallpaper(std::vector<RecentWallpaper> recent,
                                               const RecentWallpaper& applied) {
    std::erase(recent, applied);
    recent.insert(recent.begin(), applied);
    if (recent.size() > kRecentWallpaperCount)
        recent.resize(kRecentWallpaperCount);
    return recent;
}

std::wstring RecentWallpaperText(const RecentWallpaper& entry) {
    return std::wstring(NameOf(entry.layout)) + L"|" + entry.path;
}

std::optional<RecentWallpaper> ParseRecentWallpaper(std::wstring_view text) {
    const std::size_t bar = text.find(L'|');
    if (bar == std::wstring_view::npos)
        return std::nullopt;
    const std::wstring_view name = text.substr(0, bar);
    for (std::size_t i = 0; i < kLayoutNames.size(); ++i)
        if (name == kLayoutNames[i])
            return RecentWallpaper{std::wstring(text.substr(bar + 1)), static_cast<RecentLayout>(i)};
    return std::nullopt;
}

std::wstring PathRootOf(std::wstring_view path) {
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return std::wstring(path.substr(0, 3));
    if (path.size() > 2 && path.substr(0, 2) == L"\\\\") {
        // \\server\share\ : the share's name ends at the fourth backslash.
        const std::size_t server = path.find(L'\\', 2);
        if (server == std::wstring_view::npos)
            return {};
        const std::size_t share = path.find(L'\\', server + 1);
        return share == std::wstring_view::npos ? std::wstring(path) + L"\\"
                                                : std::wstring(path.substr(0, share + 1));
    }
    return {};
}

std::wstring RecentWallpaperMenuText(const RecentWallpaper& entry, bool beforeTessary,
                                     std::wstring_view unavailableReason) {
    std::wstring text;
    if (entry.path.empty()) {
        text = L"No wallpaper";
    } else {
        const std::size_t slash = entry.path.find_last_of(L"\\/");
        const std::wstring_view path = entry.path;
        text = slash == std::wstring::npos ? DoubledAmpersands(path)
                                           : DoubledAmpersands(path.substr(slash + 1)) + L"  (" +
                                                 DoubledAmpersands(path.substr(0, slash)) + L")";
        text += L" - ";
        text += NameOf(entry.layout);
    }
    if (beforeTessary)
        text += L" - before Tessary";
    if (!unavailableReason.empty()) {
        text += L" - ";
        text += unavailableReason;
    }
    return text;
}

} // namespace tessary
