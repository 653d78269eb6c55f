// Command benchmark: what a user waits for after a click on one large picture, through the real
// main window: the preview of a clicked picture, opening the viewer, Set Wallpaper (the bitmap
// written and applied) and Resample Proportional. Each command runs in a process of its own, so
// the peak memory printed is that command's: the process's peak (the window starts with no
// wallpaper recorded, so nothing else is previewed), and the largest working set sampled while the
// command ran.
//
//   bench_commands --generate <bmp> <w> <h>     paints a photo-like picture as a BMP (the script
//                                               turns it into JPEGs and a PNG with vips)
//   bench_commands <command> <picture> [runs]   times one command: preview, viewer, wallpaper or
//                                               resample
//
// Lines starting with "RESULT" are for tools/bench_commands.sh.
#include "app/frmMain.h"
#include "imaging/BmpFile.h"
#include "imaging/ImageFile.h"
#include "platform/Handles.h"
#include "platform/MessagePump.h"
#include "platform/Registry.h"
#include "wallpaper/WallpaperRules.h"
#include <objidl.h>
#include "platform/GdiPlus.h"
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <atomic>
#include <optional>
#include <thread>
#include <string>
#include <vector>

namespace tessary {
// The benchmark reaches into the window the way the tests do.
struct MainWindowProbe {
    static SharedState& State(frmMain& f) { return f.state_; }
};
} // namespace tessary

using namespace tessary;

namespace {

double Now() {
    LARGE_INTEGER f{}, t{};
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize / 1048576.0;
}

double WorkingSetMegabytes() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.WorkingSetSize / 1048576.0;
}

// The largest working set while a command runs, sampled every millisecond or two on a thread of
// its own (the process's peak cannot be restarted): a buffer held for longer is seen.
class PeakSampler {
public:
    PeakSampler()
        : thread_([this] {
              while (!stop_) {
                  const double now = WorkingSetMegabytes();
                  double seen = peak_.load();
                  while (now > seen && !peak_.compare_exchange_weak(seen, now)) {
                  }
                  Sleep(1);
              }
          }) {}
    ~PeakSampler() {
        stop_ = true;
        thread_.join();
    }
    PeakSampler(const PeakSampler&) = delete;
    PeakSampler& operator=(const PeakSampler&) = delete;
    double Peak() const { return std::max(peak_.load(), WorkingSetMegabytes()); }

private:
    std::atomic<bool> stop_{false};
    std::atomic<double> peak_{0};
    std::thread thread_;
};

std::wstring Widen(const char* s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_ACP, 0, s, -1, w.data(), n);
    return w;
}

// Smooth fields, flat discs and noise: compresses like a photograph.
void Paint(std::vector<std::uint32_t>& px, int w, int h) {
    std::uint32_t state = 12345;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int r = 60 + 120 * x / w, g = 40 + 150 * y / h, b = 200 - 100 * (x + y) / (w + h);
            const int n = static_cast<int>(next() & 15) - 8;
            px[static_cast<std::size_t>(y) * w + x] = 0xFF000000u | std::clamp(r + n, 0, 255) << 16 |
                                                      std::clamp(g + n, 0, 255) << 8 |
                                                      std::clamp(b - n, 0, 255);
        }
    for (int d = 0; d < 40; ++d) {
        const int cx = static_cast<int>(next() % w), cy = static_cast<int>(next() % h),
                  rad = 50 + next() % 400;
        const std::uint32_t c = 0xFF000000u | (next() & 0xFFFFFF);
        for (int y = std::max(0, cy - rad); y < std::min(h, cy + rad); ++y)
            for (int x = std::max(0, cx - rad); x < std::min(w, cx + rad); ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < rad * rad)
                    px[static_cast<std::size_t>(y) * w + x] = c;
    }
}

// Writes a BMP of the size; tools/bench_commands.sh turns it into the JPEGs and the PNG with vips.
bool Generate(const std::wstring& bmpPath, int w, int h) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
    Paint(px, w, h);
    const std::vector<unsigned char> bmp = EncodeBmp24(px.data(), w, h, w);
    return WriteFileReplacing(bmpPath, bmp.data(), bmp.size());
}

int Run(const std::string& command, const std::wstring& picture, int runs) {
    // No wallpaper recorded: the window starts without previewing the one an earlier command set,
    // so the peaks are the command's.
    WriteRegString(kDesktopKeyPath, kWallpaperValue, L"");
    frmMain form;
    if (!form.Load()) {
        std::printf("cannot open the main window\n");
        return 1;
    }
    DoEvents();
    std::vector<double> times;
    double processPeak = 0, commandPeak = 0;
    for (int run = 0; run < runs; ++run) {
        MainWindowProbe::State(form).CurrentImagePath = picture;
        // The other commands follow a click on the picture, which previews it.
        if (command != "preview")
            form.DrawPreview(picture);
        DoEvents();
        processPeak = std::max(processPeak, PeakMegabytes());
        std::optional<PeakSampler> sampler(std::in_place);
        const double start = Now();
        if (command == "preview") {
            form.DrawPreview(picture);
        } else if (command == "viewer") {
            form.ViewImage(picture, 0, 0, true, true);
            form.UnloadZoom();
        } else if (command == "wallpaper") {
            form.cmdSetWP_Click();
        } else if (command == "resample") {
            form.cmdIconButton_Click(0);
        } else {
            std::printf("unknown command %s\n", command.c_str());
            return 2;
        }
        times.push_back((Now() - start) * 1000);
        commandPeak = std::max(commandPeak, sampler->Peak());
        sampler.reset();
        DoEvents();
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    processPeak = std::max(processPeak, PeakMegabytes());
    std::printf("  %s: median %.0f ms of %d runs (first %.0f ms), peak working set %.0f MB\n",
                command.c_str(), median, runs, times.front(), processPeak);
    std::printf("RESULT ms %.1f\nRESULT peak_mb %.0f\n", median, processPeak);
    std::printf("  the command's own peak %.0f MB\nRESULT command_peak_mb %.0f\n", commandPeak, commandPeak);
    SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc >= 5 && std::string(argv[1]) == "--generate")
        return Generate(Widen(argv[2]), std::atoi(argv[3]), std::atoi(argv[4])) ? 0 : 1;
    if (argc < 3) {
        std::printf("usage: bench_commands --generate <bmp> <width> <height> | <command> <picture> [runs]\n");
        return 2;
    }
    OleScope ole;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return 1;
    const int rc = Run(argv[1], Widen(argv[2]), argc > 3 ? std::max(1, std::atoi(argv[3])) : 3);
    Gdiplus::GdiplusShutdown(token);
    return rc;
}
