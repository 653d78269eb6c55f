// Going back to an earlier wallpaper: every successful apply is remembered with its layout (the
// five most recent, and the wallpaper the desktop had before this program first changed it), and
// the drop-down of "&Current Wallpaper" or a right-click on the monitor offers them again.
#include "core/PathText.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/Settings.h"
#include "wallpaper/RecentWallpapers.h"
#include "wallpaper/WallpaperPreview.h"
#include <vector>

namespace tessary {

namespace {

constexpr UINT kFirstRecentCommand = 1;
constexpr UINT kBeforeTessaryCommand = kFirstRecentCommand + kRecentWallpaperCount;

std::optional<RecentWallpaper> ReadEntry(std::wstring_view key) {
    const std::wstring text =
        GetSetting(ExeBaseName(), std::wstring(kRecentWallpapersSection), std::wstring(key), L"");
    return ParseRecentWallpaper(text);
}

void WriteEntry(std::wstring_view key, const RecentWallpaper& entry) {
    SaveSetting(ExeBaseName(), std::wstring(kRecentWallpapersSection), std::wstring(key),
                RecentWallpaperText(entry));
}

std::vector<RecentWallpaper> ReadRecent() {
    std::vector<RecentWallpaper> recent;
    for (std::size_t i = 0; i < kRecentWallpaperCount; ++i)
        if (auto entry = ReadEntry(RecentWallpaperKey(i)))
            recent.push_back(std::move(*entry));
    return recent;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// Why an entry cannot be applied, or nothing when it can.
std::wstring UnavailableReason(const RecentWallpaper& entry) {
    if (entry.path.empty())
        return {};
    const DWORD attributes = GetFileAttributesW(entry.path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    const std::wstring root = PathRootOf(entry.path);
    if (!root.empty() && GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES)
        return L"drive not available";
    return L"file not found";
}

} // namespace

void WallpaperPreview::RecordAppliedWallpaper(const RecentWallpaper& applied) {
    // The desktop's wallpaper before the first change, kept once and for good. One that an earlier
    // version of this program had made is copied, as its bitmap is overwritten by every apply.
    if (!ReadEntry(kBeforeTessaryKey)) {
        const CurrentWallpaper& found = state_.wallpaper;
        RecentWallpaper before{found.CurrentWallpaperPath, found.WallpaperStretched ? RecentLayout::Stretched
                                                           : found.WallpaperTiled   ? RecentLayout::Tiled
                                                                                    : RecentLayout::Centered};
        const std::wstring ours = JoinPath(ProgramFolder(), kConvertedWallpaperName);
        const std::wstring copy = JoinPath(ProgramFolder(), kPreviousWallpaperName);
        if (!before.path.empty() && SamePath(before.path, ours) &&
            CopyFileW(ours.c_str(), copy.c_str(), FALSE))
            before.path = copy;
        WriteEntry(kBeforeTessaryKey, before);
    }
    const std::vector<RecentWallpaper> recent = RememberWallpaper(ReadRecent(), applied);
    for (std::size_t i = 0; i < recent.size(); ++i)
        WriteEntry(RecentWallpaperKey(i), recent[i]);
}

void WallpaperPreview::ShowRecentWallpapers(POINT screen) {
    const std::vector<RecentWallpaper> recent = ReadRecent();
    const std::optional<RecentWallpaper> before = ReadEntry(kBeforeTessaryKey);
    UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return;
    auto add = [&](UINT command, const RecentWallpaper& entry, bool isBefore) {
        const std::wstring reason = UnavailableReason(entry);
        AppendMenuW(menu.get(), MF_STRING | (reason.empty() ? 0 : MF_GRAYED), command,
                    RecentWallpaperMenuText(entry, isBefore, reason).c_str());
    };
    for (std::size_t i = 0; i < recent.size(); ++i)
        add(kFirstRecentCommand + static_cast<UINT>(i), recent[i], false);
    if (before) {
        if (!recent.empty())
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        add(kBeforeTessaryCommand, *before, true);
    }
    if (recent.empty() && !before)
        AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, 0, L"No wallpaper set yet");
    const UINT command = Dialogs().ChooseFromMenu(menu.get(), screen.x, screen.y, host_.MainWindow());
    if (command >= kFirstRecentCommand && command < kFirstRecentCommand + recent.size())
        RestoreRecentWallpaper(recent[command - kFirstRecentCommand]);
    else if (command == kBeforeTessaryCommand && before)
        RestoreRecentWallpaper(*before);
}

void WallpaperPreview::RestoreRecentWallpaper(const RecentWallpaper& entry) {
    // The file may have gone since the menu was shown: such an entry is never applied.
    if (!UnavailableReason(entry).empty())
        return;
    // The entry becomes the current image, as choosing it in the list would make it.
    state_.CurrentImagePath = entry.path;
    switch (entry.layout) {
    case RecentLayout::Resized:
    case RecentLayout::ResizedProportionally:
        ResampleAndApply(entry.path, entry.layout == RecentLayout::ResizedProportionally);
        return;
    default:
        break;
    }
    // The layout is chosen with its option button, Fit, Fill and Span as well as the first row.
    SetOptMode(ModeOption(WallpaperModeOf(entry.layout)));
    ApplyWallpaper(entry.path);
}

} // namespace tessary
