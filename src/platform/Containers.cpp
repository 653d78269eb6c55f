#include "platform/Containers.h"
#include "platform/Handles.h"
#include "platform/Surface.h"

namespace tessary {
namespace {
const wchar_t kFrameClass[] = L"TessaryFrame";
const wchar_t kPictureClass[] = L"TessaryPicture";
const wchar_t kSurfaceProp[] = L"TessarySurface";
const wchar_t kFontProp[] = L"TessaryFont";

// Messages that children send to their parent and the form wants to see.
bool ForwardToRoot(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CONTEXTMENU:
        if (HWND root = GetAncestor(hwnd, GA_ROOT); root && root != hwnd) {
            result = SendMessageW(root, msg, wp, lp);
            return true;
        }
        break;
    }
    return false;
}

void PaintFrame(HWND hwnd) {
    PaintDC paint(hwnd);
    const HDC dc = paint.get();
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    auto font = static_cast<HFONT>(GetPropW(hwnd, kFontProp));
    SelectedObject sel(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT border = rc;
    border.top += tm.tmHeight / 2;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    int n = GetWindowTextLengthW(hwnd);
    if (n > 0) {
        std::wstring text(static_cast<size_t>(n) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), n + 1)));
        SIZE sz{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &sz);
        RECT tr{7, 0, 7 + sz.cx + 4, tm.tmHeight};
        FillRect(dc, &tr, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        TextOutW(dc, 9, 0, text.c_str(), static_cast<int>(text.size()));
    }
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = 0;
    if (ForwardToRoot(hwnd, msg, wp, lp, r))
        return r;
    switch (msg) {
    case WM_SETFONT:
        SetPropW(hwnd, kFontProp, reinterpret_cast<HANDLE>(wp));
        if (LOWORD(lp))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(GetPropW(hwnd, kFontProp));
    case WM_SETTEXT:
        r = DefWindowProcW(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, TRUE);
        return r;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintFrame(hwnd);
        return 0;
    case WM_NCDESTROY:
        RemovePropW(hwnd, kFontProp);
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = 0;
    if (ForwardToRoot(hwnd, msg, wp, lp, r))
        return r;
    switch (msg) {
    case WM_ERASEBKGND:
        if (GetPropW(hwnd, kSurfaceProp))
            return 1;
        break;
    case WM_PAINT: {
        PaintDC paint(hwnd);
        if (auto* s = static_cast<const Surface*>(GetPropW(hwnd, kSurfaceProp)); s && !s->empty())
            s->BlitTo(paint.get(), 0, 0);
        return 0;
    }
    case WM_LBUTTONUP:
        if (HWND root = GetAncestor(hwnd, GA_ROOT); root && root != hwnd)
            SendMessageW(root, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), kPictureClicked),
                         reinterpret_cast<LPARAM>(hwnd));
        return 0;
    case WM_NCDESTROY:
        RemovePropW(hwnd, kSurfaceProp);
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterOnce() {
    static bool done = false;
    if (done)
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = kFrameClass;
    RegisterClassExW(&wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = PictureProc;
    wc.lpszClassName = kPictureClass;
    RegisterClassExW(&wc);
    done = true;
}

HWND CreateContainer(const wchar_t* cls, HWND parent, const std::wstring& text, int x, int y, int w, int h,
                     int id) {
    RegisterOnce();
    return CreateWindowExW(WS_EX_CONTROLPARENT, cls, text.c_str(),
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
}
} // namespace

HWND CreateFrame(HWND parent, const std::wstring& caption, int x, int y, int w, int h, int id) {
    return CreateContainer(kFrameClass, parent, caption, x, y, w, h, id);
}

HWND CreatePictureBox(HWND parent, int x, int y, int w, int h, int id) {
    return CreateContainer(kPictureClass, parent, L"", x, y, w, h, id);
}

void SetPictureSurface(HWND pictureBox, const Surface* surface) {
    if (surface)
        SetPropW(pictureBox, kSurfaceProp, const_cast<Surface*>(surface));
    else
        RemovePropW(pictureBox, kSurfaceProp);
    InvalidateRect(pictureBox, nullptr, TRUE);
}

} // namespace tessary
