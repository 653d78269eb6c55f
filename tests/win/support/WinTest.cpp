#include "support/WinTest.h"
#include "imaging/GDIPlusAPI.h"
#include "imaging/JpegCodec.h"
#include "imaging/PixelFile.h"
#include "platform/MessagePump.h"
#include <psapi.h>
#include <zlib.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace wintest {

TempDir::TempDir(const std::wstring& hint) {
    wchar_t tmp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, tmp);
    static int counter = 0;
    for (;;) {
        path_ = std::wstring(tmp) + hint + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter);
        if (CreateDirectoryW(path_.c_str(), nullptr))
            break;
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd;
    tessary::UniqueFind find(FindFirstFileW((path + L"\\*").c_str(), &fd));
    if (find) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring full = path + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(find.get(), &fd));
    }
    find.reset();
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

std::uint32_t PhotoLike(int x, int y) {
    const unsigned hash =
        (static_cast<unsigned>(x / 2) * 73856093u) ^ (static_cast<unsigned>(y / 2) * 19349663u);
    const int noise = static_cast<int>((hash >> 9) % 17) - 8;
    const int r = 128 + static_cast<int>(90 * std::sin(x * 0.031) * std::cos(y * 0.017)) + noise;
    const int g = 40 + (x * 3 + y * 2) % 176 + noise / 2;
    const int b = 96 + static_cast<int>(60 * std::sin((x + 2 * y) * 0.011)) - noise;
    return static_cast<std::uint32_t>(r << 16 | g << 8 | b);
}

bool WriteImage(const std::wstring& path, int width, int height,
                const std::function<std::uint32_t(int, int)>& painter) {
    return WriteArgb(path, width, height, [&](int x, int y) {
        return 0xFF000000u | (painter ? painter(x, y)
                                      : ((x * 255 / (width > 1 ? width - 1 : 1)) << 16) |
                                            ((y * 255 / (height > 1 ? height - 1 : 1)) << 8) | 0x80);
    });
}

bool WriteArgb(const std::wstring& path, int width, int height,
               const std::function<std::uint32_t(int, int)>& painter) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y) * width + x] = painter(x, y);
    const std::wstring ext = path.substr(path.find_last_of(L'.') + 1);
    using enum tessary::ImageFormat;
    static const std::pair<const wchar_t*, tessary::ImageFormat> kByExtension[] = {
        {L"jpg", Jpeg},  {L"jpeg", Jpeg}, {L"jpe", Jpeg}, {L"jfif", Jpeg}, {L"tif", Tiff},
        {L"tiff", Tiff}, {L"bmp", Bmp},   {L"gif", Gif},  {L"webp", Webp}};
    tessary::ImageFormat format = Png;
    for (const auto& [known, itsFormat] : kByExtension)
        if (CompareStringOrdinal(ext.c_str(), -1, known, -1, TRUE) == CSTR_EQUAL)
            format = itsFormat;
    return tessary::WritePixelsAs(pixels.data(), width, height, format, 95, path).ok();
}

bool WriteFlat(const std::wstring& path, int width, int height, std::uint32_t rgb) {
    return WriteImage(path, width, height, [rgb](int, int) { return rgb; });
}

bool WriteTextFile(const std::wstring& path, const std::string& content) {
    tessary::UniqueFile f(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return f && WriteFile(f.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size();
}

std::string ReadBytes(const std::wstring& path) {
    tessary::UniqueFile f(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes(static_cast<std::size_t>(FileLength(path)), '\0');
    DWORD got = 0;
    if (!f || bytes.empty() ||
        !ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
        got = 0;
    bytes.resize(got);
    return bytes;
}

bool FileExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::wstring> UserRegistryText(const std::wstring& subkey, const std::wstring& name) {
    wchar_t text[2048] = {};
    DWORD bytes = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}

std::vector<std::wstring> FileNamesIn(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    tessary::UniqueFind find(FindFirstFileW((dir + L"\\*").c_str(), &fd));
    if (find)
        do
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(fd.cFileName);
        while (FindNextFileW(find.get(), &fd));
    std::sort(names.begin(), names.end());
    return names;
}

std::uint64_t FileLength(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d))
        return 0;
    return (static_cast<std::uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

bool SetFileLength(const std::wstring& path, std::uint64_t size) {
    tessary::UniqueFile f(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    return f && SetFilePointerEx(f.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(f.get());
}

std::string JpegClaiming(int width, int height) {
    std::vector<std::uint32_t> px(64 * 64, 0xFF406080);
    std::vector<unsigned char> jpeg;
    tessary::EncodeJpeg(px.data(), 64, 64, 64 * 4, 90, jpeg);
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<unsigned char>(height >> 8);
            jpeg[i + 6] = static_cast<unsigned char>(height);
            jpeg[i + 7] = static_cast<unsigned char>(width >> 8);
            jpeg[i + 8] = static_cast<unsigned char>(width);
            break;
        }
    return std::string(jpeg.begin(), jpeg.end());
}

namespace {
std::string BigEndian32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}
} // namespace

std::string PngChunk(const std::string& type, const std::string& data) {
    const std::string chunk = type + data;
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(chunk.data()), static_cast<uInt>(chunk.size()));
    return BigEndian32(static_cast<std::uint32_t>(data.size())) + chunk +
           BigEndian32(static_cast<std::uint32_t>(crc));
}

std::string PngClaiming(std::uint32_t width, std::uint32_t height) {
    return std::string("\x89PNG\r\n\x1A\n", 8) +
           PngChunk("IHDR", BigEndian32(width) + BigEndian32(height) + std::string("\x08\x02\0\0\0", 5));
}

std::uint64_t PeakMemory() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

Picture ReadPicture(const std::wstring& path) {
    Picture p;
    if (!tessary::LoadImagePixels(path, p.pixels, p.width, p.height))
        p = {};
    return p;
}

void HoldShift(bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_SHIFT;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof(in));
    Pump(30);
}

namespace {
std::function<void()> g_next;
void CALLBACK RunNext(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    std::exchange(g_next, {})();
}
} // namespace

void AtNextMessages(std::function<void()> action, int milliseconds) {
    g_next = std::move(action);
    SetTimer(nullptr, 0, static_cast<UINT>(milliseconds), RunNext);
    Sleep(static_cast<DWORD>(milliseconds) + 4);
}

void Pump(int milliseconds) {
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        tessary::DoEvents();
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
    DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    while (!condition()) {
        if (static_cast<int>(end - GetTickCount()) <= 0)
            return condition();
        tessary::DoEvents();
        Sleep(5);
    }
    return true;
}

HWND CreateHostWindow(const wchar_t* className, WNDPROC proc, int x, int y, int width, int height) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) {
        wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc))
            return nullptr;
    }
    return CreateWindowExW(0, className, L"host", WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

std::wstring WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), n + 1)));
    return s;
}

RECT OuterRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

std::string Narrow(const std::wstring& s) {
    if (s.empty())
        return {};
    int n =
        WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) >
            tolerance)
            return false;
    return true;
}

} // namespace wintest
