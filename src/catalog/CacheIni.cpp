#include "catalog/CacheIni.h"
#include "catalog/CatalogText.h"
#include "imaging/FileNames.h"
#include <array>
#include <limits>

namespace tessary {

namespace {

constexpr wchar_t kEscape = L'|';

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

bool NeedsEscape(wchar_t c, bool atEnd, const KeepsInIniFile& keeps) {
    switch (c) {
    case L'[':
    case L']':
    case L'=':
    case L';':
    case kEscape:
        return true;
    default:
        break;
    }
    if (c < 0x20 || c == 0x7F)
        return true;
    if (atEnd && IsBlank(c))
        return true;
    return !keeps(c);
}

// One or two UTF-16 units (the second 0 when there is none).
std::array<std::uint32_t, 2> ToUtf16(std::uint32_t code) {
    if (code <= 0xFFFF || code > 0x10FFFF)
        return {code & 0xFFFF, 0};
    code -= 0x10000;
    return {0xD800 + (code >> 10), 0xDC00 + (code & 0x3FF)};
}

std::wstring_view TrimBlanks(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A whole text of decimal digits (blanks around it allowed); nothing otherwise or on overflow.
std::optional<std::uint64_t> ParseUnsigned(std::wstring_view text) {
    text = TrimBlanks(text);
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

} // namespace

std::wstring CacheRoot(std::wstring_view programFolder) {
    return AddTrailingBackslash(programFolder) + L"Cache\\";
}

std::wstring CacheDirectoryName(std::wstring_view folderPath) {
    // The key: separators as backslashes, no trailing ones, ASCII letters in one case. Folders
    // told apart only by other letters' case get two caches, which costs a decode, never a wrong
    // thumbnail.
    std::wstring path(folderPath);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    std::wstring key = path;
    for (wchar_t& c : key)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a over the UTF-16 units
    for (wchar_t c : key) {
        const auto unit = static_cast<std::uint16_t>(c);
        for (int shift : {0, 8}) {
            hash ^= (unit >> shift) & 0xFFu;
            hash *= 1099511628211ull;
        }
    }
    const auto folded = static_cast<std::uint32_t>(hash ^ (hash >> 32));
    wchar_t suffix[10];
    suffix[0] = L'~';
    for (int i = 0; i < 8; ++i)
        suffix[1 + i] = L"0123456789abcdef"[(folded >> (28 - 4 * i)) & 0xF];
    suffix[9] = 0;

    // The last name, every character a file name cannot hold replaced, short enough for the
    // suffix to fit one component (a pair of surrogates is never split).
    std::wstring name = LastPathComponent(path);
    for (wchar_t& c : name)
        if (c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
            c = L'_';
    const std::size_t room = kMaxComponentChars - 9;
    if (name.size() > room) {
        std::size_t cut = room;
        if (name[cut - 1] >= 0xD800 && name[cut - 1] <= 0xDBFF)
            --cut;
        name.resize(cut);
    }
    return name + suffix;
}

std::wstring FolderCacheDir(std::wstring_view programFolder, std::wstring_view folderPath) {
    return CacheRoot(programFolder) + CacheDirectoryName(folderPath);
}

std::optional<std::wstring> LegacyFolderCacheDir(std::wstring_view programFolder,
                                                 std::wstring_view folderPath) {
    const std::wstring name = LastPathComponent(folderPath);
    if (!IsPlainComponent(name))
        return std::nullopt;
    return CacheRoot(programFolder) + name;
}

std::wstring CacheFilePath(std::wstring_view folderCacheDir, std::wstring_view exeBaseName) {
    return AddTrailingBackslash(folderCacheDir) + std::wstring(exeBaseName) + L".cache";
}

std::wstring ThumbnailPath(std::wstring_view folderCacheDir, std::wstring_view imageFileName) {
    return AddTrailingBackslash(folderCacheDir) + std::wstring(imageFileName);
}

bool IsCountedCacheDirectory(std::wstring_view name) {
    return !name.empty() && name.front() != L'.';
}

bool ShouldWriteToCache(bool fromCache, bool cacheEnabled, int divisor) {
    return !fromCache && cacheEnabled && divisor >= 2;
}

std::int32_t LeadingNumber(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1)
            return 0;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(value);
}

IniNumber InterpretIniValue(std::wstring_view returned, std::int32_t defaultValue) {
    // The profile read's buffer ends at its first NUL.
    returned = returned.substr(0, returned.find(L'\0'));
    if (returned.empty())
        return {false, defaultValue};
    return {true, LeadingNumber(returned)};
}

bool IsPrintableAscii(wchar_t c) {
    return c >= 0x20 && c <= 0x7E;
}

std::wstring CacheSectionName(std::wstring_view imageFileName, const KeepsInIniFile& keeps) {
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring section;
    section.reserve(imageFileName.size());
    for (std::size_t i = 0; i < imageFileName.size(); ++i) {
        const wchar_t c = imageFileName[i];
        const bool atEnd = i == 0 || i + 1 == imageFileName.size();
        if (!NeedsEscape(c, atEnd, keeps)) {
            section += c;
            continue;
        }
        // Escapes are UTF-16 units, so a name gives the same section wherever wchar_t is wider.
        const auto code = static_cast<std::uint32_t>(c);
        for (std::uint32_t unit : ToUtf16(code)) {
            if (unit == 0)
                break;
            section += kEscape;
            for (int shift = 12; shift >= 0; shift -= 4)
                section += kHex[(unit >> shift) & 0xF];
        }
    }
    return section;
}

std::vector<std::pair<std::wstring_view, std::wstring>> CacheSectionEntries(int width, int height,
                                                                            const FileStamp& stamp) {
    return {{kWidthKey, std::to_wstring(width)},
            {kHeightKey, std::to_wstring(height)},
            {kFileSizeKey, std::to_wstring(stamp.size)},
            {kFileTimeKey, std::to_wstring(stamp.writeTime)},
            {kUprightKey, L"1"}};
}

std::vector<IniSectionText> ParseIniText(std::wstring_view text) {
    auto isSpace = [](wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A; };
    auto trim = [&](std::wstring_view t) {
        while (!t.empty() && isSpace(t.front()))
            t.remove_prefix(1);
        while (!t.empty() && isSpace(t.back()))
            t.remove_suffix(1);
        return t;
    };
    std::vector<IniSectionText> sections;
    while (!text.empty()) {
        const std::size_t end = text.find(L'\n');
        const std::wstring_view line = trim(text.substr(0, end));
        text.remove_prefix(end == std::wstring_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == L';')
            continue;
        if (line.front() == L'[') {
            const std::size_t close = line.rfind(L']');
            if (close != std::wstring_view::npos && close > 0) {
                sections.push_back({std::wstring(line.substr(1, close - 1)), {}});
                continue;
            }
        }
        const std::size_t equals = line.find(L'=');
        if (sections.empty() || equals == std::wstring_view::npos)
            continue;
        sections.back().keys.emplace_back(trim(line.substr(0, equals)), trim(line.substr(equals + 1)));
    }
    return sections;
}

std::wstring FormatIniText(const std::vector<IniSectionText>& sections) {
    std::wstring text;
    for (const IniSectionText& section : sections) {
        text += L'[';
        text += section.name;
        text += L"]\r\n";
        for (const auto& [key, value] : section.keys) {
            text += key;
            text += L'=';
            text += value;
            text += L"\r\n";
        }
    }
    return text;
}

bool CachedThumbnailIsCurrent(const CacheSectionTexts& section, const std::optional<FileStamp>& image) {
    if (!section.width || !section.height)
        return false;
    if (!section.fileSize && !section.fileTime)
        return true;
    if (!section.fileSize || !section.fileTime || !image)
        return false;
    const auto size = ParseUnsigned(*section.fileSize);
    const auto time = ParseUnsigned(*section.fileTime);
    return size && time && *size == image->size && *time == image->writeTime;
}

} // namespace tessary
