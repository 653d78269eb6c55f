#include "support/WinTest.h"
#include "imaging/GDIPlusAPI.h"
#include "imaging/WebpCodec.h"
#include "platform/MessagePump.h"
#include "platform/GdiPlus.h"
#include <shellapi.h>
#include <memory>
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

namespace {
bool EncoderFor(const std::wstring& mime, CLSID& clsid) {
    UINT num = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&num, &size);
    if (size == 0)
        return false;
    std::vector<BYTE> buf(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buf.data());
    Gdiplus::GetImageEncoders(num, size, codecs);
    for (UINT i = 0; i < num; ++i)
        if (mime == codecs[i].MimeType) {
            clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}
} // namespace

bool WriteImage(const std::wstring& path, int width, int height,
                const std::function<std::uint32_t(int, int)>& painter) {
    auto colour = [&](int x, int y) -> std::uint32_t {
        return painter ? painter(x, y)
                       : ((x * 255 / (width > 1 ? width - 1 : 1)) << 16) |
                             ((y * 255 / (height > 1 ? height - 1 : 1)) << 8) | 0x80;
    };
    Gdiplus::Bitmap bmp(width, height, PixelFormat24bppRGB);
    if (bmp.GetLastStatus() != Gdiplus::Ok)
        return false;
    Gdiplus::BitmapData data;
    Gdiplus::Rect r(0, 0, width, height);
    if (bmp.LockBits(&r, Gdiplus::ImageLockModeWrite, PixelFormat24bppRGB, &data) != Gdiplus::Ok)
        return false;
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        for (int x = 0; x < width; ++x) {
            std::uint32_t c = colour(x, y);
            row[x * 3 + 0] = static_cast<BYTE>(c & 0xFF);
            row[x * 3 + 1] = static_cast<BYTE>((c >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<BYTE>((c >> 16) & 0xFF);
        }
    }
    bmp.UnlockBits(&data);
    std::wstring ext = path.size() >= 4 ? path.substr(path.size() - 4) : L"";
    for (auto& c : ext)
        c = static_cast<wchar_t>(towlower(c));
    std::wstring mime = L"image/png";
    if (ext == L".jpg" || ext == L"jpeg" || ext == L".jpe" || ext == L"jfif")
        mime = L"image/jpeg";
    else if (ext == L".tif" || ext == L"tiff")
        mime = L"image/tiff";
    else if (ext == L".bmp")
        mime = L"image/bmp";
    else if (ext == L".gif")
        mime = L"image/gif";
    CLSID clsid;
    if (ext == L"webp") { // GDI+ has no WebP encoder
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[static_cast<std::size_t>(y) * width + x] = 0xFF000000u | colour(x, y);
        return tessary::WriteWebpFile(path, pixels.data(), width, height, width * 4, 95);
    }
    if (mime == L"image/gif") {
        // Wine's GIF encoder writes an empty picture from true colour: go through our own.
        std::wstring png = path + L".source.png";
        if (!EncoderFor(L"image/png", clsid) || bmp.Save(png.c_str(), &clsid, nullptr) != Gdiplus::Ok)
            return false;
        bool ok = tessary::SaveAsGif(png, path);
        DeleteFileW(png.c_str());
        return ok;
    }
    if (!EncoderFor(mime, clsid))
        return false;
    return bmp.Save(path.c_str(), &clsid, nullptr) == Gdiplus::Ok;
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

} // namespace wintest
