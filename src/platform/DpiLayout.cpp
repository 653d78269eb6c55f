#include "platform/DpiLayout.h"
#include "core/Geometry.h"
#include <commctrl.h>
#include <cwchar>

namespace tessary {

namespace {

bool HasClass(HWND hwnd, const wchar_t* name) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    return _wcsicmp(cls, name) == 0;
}

bool IsContainer(HWND hwnd) {
    return HasClass(hwnd, L"TessaryFrame") || HasClass(hwnd, L"TessaryPicture");
}

bool FitsItself(HWND hwnd) {
    return HasClass(hwnd, STATUSCLASSNAMEW);
}

RECT RectInParent(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

struct CaptureData {
    HWND root;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectControl(HWND hwnd, LPARAM lp) {
    auto* data = reinterpret_cast<CaptureData*>(lp);
    const HWND parent = GetParent(hwnd);
    if ((parent == data->root || IsContainer(parent)) && !FitsItself(hwnd))
        data->found->push_back(hwnd);
    return TRUE;
}

struct FontSwap {
    HFONT from, to;
};

BOOL CALLBACK SwapFont(HWND hwnd, LPARAM lp) {
    auto* swap = reinterpret_cast<FontSwap*>(lp);
    if (reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)) == swap->from)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(swap->to), TRUE);
    return TRUE;
}

} // namespace

int ScaleToDpi(int designed, UINT dpi) {
    return RoundToInt(static_cast<double>(designed) * dpi / 96.0);
}

void DpiLayout::Capture(HWND root) {
    items_.clear();
    std::vector<HWND> found;
    CaptureData data{root, &found};
    EnumChildWindows(root, CollectControl, reinterpret_cast<LPARAM>(&data));
    for (HWND h : found) {
        RECT designed = RectInParent(h);
        // A drop-down's height is its list's: keep that, not the closed field's.
        RECT dropped{};
        if (HasClass(h, WC_COMBOBOXW) &&
            SendMessageW(h, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)) &&
            dropped.bottom - dropped.top > designed.bottom - designed.top)
            designed.bottom = designed.top + (dropped.bottom - dropped.top);
        items_.push_back({h, designed});
    }
}

void DpiLayout::Apply(UINT dpi) const {
    for (const Item& item : items_) {
        const RECT& d = item.designed;
        const int x = ScaleToDpi(d.left, dpi), y = ScaleToDpi(d.top, dpi);
        SetWindowPos(item.hwnd, nullptr, x, y, ScaleToDpi(d.right, dpi) - x, ScaleToDpi(d.bottom, dpi) - y,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

RECT DpiLayout::Designed(HWND control) const {
    for (const Item& item : items_)
        if (item.hwnd == control)
            return item.designed;
    return {};
}

void ReplaceFont(HWND root, HFONT oldFont, HFONT newFont) {
    FontSwap swap{oldFont, newFont};
    EnumChildWindows(root, SwapFont, reinterpret_cast<LPARAM>(&swap));
}

} // namespace tessary
