// Texts of the image catalog: the image-file filter, the list's column texts and the
// status bar's messages. Locale pieces (separators, formatted dates) come in from the caller.
#pragma once
#include "core/NumberText.h"
#include "core/PathText.h"
#include <cstdint>
#include <string>
#include <string_view>

namespace tessary {

// Whether a file is listed: its last three characters, ignoring case, are jpg, bmp, gif or png (so
// "photoxjpg" is listed, as it always was), or its extension is jpeg, jpe, jfif, tif, tiff or webp.
bool HasImageExtension(std::wstring_view pathOrName);

// "1024 x 768".
std::wstring ResolutionText(int width, int height);

// List columns. Size: "#,##0" with the locale's group separator, left-padded with spaces to 10.
std::wstring SizeColumnText(std::uint64_t bytes, const NumberFormat& fmt);
// Resolution: padded so its first space stands at the sixth character (longer widths unpadded).
std::wstring ResolutionColumnText(int width, int height);

// Status panel 1.
std::wstring LoadingFolderStatus(std::wstring_view folderName);
// Why a folder that was asked for is not shown: the tree holds drives, not network shares.
std::wstring FolderNotShownStatus(std::wstring_view folderPath);
// index is 1-based among count files; loadedCount is the entries listed so far.
std::wstring LoadProgressStatus(int index, int count, int loadedCount, std::wstring_view fileName);
std::wstring LoadSummaryStatus(int loadedCount, double seconds, int cacheHits, int addedToCache,
                               const NumberFormat& fmt);
// Status panel 2.
std::wstring DirStatusText(int images, int selected);
// Status panel 3 when no folder can hold the cache (the program then runs without one).
std::wstring NoCacheStatusText();
// Status panel 3: directory count (the cache root included), files and bytes in them.
std::wstring CacheStatusText(int directories, std::uint64_t files, std::uint64_t bytes,
                             const NumberFormat& fmt);

} // namespace tessary
