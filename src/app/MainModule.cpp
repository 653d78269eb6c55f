#include "app/MainModule.h"
#include "app/StartupRules.h"
#include "app/frmMain.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/Handles.h"
#include "platform/MessagePump.h"
#include <commctrl.h>
#include "platform/GdiPlus.h"
#include <shellapi.h>

namespace tessary {
namespace {
// Starts GDI+ and shuts it down when the program ends, after every window is gone.
class GdiplusScope {
public:
    GdiplusScope() {
        Gdiplus::GdiplusStartupInput input; // version 1, no callback, background thread, codecs
        status_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusScope() {
        if (status_ == Gdiplus::Ok)
            Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusScope(const GdiplusScope&) = delete;
    GdiplusScope& operator=(const GdiplusScope&) = delete;
    bool ok() const { return status_ == Gdiplus::Ok; }

private:
    ULONG_PTR token_ = 0;
    Gdiplus::Status status_ = Gdiplus::GenericError;
};

bool ReadVersion(OSVERSIONINFOW& info) {
    info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    return GetVersionExW(&info) != FALSE;
}
} // namespace

bool InitControls() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
}

int Main() {
    OleScope ole; // drag and drop and the shell's desktop object need OLE on this thread
    InitControls();
    GdiplusScope gdiplus;
    if (!gdiplus.ok()) {
        Dialogs().ShowMessage(GdiplusMissingMessage(ExeBaseName()), MB_OK | MB_ICONEXCLAMATION, AppTitle());
        // The main window is not created for this: without GDI+ it has nothing to show.
        ShellExecuteW(nullptr, L"", GdiplusDownloadUrl().c_str(), L"", L"\\", SW_HIDE);
        return 1;
    }
    OSVERSIONINFOW version;
    if (ReadVersion(version)) {
        if (auto refusal =
                RefusalMessage(version.dwMajorVersion, version.dwMinorVersion, version.dwPlatformId)) {
            Dialogs().ShowMessage(*refusal, MB_OK | MB_ICONSTOP, AppTitle());
            return 1;
        }
    }
    frmMain form;
    form.quitOnDestroy = true;
    if (!form.Load())
        return 1;
    return RunMessageLoop();
}

} // namespace tessary
