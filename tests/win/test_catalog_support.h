// Shared by the catalog's Windows tests: a main window on a folder of generated images, and ways
// to read what the user sees (entries, columns, status panels, the pixels of a cell).
#pragma once
#include "core/SharedState.h"
#include "catalog/CatalogText.h"
#include "catalog/ThumbnailCache.h"
#include "platform/ListView.h"
#include "platform/Surface.h"
#include "support/MainWindow.h"
#include <cstdint>
#include <regex>
#include <string>
#include <vector>

namespace wintest {

class CatalogTest : public MainWindowTest {
protected:
    void TearDown() override {
        MainWindowTest::TearDown();
        // The cache folder is shared by every test program: leave nothing behind.
        for (const std::wstring& folder : cacheFolders_)
            tessary::DeleteFolderCache(folder);
    }

    // Remembers a folder whose cache the test may fill, so it is removed afterwards.
    const std::wstring& Track(const std::wstring& folder) {
        cacheFolders_.push_back(folder);
        tessary::DeleteFolderCache(folder);
        return folder;
    }

    tessary::ListView List() { return tessary::ListView(form().ListViewPics); }

    // Entry texts in the order shown.
    std::vector<std::wstring> Names() {
        std::vector<std::wstring> names;
        auto list = List();
        for (int i = 0; i < list.Count(); ++i)
            names.push_back(list.Text(i));
        return names;
    }
    int Find(const std::wstring& name) {
        auto list = List();
        for (int i = 0; i < list.Count(); ++i)
            if (list.Text(i) == name)
                return i;
        return -1;
    }
    std::wstring Column(const std::wstring& name, int subItem) {
        const int i = Find(name);
        return i < 0 ? L"<missing>" : List().Text(i, subItem);
    }
    std::wstring Panel(int n) { return form().StatusBar1.PanelText(n); }

    // The cell picture of an entry, as the image list holds it.
    tessary::Surface Cell(const std::wstring& name) {
        tessary::Surface cell;
        const int i = Find(name);
        HIMAGELIST images = List().GetImageList();
        int w = 0, h = 0;
        if (i < 0 || !images || !ImageList_GetIconSize(images, &w, &h) || !cell.Create(w, h))
            return cell;
        ImageList_Draw(images, List().ImageIndex(i), cell.dc(), 0, 0, ILD_NORMAL);
        GdiFlush();
        return cell;
    }

    std::wstring CacheDir(const std::wstring& folder) { return tessary::FolderCacheFor(folder).directory; }

private:
    std::vector<std::wstring> cacheFolders_;
};

inline int Red(std::uint32_t p) {
    return static_cast<int>((p >> 16) & 0xFF);
}
inline int Green(std::uint32_t p) {
    return static_cast<int>((p >> 8) & 0xFF);
}
inline int Blue(std::uint32_t p) {
    return static_cast<int>(p & 0xFF);
}
inline std::uint32_t Rgb(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// How many pixels of the rectangle have exactly this colour (0xRRGGBB).
inline int CountColour(const tessary::Surface& s, RECT r, std::uint32_t rgb) {
    int n = 0;
    for (int y = r.top; y < r.bottom && y < s.height(); ++y)
        for (int x = r.left; x < r.right && x < s.width(); ++x)
            if ((s.Pixel(x, y) & 0xFFFFFF) == rgb)
                ++n;
    return n;
}

// "Loaded N images in S Seconds with H cache hits" with or without ".  A files added to cache."
struct Summary {
    bool matched = false;
    int loaded = -1, hits = -1, added = 0;
};
inline Summary ParseSummary(const std::wstring& text) {
    static const std::wregex pattern(L"Loaded (\\d+) images in \\d+[.,]\\d Seconds with (\\d+) cache "
                                     L"hits(?:\\.  (\\d+) files added to cache\\.)?");
    std::wsmatch m;
    Summary s;
    if (!std::regex_match(text, m, pattern))
        return s;
    s.matched = true;
    s.loaded = std::stoi(m[1].str());
    s.hits = std::stoi(m[2].str());
    if (m[3].matched)
        s.added = std::stoi(m[3].str());
    return s;
}

// A file of one flat colour (0xRRGGBB); the format follows the extension.
inline bool WriteFlat(const std::wstring& path, int w, int h, std::uint32_t rgb) {
    return WriteImage(path, w, h, [rgb](int, int) { return rgb; });
}

// Sets the last-write time (UTC, at noon).
inline bool SetWriteDate(const std::wstring& path, int year, int month, int day) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = 12;
    FILETIME ft;
    if (!SystemTimeToFileTime(&st, &ft))
        return false;
    tessary::UniqueFile f(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return f && SetFileTime(f.get(), nullptr, nullptr, &ft);
}

// Makes the file exactly size bytes long (zeros appended; sparse where the file system can).
inline bool SetFileLength(const std::wstring& path, std::uint64_t size) {
    tessary::UniqueFile f(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    return f && SetFilePointerEx(f.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(f.get());
}

inline std::uint64_t FileLength(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d))
        return 0;
    return (static_cast<std::uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

} // namespace wintest
