#include "viewer/frmZoom.h"
#include "imaging/GDIPlusAPI.h"
#include "imaging/Scaler.h"
#include "platform/AppInfo.h"
#include "platform/Controls.h"
#include "platform/Handles.h"
#include "platform/Locale.h"
#include "platform/Screen.h"
#include "viewer/ZoomGeometry.h"
#include <vector>

namespace tessary {
namespace {
constexpr DWORD kZoomStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kZoomExStyle = 0;

} // namespace

frmZoom::~frmZoom() {
    Unload();
}

bool frmZoom::Load() {
    if (hwnd())
        return true;
    HICON icon = reinterpret_cast<HICON>(SendMessageW(host_.MainWindow(), WM_GETICON, ICON_BIG, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(GetClassLongPtrW(host_.MainWindow(), GCLP_HICON));
    if (!CreateWindowObject(L"TessaryZoom", L"Tessary", kZoomStyle, kZoomExStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, 320, 240, nullptr, icon))
        return false;
    Form_Load();
    return true;
}

void frmZoom::Form_Load() {
    HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(host_.MainWindow(), GCLP_HICON));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    // The frame this window really has, so the client area is exactly the drawn size.
    RECT rc{0, 0, 100, 100};
    AdjustWindowRectEx(&rc, kZoomStyle, FALSE, kZoomExStyle);
    frameExtra_ = {rc.right - rc.left - 100, rc.bottom - rc.top - 100};
    SubClass_Form = std::make_unique<cTrackMouse>();
    SubClass_Form->WindowPosChanging = [this](WPARAM wp, LPARAM lp) {
        SubClass_Form_WindowPosChanging(wp, lp);
    };
    SubClass_Form->ExitSizeMove = [this] { SubClass_Form_ExitSizeMove(); };
    SubClass_Form->AppClose = [this](WPARAM, LPARAM) { Unload(); };
    SubClass_Form->SubClass(hwnd());
}

void frmZoom::Unload() {
    if (!hwnd())
        return;
    Form_Unload();
    DestroyWindow(hwnd());
}

void frmZoom::Form_Unload() {
    SubClass_Form.reset();
}

void frmZoom::ViewImage(const std::wstring& ImagePath, int ViewWidth, int ViewHeight, bool CenterOnMonitor,
                        bool FitWindow) {
    if (ImagePath.empty() || !Load())
        return;
    WaitCursor wait;
    imagePath_ = ImagePath;
    picture_.Reset();
    InvalidateRect(hwnd(), nullptr, TRUE);
    // Decoded straight to the drawn size (a JPEG first reduced by its DCT as far as that allows):
    // area-averaging when reducing, bicubic when enlarging.
    IntSize image, drawn;
    const PictureSizeRule rule = [&](int w, int h, int& dw, int& dh) {
        image = {w, h};
        drawn = ZoomDrawnSize(image, host_.WorkArea(), {ViewWidth, ViewHeight});
        dw = drawn.width;
        dh = drawn.height;
        return !drawn.empty();
    };
    std::vector<std::uint32_t> pixels;
    DecodedPicture picture;
    const bool decoded =
        decoder_.Decode(ImagePath, rule, {}, ScaleFilter::Bicubic, pixels, picture) && picture.width > 0;
    decoder_.ReleaseBuffers();
    if (!decoded || image.width < 1 || image.height < 1)
        return;
    imageAspect_ = static_cast<double>(image.width) / image.height;
    if (IsIconic(hwnd()))
        ShowWindow(hwnd(), SW_RESTORE);
    if (FitWindow) {
        IntSize outer = ZoomWindowSize(drawn, frameExtra_);
        SetWindowPos(hwnd(), nullptr, 0, 0, outer.width, outer.height,
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    if (picture_.Create(drawn.width, drawn.height))
        std::copy(pixels.begin(), pixels.end(), picture_.bits());
    InvalidateRect(hwnd(), nullptr, TRUE);
    UpdateWindow(hwnd());
    if (CenterOnMonitor) {
        IntRect work;
        bool primary = false;
        GetMonitorWorkArea(host_.MainWindow(), work, primary);
        RECT rc;
        GetWindowRect(hwnd(), &rc);
        IntRect placed = CenterInWorkArea({rc.right - rc.left, rc.bottom - rc.top}, work);
        SetWindowPos(hwnd(), nullptr, placed.left, placed.top, 0, 0,
                     SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SetWindowTextW(
        hwnd(),
        ZoomCaption(ExeBaseName(), ZoomPercent(image, drawn), UserNumberFormat().decimal, ImagePath).c_str());
    if (IsWindowVisible(hwnd())) {
        SetForegroundWindow(hwnd());
        BringWindowToTop(hwnd());
    } else {
        ShowWindow(hwnd(), SW_SHOW);
    }
}

void frmZoom::RedrawAtClientSize() {
    RECT rc;
    GetClientRect(hwnd(), &rc);
    if (rc.right > 0 && rc.bottom > 0)
        ViewImage(imagePath_, rc.right, rc.bottom, false, false);
}

void frmZoom::Form_Resize(int windowState) {
    if (windowState == lastWindowState_)
        return;
    lastWindowState_ = windowState;
    // Redrawing a minimised window would restore it at once: it is redrawn when it comes back.
    if (windowState != 1)
        RedrawAtClientSize();
}

void frmZoom::SubClass_Form_ExitSizeMove() {
    RedrawAtClientSize();
}

void frmZoom::SubClass_Form_WindowPosChanging(WPARAM, LPARAM lParam) {
    auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    if (!pos || (pos->flags & SWP_NOSIZE) || !(GetAsyncKeyState(VK_SHIFT) & 0x8000))
        return;
    pos->cy = AspectLockedHeight(pos->cx, pos->cy, frameExtra_, imageAspect_);
}

void frmZoom::Form_MouseUp(int button) {
    if (button != 2)
        return;
    // Its commands act on the picture in hand: the one shown here, whatever the list chose since.
    POINT pt;
    GetCursorPos(&pt);
    host_.ShowViewerMenu(pt, hwnd(), imagePath_);
}

LRESULT frmZoom::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const PaintDC dc(hwnd());
        RECT rc;
        GetClientRect(hwnd(), &rc);
        FillRect(dc.get(), &rc, GetSysColorBrush(COLOR_BTNFACE));
        picture_.BlitTo(dc.get(), 0, 0);
        return 0;
    }
    case WM_SIZE:
        Form_Resize(wp == SIZE_MINIMIZED ? 1 : wp == SIZE_MAXIMIZED ? 2 : 0);
        return 0;
    case WM_LBUTTONDOWN:
        leftButtonDown_ = true;
        return 0;
    case WM_LBUTTONUP:
        // The release of a double click in the list that opened the viewer is not a click here.
        if (std::exchange(leftButtonDown_, false))
            Unload();
        return 0;
    case WM_RBUTTONUP:
        Form_MouseUp(2);
        return 0;
    case WM_KEYUP:
        if (wp == VK_ESCAPE || wp == VK_RETURN)
            Unload();
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

} // namespace tessary
