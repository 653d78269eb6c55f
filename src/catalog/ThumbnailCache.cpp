#include "catalog/ThumbnailCache.h"
#include "catalog/CatalogText.h"
#include "imaging/FileNames.h"
#include "imaging/ImageFile.h"
#include "imaging/JpegCodec.h"
#include "platform/AppInfo.h"
#include "platform/Handles.h"
#include "platform/Locale.h"
#include <algorithm>
#include <cstring>
#include <cwchar>

namespace tessary {

namespace {

constexpr int kJpegQuality = 80;
// A cache file is read whole up to this size (a section takes about 80 bytes).
constexpr std::size_t kMaxWholeCacheFileBytes = 4u << 20;
// A load that adds sections rewrites the file whole up to this size (beyond, section by section).
constexpr std::size_t kMaxBatchedCacheFileBytes = 64u << 20;

std::uint64_t FileSize(const WIN32_FIND_DATAW& fd) {
    return (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
}

bool IsDirectory(const WIN32_FIND_DATAW& fd) {
    return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Calls visit for every entry of folder matching pattern, "." and ".." left out.
template <typename Visit> void ForEachEntry(const std::wstring& folder, const wchar_t* pattern, Visit visit) {
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW(LongPathForm(AddTrailingBackslash(folder) + pattern).c_str(), &fd));
    if (!find)
        return;
    do {
        const std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..")
            continue;
        visit(name, fd);
    } while (FindNextFileW(find.get(), &fd));
}

// Whether a character comes back unchanged from the ANSI code page the profile functions write.
bool KeepsInAnsiFile(wchar_t c) {
    if (c >= 0xD800 && c <= 0xDFFF)
        return false; // half of a pair converts to nothing sensible on its own
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int n =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, sizeof bytes, nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return false;
    wchar_t back[4];
    const int m = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, n, back, 4);
    return m == 1 && back[0] == c;
}

// Section and key names ignore case, as the profile functions' do.
bool SameKeyName(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

bool KeepsInUnicodeFile(wchar_t c) {
    return c >= 0x20 && c != 0x7F;
}

bool StartsWithUtf16Mark(const std::wstring& path) {
    unsigned char head[2] = {};
    std::size_t got = 0;
    return ReadFileStart(path, head, sizeof head, got) && got == 2 && head[0] == 0xFF && head[1] == 0xFE;
}

void DeleteFilesIn(const std::wstring& directory) {
    ForEachEntry(directory, L"*.*", [&](const std::wstring& name, const WIN32_FIND_DATAW& fd) {
        if (!IsDirectory(fd))
            DeleteFileW(LongPathForm(AddTrailingBackslash(directory) + name).c_str());
    });
}

} // namespace

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(LongPathForm(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

FileStamp FileInfo::Stamp() const {
    return {size, (static_cast<std::uint64_t>(lastWrite.dwHighDateTime) << 32) | lastWrite.dwLowDateTime};
}

std::optional<FileInfo> GetFileInfo(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    FileInfo info;
    info.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    info.lastWrite = data.ftLastWriteTime;
    return info;
}

std::wstring FileDateText(const FILETIME& lastWriteUtc) {
    SYSTEMTIME utc{}, local{};
    if (!FileTimeToSystemTime(&lastWriteUtc, &utc))
        return {};
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        local = utc;
    local.wMilliseconds = 0;
    return DateTimeText(ShortDateText(local), LongTimeText(local));
}

std::wstring FolderCache::ThumbnailPath(const std::wstring& imageFileName) const {
    return tessary::ThumbnailPath(directory, imageFileName);
}

std::wstring FolderCache::SectionName(const std::wstring& imageFileName) const {
    return CacheSectionName(imageFileName, unicodeIni ? KeepsInIniFile(KeepsInUnicodeFile)
                                                      : KeepsInIniFile(KeepsInAnsiFile));
}

FolderCache FolderCacheFor(const std::wstring& folderPath) {
    FolderCache cache;
    if (DataFolder().empty())
        return cache; // no writable folder: nothing is cached, nothing is found
    cache.directory = FolderCacheDir(DataFolder(), folderPath);
    cache.iniFile = LongPathForm(CacheFilePath(cache.directory, ExeBaseName()));
    // The profile functions write a new file in the ANSI code page, and keep an existing UTF-16
    // file as it is.
    cache.unicodeIni = StartsWithUtf16Mark(cache.iniFile);
    return cache;
}

void AdoptLegacyCache(const std::wstring& folderPath) {
    if (DataFolder().empty())
        return;
    const std::optional<std::wstring> legacy = LegacyFolderCacheDir(DataFolder(), folderPath);
    if (!legacy)
        return;
    const DWORD attributes = GetFileAttributesW(LongPathForm(*legacy).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    // Fails, leaving both as they are, when the folder already has a cache of its own.
    MoveFileW(LongPathForm(*legacy).c_str(), LongPathForm(FolderCacheDir(DataFolder(), folderPath)).c_str());
}

CacheSection CacheSection::Read(const std::wstring& iniPath, const std::wstring& section) {
    CacheSection result;
    // "key=value" texts, each ended by a NUL, the last by two.
    wchar_t buffer[1024] = {};
    const DWORD n = GetPrivateProfileSectionW(section.c_str(), buffer, 1024, iniPath.c_str());
    for (const wchar_t* p = buffer; p < buffer + n && *p; p += wcslen(p) + 1) {
        const std::wstring_view line(p);
        const auto equals = line.find(L'=');
        if (equals != std::wstring_view::npos)
            result.keys_.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    return result;
}

const std::wstring* CacheSection::Find(std::wstring_view key) const {
    for (const auto& [name, value] : keys_) {
        if (SameKeyName(name, key))
            return &value;
    }
    return nullptr;
}

std::optional<std::wstring> CacheSection::Text(std::wstring_view key) const {
    const std::wstring* value = Find(key);
    if (!value || value->empty())
        return std::nullopt;
    return *value;
}

IniNumber CacheSection::Value(std::wstring_view key, std::int32_t defaultValue) const {
    // A missing key gives the default's text back, as the profile read does; an empty one nothing.
    const std::wstring* value = Find(key);
    return InterpretIniValue(value ? *value : std::to_wstring(defaultValue), defaultValue);
}

CacheFileContents CacheFileContents::Read(const FolderCache& cache) {
    CacheFileContents contents;
    contents.iniFile_ = cache.iniFile;
    if (cache.iniFile.empty()) {
        contents.whole_ = true; // running without a cache: every section is missing
        return contents;
    }
    const DWORD attributes = GetFileAttributesW(cache.iniFile.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // No cache file yet: every section is missing, as the profile read would say.
        const DWORD error = GetLastError();
        contents.whole_ = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return contents;
    }
    GrowBuffer<unsigned char> bytes;
    std::size_t size = 0;
    if (!ReadWholeFile(cache.iniFile, bytes, size, kMaxWholeCacheFileBytes))
        return contents;
    const unsigned char* data = bytes.data();
    std::wstring text;
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        text.resize((size - 2) / 2);
        std::memcpy(text.data(), data + 2, text.size() * sizeof(wchar_t));
    } else if ((size >= 2 && data[0] == 0xFE && data[1] == 0xFF) ||
               (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)) {
        return contents; // the profile functions' own reading of these stays in charge
    } else if (size > 0) {
        const int n = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data),
                                          static_cast<int>(size), nullptr, 0);
        if (n <= 0)
            return contents;
        text.resize(static_cast<std::size_t>(n));
        MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data), static_cast<int>(size),
                            text.data(), n);
    }
    contents.sections_ = IniSections(ParseIniText(text));
    contents.whole_ = true;
    return contents;
}

namespace {

bool NameBefore(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_LESS_THAN;
}

} // namespace

IniSections::IniSections(std::vector<IniSectionText> sections) : sections_(std::move(sections)) {
    byName_.resize(sections_.size());
    for (std::size_t i = 0; i < byName_.size(); ++i)
        byName_[i] = i;
    std::stable_sort(byName_.begin(), byName_.end(), [this](std::size_t a, std::size_t b) {
        return NameBefore(sections_[a].name, sections_[b].name);
    });
}

std::vector<std::size_t>::const_iterator IniSections::FirstNotBefore(std::wstring_view name) const {
    return std::lower_bound(byName_.begin(), byName_.end(), name, [this](std::size_t i, std::wstring_view n) {
        return NameBefore(sections_[i].name, n);
    });
}

const IniSectionText* IniSections::Find(std::wstring_view name) const {
    const auto it = FirstNotBefore(name);
    return it != byName_.end() && SameKeyName(sections_[*it].name, name) ? &sections_[*it] : nullptr;
}

void IniSections::Put(IniSectionText section) {
    const auto at = FirstNotBefore(section.name);
    if (at != byName_.end() && SameKeyName(sections_[*at].name, section.name)) {
        sections_[*at].keys = std::move(section.keys);
        return;
    }
    byName_.insert(at, sections_.size());
    sections_.push_back(std::move(section));
}

CacheSection CacheFileContents::Section(const std::wstring& sectionName) const {
    if (!whole_)
        return CacheSection::Read(iniFile_, sectionName);
    CacheSection section;
    if (const IniSectionText* s = sections_.Find(sectionName))
        section.keys_ = s->keys;
    return section;
}

void CacheFileContents::Replace(const std::wstring& sectionName,
                                std::vector<std::pair<std::wstring, std::wstring>> keys) {
    if (whole_)
        sections_.Put({sectionName, std::move(keys)});
}

bool CachedThumbnailMatches(const CacheSection& section, const std::optional<FileInfo>& image,
                            const std::wstring& imagePath) {
    std::optional<FileStamp> stamp;
    if (image)
        stamp = image->Stamp();
    if (!CachedThumbnailIsCurrent({section.Text(kWidthKey), section.Text(kHeightKey),
                                   section.Text(kFileSizeKey), section.Text(kFileTimeKey)},
                                  stamp))
        return false;
    // Made before orientations were applied: still right for every picture that is not turned.
    return section.Text(kUprightKey) || FileOrientation(imagePath) == 1;
}

bool EncodeThumbnail(ConstPixelView picture, std::vector<unsigned char>& jpeg) {
    return EncodeJpeg(picture.pixels, picture.width, picture.height, picture.stride * 4, kJpegQuality, jpeg);
}

bool WriteCacheThumbnail(const FolderCache& cache, const std::wstring& imageFileName,
                         const std::vector<unsigned char>& jpeg) {
    if (cache.directory.empty())
        return false;
    // The cache root may have been removed since start-up; an existing directory is fine.
    CreateDirectoryW(LongPathForm(CacheRoot(DataFolder())).c_str(), nullptr);
    CreateDirectoryW(LongPathForm(cache.directory).c_str(), nullptr);
    // In place: a thumbnail is used only once its section is written after it, so one cut short
    // is never taken for a good one.
    return !jpeg.empty() &&
           WriteFileInPlace(LongPathForm(cache.ThumbnailPath(imageFileName)), jpeg.data(), jpeg.size());
}

void CacheSectionBatch::Add(const std::wstring& imageFileName, int imageWidth, int imageHeight,
                            const FileStamp& stamp) {
    IniSectionText section{cache_.SectionName(imageFileName), {}};
    for (const auto& [key, value] : CacheSectionEntries(imageWidth, imageHeight, stamp))
        section.keys.emplace_back(key, value);
    pending_.push_back(std::move(section));
}

int CacheSectionBatch::FlushThroughProfile() {
    int written = 0;
    for (const IniSectionText& section : pending_) {
        std::wstring lines;
        for (const auto& [key, value] : section.keys)
            lines += key + L'=' + value + L'\0';
        lines += L'\0';
        if (WritePrivateProfileSectionW(section.name.c_str(), lines.c_str(), cache_.iniFile.c_str()))
            ++written;
    }
    pending_.clear();
    return written;
}

int CacheSectionBatch::Flush() {
    if (pending_.empty())
        return 0;
    const int count = static_cast<int>(pending_.size());
    if (cache_.directory.empty()) { // nowhere to keep a cache
        pending_.clear();
        return 0;
    }
    if (!read_) {
        read_ = true;
        GrowBuffer<unsigned char> bytes;
        std::size_t size = 0;
        if (GetFileAttributesW(cache_.iniFile.c_str()) != INVALID_FILE_ATTRIBUTES) {
            if (!ReadWholeFile(cache_.iniFile, bytes, size, kMaxBatchedCacheFileBytes))
                profile_ = true;
        }
        const unsigned char* data = bytes.data();
        std::wstring text;
        if (profile_ || (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) ||
            (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)) {
            profile_ = true; // an encoding the profile functions keep their own way
        } else if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
            text.resize((size - 2) / 2);
            std::memcpy(text.data(), data + 2, text.size() * sizeof(wchar_t));
        } else if (size > 0) {
            const int n = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data),
                                              static_cast<int>(size), nullptr, 0);
            text.resize(static_cast<std::size_t>(std::max(n, 0)));
            if (n > 0)
                MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data), static_cast<int>(size),
                                    text.data(), n);
            else
                profile_ = true;
        }
        if (!profile_)
            file_ = IniSections(ParseIniText(text));
    }
    if (profile_)
        return FlushThroughProfile();
    // A section already there takes the new keys in its place (the first of a name, as every read
    // finds that one); a new one goes at the end.
    for (IniSectionText& section : pending_)
        file_.Put(std::move(section));
    pending_.clear();
    const std::wstring text = FormatIniText(file_.all());
    std::vector<unsigned char> bytes;
    if (cache_.unicodeIni) {
        bytes = {0xFF, 0xFE};
        const auto* p = reinterpret_cast<const unsigned char*>(text.data());
        bytes.insert(bytes.end(), p, p + text.size() * sizeof(wchar_t));
    } else {
        const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                          nullptr, nullptr);
        bytes.resize(static_cast<std::size_t>(std::max(n, 0)));
        if (n > 0)
            WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                reinterpret_cast<char*>(bytes.data()), n, nullptr, nullptr);
    }
    CreateDirectoryW(LongPathForm(CacheRoot(DataFolder())).c_str(), nullptr);
    CreateDirectoryW(LongPathForm(cache_.directory).c_str(), nullptr);
    return WriteFileReplacing(cache_.iniFile, bytes.data(), bytes.size()) ? count : 0;
}

CacheTotals CountCache() {
    if (DataFolder().empty())
        return {};
    const std::wstring root = CacheRoot(DataFolder());
    std::vector<std::wstring> directories{L""};
    ForEachEntry(root, L"*", [&](const std::wstring& name, const WIN32_FIND_DATAW& fd) {
        if (IsDirectory(fd) && IsCountedCacheDirectory(name))
            directories.push_back(name);
    });
    CacheTotals totals;
    totals.directories = static_cast<int>(directories.size());
    for (const std::wstring& name : directories) {
        ForEachEntry(root + name, L"*.*", [&](const std::wstring&, const WIN32_FIND_DATAW& fd) {
            if (!IsDirectory(fd)) {
                ++totals.files;
                totals.bytes += FileSize(fd);
            }
        });
    }
    return totals;
}

// The directory always lies directly inside the cache root (its name is one plain component made
// from the path), whatever text the folder path holds.
void ClearFolderCache(const std::wstring& folderPath) {
    if (!DataFolder().empty())
        DeleteFilesIn(FolderCacheDir(DataFolder(), folderPath));
}

void DeleteFolderCache(const std::wstring& folderPath) {
    if (DataFolder().empty())
        return;
    const std::wstring directory = FolderCacheDir(DataFolder(), folderPath);
    DeleteFilesIn(directory);
    // A directory that is the current one cannot be removed.
    SetCurrentDirectoryW(CacheRoot(DataFolder()).c_str());
    RemoveDirectoryW(LongPathForm(directory).c_str());
}

} // namespace tessary
