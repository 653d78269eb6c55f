// The thumbnail cache on disk: where its files live, how its INI file's texts are read and named,
// and when a cached thumbnail still belongs to its image.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessary {

// Paths. programFolder may or may not end with a backslash (a drive root does).
std::wstring CacheRoot(std::wstring_view programFolder);
// An image folder's cache directory is named after the folder's last name and the whole path:
// that name made safe as one path component (a drive root has none), "~", and eight hex digits of
// a hash of the path ("/" read as "\\", trailing backslashes and ASCII case ignored). Folders of
// the same name never share thumbnails, and the name always stays one plain component, so every
// cache directory lies directly inside the cache root whatever the folder path holds.
std::wstring CacheDirectoryName(std::wstring_view folderPath);
std::wstring FolderCacheDir(std::wstring_view programFolder, std::wstring_view folderPath);
// Earlier versions kept one directory per last name (cache root & last name): the directory such a
// version wrote for this folder, or nothing when the folder has no plain last name (a drive root).
std::optional<std::wstring> LegacyFolderCacheDir(std::wstring_view programFolder,
                                                 std::wstring_view folderPath);

// The INI file named after the executable: "Tessary.cache".
std::wstring CacheFilePath(std::wstring_view folderCacheDir, std::wstring_view exeBaseName);
// A thumbnail is named exactly like its image, extension included.
std::wstring ThumbnailPath(std::wstring_view folderCacheDir, std::wstring_view imageFileName);
// Subdirectories of the cache root counted in the cache totals: names not beginning with ".".
bool IsCountedCacheDirectory(std::wstring_view name);

// Only reduced images are cached; small ones decode quickly anyway.
bool ShouldWriteToCache(bool fromCache, bool cacheEnabled, int divisor);

// The leading decimal number of an INI value ("640px" gives 640, "abc" 0): optional blanks and
// sign, then digits up to the first other character. Out of 32-bit range gives 0.
std::int32_t LeadingNumber(std::wstring_view text);
struct IniNumber {
    bool found = false;
    std::int32_t value = 0;
};
// A key's number from the text a profile read returned: found with its leading number
// when at least one character came back, otherwise the default.
IniNumber InterpretIniValue(std::wstring_view returned, std::int32_t defaultValue);

// Section names. INI syntax gives "[", "]", "=" and ";" meanings, line breaks end a line, the
// parser trims blanks around names, and an ANSI cache file cannot hold every character. A file name
// free of all that is its own section name, as it always was; any other name has each such
// character written "|" and four hex digits. File names cannot contain "|", so escaped names never
// collide with plain ones.
// keeps tells whether a character survives the cache file's code page unchanged (for an ANSI file:
// converts to the ANSI code page and back without a default or best-fit character).
using KeepsInIniFile = std::function<bool(wchar_t)>;
// Printable ASCII: what every ANSI code page holds.
bool IsPrintableAscii(wchar_t c);
std::wstring CacheSectionName(std::wstring_view imageFileName,
                              const KeepsInIniFile& keeps = IsPrintableAscii);

// Keys of a section.
inline constexpr std::wstring_view kWidthKey = L"Width";
inline constexpr std::wstring_view kHeightKey = L"Height";
// The image file each thumbnail was made from: its size in bytes and its last-write time (UTC, as
// 100-nanosecond ticks since 1601), both decimal.
inline constexpr std::wstring_view kFileSizeKey = L"FileSize";
inline constexpr std::wstring_view kFileTimeKey = L"FileTime";
// Present ("1") when the thumbnail and its size were made with the EXIF orientation applied;
// older thumbnails of photos the orientation turns are made again.
inline constexpr std::wstring_view kUprightKey = L"Upright";

// One section of an INI text: its name as written between the brackets, and its "key=value"
// lines in file order.
struct IniSectionText {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> keys;
};
// The sections of a whole INI text, read as the profile functions read a file: lines end at a line
// feed; blanks (space, tab, CR, vertical tab, form feed, Ctrl-Z) around a line, around a key's
// name and before its value are dropped; a line beginning with "[" and holding a "]" starts a
// section named by what lies between them (up to the last "]"); lines before the first section,
// comment lines (";") and lines without "=" hold no key. Sections come in file order, repeated
// names included (a lookup takes the first).
std::vector<IniSectionText> ParseIniText(std::wstring_view text);
// The text of whole sections as the profile functions write them: "[name]", then "key=value"
// lines, each line ended by CR LF, no blank lines.
std::wstring FormatIniText(const std::vector<IniSectionText>& sections);

struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
// The keys of a new or rewritten section, in the order to write them: the stamp last, so a write
// cut short leaves either no stamp (the section is trusted, its size already right) or an old
// stamp (a miss, written again next time).
std::vector<std::pair<std::wstring_view, std::wstring>> CacheSectionEntries(int width, int height,
                                                                            const FileStamp& stamp);

// The texts of a thumbnail's section (nothing for an absent or empty key).
struct CacheSectionTexts {
    std::optional<std::wstring> width, height, fileSize, fileTime;
};
// Whether an existing cached thumbnail may be used. image is the image file's stamp (nothing when
// it cannot be read). A thumbnail without its width and height (its section lost, or cut short by
// a crash while the file was rewritten) is a miss, to be decoded and written again. A section
// with neither FileSize nor FileTime predates them and is trusted; otherwise both must be there
// and match the image.
bool CachedThumbnailIsCurrent(const CacheSectionTexts& section, const std::optional<FileStamp>& image);

} // namespace tessary
