// The interface is declared by the Windows 8 SDK headers; only this file asks for them, and it
// finds the object at run time, so the program still starts on Windows 7.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06020000
#include "platform/DesktopWallpaper.h"
#include "platform/Handles.h"
#include <shobjidl.h>

namespace tessary {

namespace {

// {C2CF3110-460E-4FC1-B9D0-8A1C0C9CC4BD} and {B92B56A9-8B55-4E14-9A89-0199BBB6F93B}.
const CLSID kClsidDesktopWallpaper = {
    0xc2cf3110, 0x460e, 0x4fc1, {0xb9, 0xd0, 0x8a, 0x1c, 0x0c, 0x9c, 0xc4, 0xbd}};
const IID kIidDesktopWallpaper = {
    0xb92b56a9, 0x8b55, 0x4e14, {0x9a, 0x89, 0x01, 0x99, 0xbb, 0xb6, 0xf9, 0x3b}};

// Text the shell allocated, freed with CoTaskMemFree.
std::wstring TakeCoText(LPWSTR text) {
    std::wstring result = text ? text : L"";
    CoTaskMemFree(text);
    return result;
}

class ShellDesktopWallpaper final : public PerMonitorWallpaper {
public:
    explicit ShellDesktopWallpaper(ComPtr<IDesktopWallpaper> shell) : shell_(std::move(shell)) {}

    std::wstring MonitorIdAt(const RECT& bounds) override {
        UINT count = 0;
        if (FAILED(shell_->GetMonitorDevicePathCount(&count)))
            return {};
        for (UINT i = 0; i < count; ++i) {
            LPWSTR id = nullptr;
            if (FAILED(shell_->GetMonitorDevicePathAt(i, &id)))
                continue;
            std::wstring monitorId = TakeCoText(id);
            RECT r{};
            if (SUCCEEDED(shell_->GetMonitorRECT(monitorId.c_str(), &r)) && EqualRect(&r, &bounds))
                return monitorId;
        }
        return {};
    }
    std::wstring Wallpaper(const std::wstring& monitorId) override {
        LPWSTR path = nullptr;
        if (FAILED(shell_->GetWallpaper(monitorId.c_str(), &path)))
            return {};
        return TakeCoText(path);
    }
    bool SetWallpaper(const std::wstring& monitorId, const std::wstring& path) override {
        return SUCCEEDED(shell_->SetWallpaper(monitorId.c_str(), path.c_str()));
    }
    bool SetPosition(int position) override {
        return SUCCEEDED(shell_->SetPosition(static_cast<DESKTOP_WALLPAPER_POSITION>(position)));
    }

private:
    ComPtr<IDesktopWallpaper> shell_;
};

std::function<std::unique_ptr<PerMonitorWallpaper>()>& Factory() {
    static std::function<std::unique_ptr<PerMonitorWallpaper>()> factory;
    return factory;
}

} // namespace

std::unique_ptr<PerMonitorWallpaper> OpenPerMonitorWallpaper() {
    if (Factory())
        return Factory()();
    ComPtr<IDesktopWallpaper> shell;
    if (FAILED(CoCreateInstance(kClsidDesktopWallpaper, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                kIidDesktopWallpaper, reinterpret_cast<void**>(shell.put()))) ||
        !shell)
        return nullptr;
    return std::make_unique<ShellDesktopWallpaper>(std::move(shell));
}

void SetPerMonitorWallpaperFactory(std::function<std::unique_ptr<PerMonitorWallpaper>()> factory) {
    Factory() = std::move(factory);
}

} // namespace tessary
