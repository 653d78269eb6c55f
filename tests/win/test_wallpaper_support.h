// Shared by the wallpaper tests: the main window on a 1024 x 768 screen as the preview sees it,
// and guards that put back the desktop settings and the program's bitmap after each test.
#pragma once
#include "core/SharedState.h"
#include "app/frmMain.h"
#include "platform/AppInfo.h"
#include "support/MainWindow.h"
#include "platform/GdiPlus.h"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wintest {

inline const std::wstring kDesktopKey = L"Control Panel\\Desktop";

// A desktop value as stored, or nothing when it does not exist.
inline std::optional<std::wstring> DesktopValue(const std::wstring& name) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                     text.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(wcslen(text.c_str()));
    return text;
}

inline void SetDesktopValue(const std::wstring& name, const std::optional<std::wstring>& value) {
    tessary::UniqueRegKey key;
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey.c_str(), 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS)
        return;
    key.reset(raw);
    if (!value) {
        RegDeleteValueW(key.get(), name.c_str());
        return;
    }
    RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                   static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
}

// Puts the desktop's wallpaper and its three registry values back as they were.
class DesktopSettingsGuard {
public:
    DesktopSettingsGuard()
        : wallpaper_(DesktopValue(L"Wallpaper")), tile_(DesktopValue(L"TileWallpaper")),
          style_(DesktopValue(L"WallpaperStyle")) {}
    ~DesktopSettingsGuard() {
        std::wstring path = wallpaper_.value_or(L"");
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_SENDCHANGE);
        SetDesktopValue(L"Wallpaper", wallpaper_);
        SetDesktopValue(L"TileWallpaper", tile_);
        SetDesktopValue(L"WallpaperStyle", style_);
    }
    DesktopSettingsGuard(const DesktopSettingsGuard&) = delete;
    DesktopSettingsGuard& operator=(const DesktopSettingsGuard&) = delete;

private:
    std::optional<std::wstring> wallpaper_, tile_, style_;
};

inline std::optional<std::vector<char>> ReadFileBytes(const std::wstring& path) {
    tessary::UniqueFile f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!f || !GetFileSizeEx(f.get(), &size))
        return std::nullopt;
    std::vector<char> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty() &&
        (!ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
         got != bytes.size()))
        return std::nullopt;
    return bytes;
}

inline bool WriteFileBytes(const std::wstring& path, const std::vector<char>& bytes) {
    tessary::UniqueFile f(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return f && WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

inline bool FileExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Restores a file (or its absence) when the test is over.
class FileGuard {
public:
    explicit FileGuard(std::wstring path) : path_(std::move(path)), bytes_(ReadFileBytes(path_)) {}
    ~FileGuard() {
        const DWORD a = GetFileAttributesW(path_.c_str());
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
            RemoveTree(path_);
        if (!bytes_) {
            DeleteFileW(path_.c_str());
            return;
        }
        WriteFileBytes(path_, *bytes_);
    }
    FileGuard(const FileGuard&) = delete;
    FileGuard& operator=(const FileGuard&) = delete;
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
    std::optional<std::vector<char>> bytes_;
};

inline std::wstring ConvertedBitmapPath() {
    return tessary::DataFolder() + L"\\Tessary.bmp";
}

// Width and height of an image file as GDI+ reads it; {0, 0} when it cannot be read.
inline SIZE ImageFileSize(const std::wstring& path) {
    Gdiplus::Bitmap bmp(path.c_str(), FALSE);
    if (bmp.GetLastStatus() != Gdiplus::Ok)
        return {0, 0};
    return {static_cast<LONG>(bmp.GetWidth()), static_cast<LONG>(bmp.GetHeight())};
}

// Colours as 0xRRGGBB.
constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
constexpr std::uint32_t kDesktopGrey = 0x808080;

// The main window with the overlays off at start, the desktop settings and the program's bitmap
// guarded. StartOn1024() then gives the preview a 1024 x 768 screen and a grey desktop.
class WallpaperWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        WriteSetting(L"DrawShading", L"0");
        WriteSetting(L"DrawGlare", L"0");
    }
    tessary::frmMain& StartOn1024() {
        tessary::frmMain& f = Start();
        tessary::state.ScreenWidthPx = 1024;
        tessary::state.ScreenHeightPx = 768;
        tessary::state.DesktopColor = std::to_wstring(RGB(0x80, 0x80, 0x80));
        return f;
    }
    // A preview pixel as 0xRRGGBB.
    std::uint32_t Px(int x, int y) { return form().picWPImage.Pixel(x, y) & 0xFFFFFFu; }
    // True when every preview pixel in [x0, x1) x [y0, y1) has the colour.
    bool AreaIs(int x0, int y0, int x1, int y1, std::uint32_t rgb) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (Px(x, y) != rgb)
                    return false;
        return true;
    }
    void Click(HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        Pump(20);
    }

    DesktopSettingsGuard desktop_;
    FileGuard bitmap_{ConvertedBitmapPath()};
    TempDir dir_{L"tessary_wp"};
};

// Painters for WriteImage.
inline std::uint32_t Solid(std::uint32_t rgb, int, int) {
    return rgb;
}

} // namespace wintest
