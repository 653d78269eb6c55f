#include "platform/Controls.h"

namespace tessary {

HWND CreateControl(const wchar_t* cls, HWND parent, const std::wstring& text, DWORD style, int x, int y,
                   int w, int h, int id, HFONT font, DWORD exStyle) {
    HWND hwnd = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                nullptr);
    if (hwnd && font)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

bool IsChecked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool SetCheckState(HWND button, int state) {
    int before = static_cast<int>(SendMessageW(button, BM_GETCHECK, 0, 0));
    if (before == state)
        return false;
    SendMessageW(button, BM_SETCHECK, static_cast<WPARAM>(state), 0);
    return true;
}

int ComboSelected(HWND combo) {
    return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

bool ComboSelect(HWND combo, int index) {
    int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    if (index < 0 || index >= count)
        return false;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return true;
}

void ComboAdd(HWND combo, const std::wstring& text) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int TrackbarValue(HWND trackbar) {
    return static_cast<int>(SendMessageW(trackbar, TBM_GETPOS, 0, 0));
}
void TrackbarSetValue(HWND trackbar, int value) {
    SendMessageW(trackbar, TBM_SETPOS, TRUE, value);
}

bool StatusBar::Create(HWND parent, int id, HFONT font, std::vector<int> widths) {
    hwnd_ = CreateControl(STATUSCLASSNAMEW, parent, L"", SBARS_SIZEGRIP, 0, 0, 0, 0, id, font);
    widths_ = std::move(widths);
    Fit();
    return hwnd_ != nullptr;
}

void StatusBar::SetPanelText(int panel, const std::wstring& text) {
    SendMessageW(hwnd_, SB_SETTEXTW, static_cast<WPARAM>(panel - 1), reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusBar::PanelText(int panel) const {
    auto n = LOWORD(SendMessageW(hwnd_, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel - 1), 0));
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(hwnd_, SB_GETTEXTW, static_cast<WPARAM>(panel - 1), reinterpret_cast<LPARAM>(s.data()));
    s.resize(n);
    return s;
}

void StatusBar::SetWidths(std::vector<int> widths) {
    widths_ = std::move(widths);
    Fit();
}

void StatusBar::Fit() {
    if (!hwnd_)
        return;
    SendMessageW(hwnd_, WM_SIZE, 0, 0);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    // Panels after the first keep their widths, counted from the right edge.
    std::vector<int> edges(widths_.size() + 1);
    int right = rc.right - GetSystemMetrics(SM_CXVSCROLL);
    for (size_t i = widths_.size(); i > 0; --i) {
        edges[i] = right;
        right -= widths_[i - 1];
    }
    edges[0] = right > 50 ? right : 50;
    for (size_t i = 1; i < edges.size(); ++i)
        if (edges[i] <= edges[i - 1])
            edges[i] = edges[i - 1] + 1;
    edges.back() = -1;
    SendMessageW(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

int StatusBar::Height() const {
    RECT rc{};
    if (hwnd_)
        GetWindowRect(hwnd_, &rc);
    return rc.bottom - rc.top;
}

void ToolTips::Create(HWND owner) {
    owner_ = owner;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

void ToolTips::Add(HWND control, const std::wstring& text) {
    if (!tip_ || !control)
        return;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = owner_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

std::wstring GetText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), n + 1)));
    return s;
}

} // namespace tessary
