// The thumbnail cache on disk: where a folder's thumbnails and cache file are, reading and writing
// an entry, the cache totals, and emptying or removing one folder's cache. Every operation is
// silent; failures show only in the results.
#pragma once
#include "catalog/CacheIni.h"
#include "imaging/Scaler.h"
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>

namespace tessary {

// An ordinary file (not a directory, not hidden, not a system file) exists at path.
bool FileExists(const std::wstring& path);

// What a folder load needs of one image file: its size in bytes and last-write time (UTC).
struct FileInfo {
    std::uint64_t size = 0;
    FILETIME lastWrite{};
    FileStamp Stamp() const;
};
// Nothing when the file cannot be found.
std::optional<FileInfo> GetFileInfo(const std::wstring& path);
// The Date column's text: the last-write time in local time, short date and long time.
std::wstring FileDateText(const FILETIME& lastWriteUtc);

// One image folder's part of the cache.
struct FolderCache {
    std::wstring directory;  // cache root & folder name (the cache root itself for a drive root)
    std::wstring iniFile;    // the cache file named after the program
    bool unicodeIni = false; // the cache file exists as UTF-16 (then it holds any character)
    std::wstring ThumbnailPath(const std::wstring& imageFileName) const;
    std::wstring SectionName(const std::wstring& imageFileName) const;
};
FolderCache FolderCacheFor(const std::wstring& folderName);

// The leading number of a key's value, or the default when the key gives nothing back.
IniNumber ReadIniValue(const std::wstring& section, const std::wstring& key, std::int32_t defaultValue,
                       const std::wstring& iniPath);
// A key's text; nothing when the key is missing or empty.
std::optional<std::wstring> ReadIniText(const std::wstring& section, const std::wstring& key,
                                        const std::wstring& iniPath);

// Whether the cached thumbnail of an image may be used: its section's recorded size and time
// match the image file (sections written before they were recorded are trusted).
bool CachedThumbnailMatches(const FolderCache& cache, const std::wstring& imageFileName,
                            const std::optional<FileInfo>& image);

// Writes one entry: the picture as a BMP beside the thumbnail, re-encoded as the JPEG thumbnail at
// quality 80, the BMP deleted, then the section's keys. True only when the thumbnail and its width
// and height were all written.
bool WriteCacheEntry(const FolderCache& cache, const std::wstring& imageFileName, ConstPixelView picture,
                     int imageWidth, int imageHeight, const FileStamp& stamp);

struct CacheTotals {
    int directories = 0; // the cache root counts as one
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
};
CacheTotals CountCache();

// Deletes every file of the folder's cache directory; the directory stays.
void ClearFolderCache(const std::wstring& folderName);
// Deletes every file of the folder's cache directory and removes the directory. The cache root
// (a drive root's cache) is emptied of files but kept: every other folder's cache lives in it.
void DeleteFolderCache(const std::wstring& folderName);

} // namespace tessary
