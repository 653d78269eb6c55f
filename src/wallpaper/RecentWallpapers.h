// The wallpapers set lately, to go back to one: the five most recent applies with their layouts,
// and the wallpaper the desktop had before this program first changed it. Kept in the settings
// store as one text per entry.
#pragma once
#include "wallpaper/WallpaperRules.h"
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

// How a recent wallpaper was set: in one of the layouts, or resampled to the screen first (then
// restoring it resamples its source again).
enum class RecentLayout { Centered, Stretched, Tiled, Fit, Fill, Span, Resized, ResizedProportionally };

struct RecentWallpaper {
    std::wstring path; // the picture the user chose; empty for no wallpaper
    RecentLayout layout = RecentLayout::Centered;
    friend bool operator==(const RecentWallpaper&, const RecentWallpaper&) = default;
};

inline constexpr std::size_t kRecentWallpaperCount = 5;
inline constexpr std::wstring_view kRecentWallpapersSection = L"Recent Wallpapers";
// Keys "1" (the most recent) to "5", and the one set before this program's first change.
std::wstring RecentWallpaperKey(std::size_t index);
inline constexpr std::wstring_view kBeforeTessaryKey = L"Before Tessary";
// Where the wallpaper found at the first change is kept when it was this program's own bitmap.
inline constexpr std::wstring_view kPreviousWallpaperName = L"Tessary before.bmp";

RecentLayout RecentLayoutOf(WallpaperMode mode);
WallpaperMode WallpaperModeOf(RecentLayout layout);

// The list after applying wallpaper: it comes first, an earlier entry of the same picture and
// layout goes, and only the five most recent stay.
std::vector<RecentWallpaper> RememberWallpaper(std::vector<RecentWallpaper> recent,
                                               const RecentWallpaper& applied);

// Stored text: the layout's name, "|", the path ("|" cannot occur in a Windows path). Reading
// gives nothing for anything else.
std::wstring RecentWallpaperText(const RecentWallpaper& entry);
std::optional<RecentWallpaper> ParseRecentWallpaper(std::wstring_view text);

// The drive or network share a path lives on ("C:\\", "\\\\server\\share\\"); empty for a
// relative path.
std::wstring PathRootOf(std::wstring_view path);

// The menu's text of an entry: the file name, its folder, the layout; a missing file adds why it
// cannot be applied. "&" is doubled so it shows as itself.
std::wstring RecentWallpaperMenuText(const RecentWallpaper& entry, bool beforeTessary,
                                     std::wstring_view unavailableReason);

} // namespace tessary
