// Texts of the image catalog: path pieces, the image-file filter, the list's column texts and the
// status bar's messages. Locale pieces (separators, formatted dates) come in from the caller.
#pragma once
#include "app/SettingsText.h"
#include <cstdint>
#include <string>
#include <string_view>

namespace tessary {

// The text after the last backslash: "C:\Pics\2004" gives "2004", "C:\" and "abc" give "".
std::wstring LastPathComponent(std::wstring_view path);
// path & "\" unless it already ends with one; "" gives "\".
std::wstring AddTrailingBackslash(std::wstring_view path);
// Whether a file is listed: its last three characters, ignoring case, are jpg, bmp, gif or png (so
// "photoxjpg" is listed, as it always was), or its extension is jpeg, jpe, jfif, tif, tiff or webp.
bool HasImageExtension(std::wstring_view pathOrName);

// "1024 x 768".
std::wstring ResolutionText(int width, int height);

// List columns. Size: "#,##0" with the locale's group separator, left-padded with spaces to 10.
std::wstring SizeColumnText(std::uint64_t bytes, const NumberFormat& fmt);
// Resolution: padded so its first space stands at the sixth character (longer widths unpadded).
std::wstring ResolutionColumnText(int width, int height);
// Date: the locale's short date and long time of the (local) last-write time.
std::wstring DateColumnText(std::wstring_view shortDate, std::wstring_view longTime);

// Status panel 1.
std::wstring LoadingFolderStatus(std::wstring_view folderName);
// index is 1-based among count files; loadedCount is the entries listed so far.
std::wstring LoadProgressStatus(int index, int count, int loadedCount, std::wstring_view fileName);
std::wstring LoadSummaryStatus(int loadedCount, double seconds, int cacheHits, int addedToCache,
                               const NumberFormat& fmt);
// Status panel 2.
std::wstring DirStatusText(int images, int selected);
// Status panel 3: directory count (the cache root included), files and bytes in them.
std::wstring CacheStatusText(int directories, std::uint64_t files, std::uint64_t bytes,
                             const NumberFormat& fmt);

// A number with one decimal ("0.0"), halves away from zero, no group separators.
std::wstring FormatOneDecimal(double value, const NumberFormat& fmt);

} // namespace tessary
