#include "catalog/CatalogText.h"
#include "core/PathText.h"
#include <array>
#include <cmath>
#include <cstdlib>

namespace tessary {

namespace {

std::wstring PadLeft(std::wstring text, std::size_t width) {
    if (text.size() < width)
        text.insert(0, width - text.size(), L' ');
    return text;
}

} // namespace

bool HasImageExtension(std::wstring_view pathOrName) {
    static constexpr std::array<std::wstring_view, 4> kThreeLetters = {L"jpg", L"bmp", L"gif", L"png"};
    for (auto ext : kThreeLetters) {
        if (EndsWithNoCase(pathOrName, ext))
            return true;
    }
    // The longer and newer names are matched as whole extensions: after the last dot of the name.
    const std::wstring extension = AsciiLower(FileExtension(pathOrName));
    static constexpr std::array<std::wstring_view, 6> kExtensions = {L"jpeg", L"jpe",  L"jfif",
                                                                     L"tif",  L"tiff", L"webp"};
    for (auto ext : kExtensions) {
        if (extension == ext)
            return true;
    }
    return false;
}

std::wstring ResolutionText(int width, int height) {
    return std::to_wstring(width) + L" x " + std::to_wstring(height);
}

std::wstring SizeColumnText(std::uint64_t bytes, const NumberFormat& fmt) {
    return PadLeft(GroupedDigits(bytes, fmt.group), 10);
}

std::wstring ResolutionColumnText(int width, int height) {
    std::wstring text = ResolutionText(width, height);
    const std::size_t firstSpace = text.find(L' ');
    constexpr std::size_t kSpaceIndex = 5; // the sixth character
    if (firstSpace < kSpaceIndex)
        text.insert(0, kSpaceIndex - firstSpace, L' ');
    return text;
}

std::wstring FolderNotShownStatus(std::wstring_view folderPath) {
    const bool network = folderPath.size() > 1 && folderPath[0] == L'\\' && folderPath[1] == L'\\';
    return std::wstring(network ? L"Network folders cannot be shown in the folder tree: "
                                : L"This folder cannot be found: ") +
           std::wstring(folderPath);
}

std::wstring LoadingFolderStatus(std::wstring_view folderName) {
    return L"Loading images in " + std::wstring(folderName);
}

std::wstring LoadProgressStatus(int index, int count, int loadedCount, std::wstring_view fileName) {
    long long percent = 0;
    if (count > 0) {
        // index * 100 / count, halves away from zero, in integers so halves are exact.
        long long scaled = 200LL * index;
        long long sign = scaled < 0 ? -1 : 1;
        percent = sign * ((std::llabs(scaled) + count) / (2LL * count));
    }
    return L"Loading images (" + std::to_wstring(percent) + L"%): #" + std::to_wstring(loadedCount) + L" " +
           std::wstring(fileName);
}

std::wstring LoadSummaryStatus(int loadedCount, double seconds, int cacheHits, int addedToCache,
                               const NumberFormat& fmt) {
    std::wstring text = L"Loaded " + std::to_wstring(loadedCount) + L" images in " +
                        FormatOneDecimal(seconds, fmt.decimal) + L" Seconds with " +
                        std::to_wstring(cacheHits) + L" cache hits";
    if (addedToCache > 0)
        text += L".  " + std::to_wstring(addedToCache) + L" files added to cache.";
    return text;
}

std::wstring DirStatusText(int images, int selected) {
    return L"Dir: " + std::to_wstring(images) + L" images, " + std::to_wstring(selected) + L" selected";
}

std::wstring NoCacheStatusText() {
    return L"No cache: no writable folder";
}

std::wstring CacheStatusText(int directories, std::uint64_t files, std::uint64_t bytes,
                             const NumberFormat& fmt) {
    const double megabytes = static_cast<double>(bytes) / 1024.0 / 1024.0;
    return L"Cache: " + std::to_wstring(directories) + L" Dirs, " + std::to_wstring(files) + L" Files, " +
           FormatOneDecimal(megabytes, fmt.decimal) + L" Mb";
}

} // namespace tessary
