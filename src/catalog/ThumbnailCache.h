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
#include <string_view>
#include <utility>
#include <vector>

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
FolderCache FolderCacheFor(const std::wstring& folderPath);
// A cache that an earlier version kept under the folder's last name alone becomes this folder's
// cache, when the folder has none of its own yet: its thumbnails are checked against their images
// one by one as every cached thumbnail is.
void AdoptLegacyCache(const std::wstring& folderPath);

// The keys of one section of a cache file, read with one profile call (a load reads four keys
// per cached thumbnail, and every profile call opens the file).
class CacheSection {
public:
    static CacheSection Read(const std::wstring& iniPath, const std::wstring& section);
    // A key's text (key names ignore case); nothing when the key is missing or empty.
    std::optional<std::wstring> Text(std::wstring_view key) const;
    // The leading number of the key's value, or the default when the key gives nothing back.
    IniNumber Value(std::wstring_view key, std::int32_t defaultValue) const;

private:
    friend class CacheFileContents;
    const std::wstring* Find(std::wstring_view key) const;
    std::vector<std::pair<std::wstring, std::wstring>> keys_;
};

// A cache file's sections with an index by name, compared as the profile functions compare them
// (ordinal, ignoring case): a folder of thousands is looked up and written without a search
// through every section for each thumbnail.
class IniSections {
public:
    IniSections() = default;
    explicit IniSections(std::vector<IniSectionText> sections);
    // The first section of that name (the one every profile read finds), or null.
    const IniSectionText* Find(std::wstring_view name) const;
    // The first section of the name takes the keys; without one, the section goes at the end.
    void Put(IniSectionText section);
    const std::vector<IniSectionText>& all() const { return sections_; }

private:
    // The first position in byName_ whose name does not sort before name.
    std::vector<std::size_t>::const_iterator FirstNotBefore(std::wstring_view name) const;
    std::vector<IniSectionText> sections_;
    std::vector<std::size_t> byName_; // positions in sections_, by name, equal names in file order
};

// A folder's cache file read once for a whole load: every profile call opens and searches the file
// again, which costs more than decoding a cached thumbnail. A file too large to keep, or in an
// encoding other than ANSI or UTF-16, is read section by section as before.
class CacheFileContents {
public:
    static CacheFileContents Read(const FolderCache& cache);
    // What CacheSection::Read gives for the section now.
    CacheSection Section(const std::wstring& sectionName) const;
    // Keeps the copy in step after a section was written (the first section of that name is the
    // one every read finds).
    void Replace(const std::wstring& sectionName, std::vector<std::pair<std::wstring, std::wstring>> keys);

private:
    std::wstring iniFile_;
    bool whole_ = false; // false: read from the file at each lookup
    IniSections sections_;
};

// Whether the cached thumbnail of an image may be used: its section's recorded size and time
// match the image file (sections written before they were recorded are trusted), and it was made
// upright (a section written before orientations were applied is trusted unless the image's EXIF
// orientation turns it).
bool CachedThumbnailMatches(const CacheSection& section, const std::optional<FileInfo>& image,
                            const std::wstring& imagePath);

// The thumbnail JPEG of a reduced picture (quality 80), encoded straight from its pixels.
bool EncodeThumbnail(ConstPixelView picture, std::vector<unsigned char>& jpeg);

// Writes a thumbnail already encoded as JPEG, in place (a failed write leaves no file).
bool WriteCacheThumbnail(const FolderCache& cache, const std::wstring& imageFileName,
                         const std::vector<unsigned char>& jpeg);

// A folder load's new sections, written to the cache file a batch at a time (at each checkpoint
// and at the end): the file is read once, and each batch replaces it whole through a temporary
// file renamed over it, so a thumbnail's share of the writing stays small however many there are,
// and the file is never left half written. The text is what the profile functions write.
class CacheSectionBatch {
public:
    explicit CacheSectionBatch(FolderCache cache) : cache_(std::move(cache)) {}
    // The section of one new thumbnail (written width first, as CacheSectionEntries orders them).
    void Add(const std::wstring& imageFileName, int imageWidth, int imageHeight, const FileStamp& stamp);
    bool empty() const { return pending_.empty(); }
    // Writes the sections added since the last flush and says how many reached the file: none when
    // it could not be written (the sections are then dropped: their thumbnails are made again
    // next time).
    int Flush();

private:
    int FlushThroughProfile();
    FolderCache cache_;
    std::vector<IniSectionText> pending_;
    bool read_ = false;    // file_ holds the file's sections
    bool profile_ = false; // an encoding only the profile functions handle: write through them
    IniSections file_;
};

struct CacheTotals {
    int directories = 0; // the cache root counts as one
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
};
CacheTotals CountCache();

// Deletes every file of the image folder's cache directory; the directory stays.
void ClearFolderCache(const std::wstring& folderPath);
// Deletes every file of the image folder's cache directory and removes the directory.
void DeleteFolderCache(const std::wstring& folderPath);

} // namespace tessary
