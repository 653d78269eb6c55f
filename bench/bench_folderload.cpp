// Folder-load benchmark: times LoadFolder on folders of pictures through the real main window,
// cold (the folder's cache emptied first) and warm (every thumbnail cached), and prints images
// per second and milliseconds per image with the time split by phase, the longest time the window
// went without letting messages run, and the peak memory.
//
//   bench_folderload --generate <root>              makes the JPEG photo folders once (skipped
//                                                   when present) under root
//   bench_folderload [--runs N] [--workers N] <folder>...
//                                                   times the loads of each folder (workers: the
//                                                   load's decoding threads; default one per core
//                                                   beyond the first, 0 none)
//
// Lines starting with "RESULT" are for tools/bench.sh, which compares them with vipsthumbnail.
#include "app/frmMain.h"
#include "catalog/CatalogText.h"
#include "catalog/ThumbnailCache.h"
#include "catalog/ThumbnailWorkers.h"
#include "imaging/JpegCodec.h"
#include "platform/Handles.h"
#include "platform/MessagePump.h"
#include <objidl.h>
#include "platform/GdiPlus.h"
#include <psapi.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tessary {
// The benchmark reaches into the window the way the tests do.
struct MainWindowProbe {
    static SharedState& State(frmMain& f) { return f.state_; }
    static CatalogView& Catalog(frmMain& f) { return f.catalog_; }
};
} // namespace tessary

using namespace tessary;

namespace {

struct PhotoSet {
    const wchar_t* folder;
    int width, height, count;
};
constexpr PhotoSet kSets[] = {{L"photos_4000x3000", 4000, 3000, 60}, {L"photos_1920x1080", 1920, 1080, 60}};

std::wstring Widen(const char* s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_ACP, 0, s, -1, w.data(), n);
    return w;
}

std::string Narrow(const std::wstring& s) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

// A small, fast generator: the pictures only need to look like photographs to the codec.
struct Random {
    std::uint32_t state;
    std::uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int Between(int lo, int hi) {
        return lo + static_cast<int>(Next() % static_cast<std::uint32_t>(hi - lo + 1));
    }
};

std::uint8_t Clamp(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// Smooth colour fields, overlapping shapes with soft edges, and sensor-like noise.
void PaintPhoto(std::vector<std::uint32_t>& px, int w, int h, std::uint32_t seed) {
    Random rnd{seed * 2654435761u + 12345u};
    // Two gradients crossing, as sky and ground.
    const int r0 = rnd.Between(40, 200), g0 = rnd.Between(40, 200), b0 = rnd.Between(40, 200);
    const int r1 = rnd.Between(20, 230), g1 = rnd.Between(20, 230), b1 = rnd.Between(20, 230);
    const double fx = rnd.Between(1, 6) * 3.14159 / w, fy = rnd.Between(1, 6) * 3.14159 / h;
    std::vector<int> wave(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x)
        wave[static_cast<std::size_t>(x)] = static_cast<int>(40 * std::sin(x * fx));
    for (int y = 0; y < h; ++y) {
        const int t = y * 256 / h;
        const int rr = (r0 * (256 - t) + r1 * t) >> 8, gg = (g0 * (256 - t) + g1 * t) >> 8,
                  bb = (b0 * (256 - t) + b1 * t) >> 8;
        const int vy = static_cast<int>(30 * std::cos(y * fy));
        std::uint32_t* row = px.data() + static_cast<std::size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            const int v = wave[static_cast<std::size_t>(x)] + vy;
            row[x] = 0xFF000000u | (Clamp(rr + v) << 16) | (Clamp(gg + v / 2) << 8) | Clamp(bb - v / 2);
        }
    }
    // Shapes: discs and boxes with shaded insides.
    const int shapes = rnd.Between(25, 60);
    for (int s = 0; s < shapes; ++s) {
        const int cx = rnd.Between(0, w - 1), cy = rnd.Between(0, h - 1);
        const int radius = rnd.Between(w / 60, w / 6);
        const int cr = rnd.Between(0, 255), cg = rnd.Between(0, 255), cb = rnd.Between(0, 255);
        const bool disc = rnd.Next() & 1;
        for (int y = std::max(0, cy - radius); y < std::min(h, cy + radius); ++y) {
            std::uint32_t* row = px.data() + static_cast<std::size_t>(y) * w;
            for (int x = std::max(0, cx - radius); x < std::min(w, cx + radius); ++x) {
                const int dx = x - cx, dy = y - cy;
                const int d2 = dx * dx + dy * dy;
                if (disc && d2 > radius * radius)
                    continue;
                const int shade = disc ? 60 * d2 / (radius * radius) : 40 * (dx + radius) / (2 * radius);
                row[x] =
                    0xFF000000u | (Clamp(cr - shade) << 16) | (Clamp(cg - shade) << 8) | Clamp(cb - shade);
            }
        }
    }
    // Noise, a little stronger in the dark, as sensors make it.
    for (std::uint32_t& p : px) {
        const std::uint32_t n = rnd.Next();
        const int a = static_cast<int>(n & 15) - 8, b = static_cast<int>((n >> 4) & 15) - 8,
                  c = static_cast<int>((n >> 8) & 15) - 8;
        p = 0xFF000000u | (Clamp(static_cast<int>((p >> 16) & 0xFF) + a) << 16) |
            (Clamp(static_cast<int>((p >> 8) & 0xFF) + b) << 8) | Clamp(static_cast<int>(p & 0xFF) + c);
    }
}

int CountJpegs(const std::wstring& folder) {
    int n = 0;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((folder + L"\\*.jpg").c_str(), &fd));
    if (find)
        do
            ++n;
        while (FindNextFileW(find.get(), &fd));
    return n;
}

bool Generate(const std::wstring& root) {
    CreateDirectoryW(root.c_str(), nullptr);
    for (const PhotoSet& set : kSets) {
        const std::wstring folder = root + L"\\" + set.folder;
        if (CountJpegs(folder) == set.count) {
            std::printf("%s: present\n", Narrow(set.folder).c_str());
            continue;
        }
        CreateDirectoryW(folder.c_str(), nullptr);
        std::vector<std::uint32_t> px(static_cast<std::size_t>(set.width) * set.height);
        std::uint64_t bytes = 0;
        for (int i = 0; i < set.count; ++i) {
            PaintPhoto(px, set.width, set.height, static_cast<std::uint32_t>(i * 7919 + set.width));
            wchar_t name[32];
            swprintf(name, 32, L"\\IMG_%04d.jpg", i + 1);
            if (!WriteJpegFile(folder + name, px.data(), set.width, set.height, set.width * 4, 90)) {
                std::printf("cannot write %s\n", Narrow(folder + name).c_str());
                return false;
            }
            WIN32_FILE_ATTRIBUTE_DATA d{};
            GetFileAttributesExW((folder + name).c_str(), GetFileExInfoStandard, &d);
            bytes += d.nFileSizeLow;
        }
        std::printf("%s: %d photos, %.1f MB each on average\n", Narrow(set.folder).c_str(), set.count,
                    bytes / 1048576.0 / set.count);
    }
    return true;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize / 1048576.0;
}

void PrintRun(const char* kind, int run, const LoadStats& s) {
    const double per = s.files > 0 ? 1000.0 / s.files : 0;
    // The whole load as the user waits for it: the summary's time plus sorting and the last panels.
    const double total = s.total + s.finish;
    const double other = s.total - s.decoding.decode - s.decoding.reduce - s.cell - s.cacheRead -
                         s.cacheWrite - s.list - s.status - s.checkpoints;
    std::printf(
        "  %-4s run %d: %6.2f ms/image %6.1f images/s | decode %5.2f reduce %4.2f cell %4.2f cache-read "
        "%4.2f cache-write %5.2f list %4.2f status %4.2f checkpoints %4.2f finish %4.2f other %4.2f "
        "(ms/image) | %d hits, %d added\n",
        kind, run, total * per, s.files / total, s.decoding.decode * per, s.decoding.reduce * per,
        s.cell * per, s.cacheRead * per, s.cacheWrite * per, s.list * per, s.status * per,
        s.checkpoints * per, s.finish * per, other * per, s.cacheHits, s.addedToCache);
}

double MsPerImage(const LoadStats& s) {
    return (s.total + s.finish) * 1000 / std::max(s.files, 1);
}

int CountImages(const std::wstring& folder) {
    int n = 0;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((folder + L"\\*.*").c_str(), &fd));
    if (find)
        do
            n += !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && HasImageExtension(fd.cFileName);
        while (FindNextFileW(find.get(), &fd));
    return n;
}

int Bench(const std::vector<std::wstring>& folders, int runs, int workers) {
    frmMain form;
    MainWindowProbe::Catalog(form).SetLoadWorkers(workers);
    if (!form.Load()) {
        std::printf("cannot open the main window\n");
        return 1;
    }
    const SharedState& state = MainWindowProbe::State(form);
    std::printf("screen %d x %d, thumbnails %d wide, cache images %s, %d workers\n",
                state.screen.ScreenWidthPx, state.screen.ScreenHeightPx, state.settings.ThumbSize,
                state.settings.CacheDirectories ? "on" : "off", workers < 0 ? DefaultWorkerCount() : workers);
    for (const std::wstring& folder : folders) {
        const int count = CountImages(folder);
        const std::string name = Narrow(LastPathComponent(folder));
        if (count == 0) {
            std::printf("%s: no pictures\n", Narrow(folder).c_str());
            return 1;
        }
        std::printf("%s (%d pictures)\n", name.c_str(), count);
        std::vector<double> cold, warm, gaps;
        for (int run = 1; run <= runs; ++run) {
            DeleteFolderCache(folder);
            ResetPumpGap();
            form.LoadFolder(folder, true);
            gaps.push_back(LongestPumpGap() * 1000);
            const LoadStats s = MainWindowProbe::Catalog(form).LastLoad();
            PrintRun("cold", run, s);
            cold.push_back(MsPerImage(s));
            form.LoadFolder(folder, true);
            const LoadStats w = MainWindowProbe::Catalog(form).LastLoad();
            PrintRun("warm", run, w);
            warm.push_back(MsPerImage(w));
        }
        const double coldMs = Median(cold), warmMs = Median(warm);
        const double gap = *std::max_element(gaps.begin(), gaps.end());
        std::printf("  median: cold %.1f ms/image (%.1f images/s), warm %.2f ms/image (%.0f images/s); "
                    "longest pump gap %.0f ms; peak working set so far %.0f MB\n",
                    coldMs, 1000 / coldMs, warmMs, 1000 / warmMs, gap, PeakMegabytes());
        std::printf(
            "RESULT %s cold %.2f\nRESULT %s warm %.3f\nRESULT %s peak_mb %.0f\nRESULT %s gap_ms %.0f\n",
            name.c_str(), coldMs, name.c_str(), warmMs, name.c_str(), PeakMegabytes(), name.c_str(), gap);
        DeleteFolderCache(folder);
    }
    SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    bool generate = false;
    int runs = 3;
    int workers = -1;
    std::vector<std::wstring> folders;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--generate")
            generate = true;
        else if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--workers" && i + 1 < argc)
            workers = std::max(0, std::atoi(argv[++i]));
        else
            folders.push_back(Widen(argv[i]));
    }
    if (folders.empty()) {
        std::printf("usage: bench_folderload --generate <root> | [--runs N] [--workers N] <folder>...\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (generate)
        return Generate(folders.front()) ? 0 : 1;

    OleScope ole;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        std::printf("GDI+ did not start\n");
        return 1;
    }
    const int rc = Bench(folders, runs, workers);
    Gdiplus::GdiplusShutdown(token);
    return rc;
}
