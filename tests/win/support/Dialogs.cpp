#include "support/Dialogs.h"

namespace wintest {

std::vector<std::wstring> VisibleMenuItems(HMENU menu) {
    std::vector<std::wstring> items;
    int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof(mi);
        mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        wchar_t text[256] = {};
        mi.dwTypeData = text;
        mi.cch = 255;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi))
            continue;
        if (mi.fType & MFT_SEPARATOR)
            items.push_back(L"-");
        else
            items.push_back(((mi.fState & MFS_DISABLED) ? L"~" : L"") + std::wstring(text));
    }
    return items;
}

namespace {
KeyboardAnswers* answering = nullptr;

struct FoundDialog {
    HWND hwnd = nullptr;
};
BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lp) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd)) {
        reinterpret_cast<FoundDialog*>(lp)->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}
BOOL CALLBACK CollectStatics(HWND child, LPARAM lp) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    if (CompareStringOrdinal(cls, -1, L"Static", -1, TRUE) == CSTR_EQUAL) {
        wchar_t text[1024] = {};
        GetWindowTextW(child, text, 1024);
        auto& all = *reinterpret_cast<std::wstring*>(lp);
        if (text[0])
            all += (all.empty() ? L"" : L"\n") + std::wstring(text);
    }
    return TRUE;
}
} // namespace

KeyboardAnswers::KeyboardAnswers(std::vector<std::wstring> typed)
    : typed_(typed.begin(), typed.end()), previous_(tessary::InstallDialogs(nullptr)) {
    answering = this;
    timer_ = SetTimer(nullptr, 0, 50, OnTimer);
}

KeyboardAnswers::~KeyboardAnswers() {
    KillTimer(nullptr, timer_);
    answering = nullptr;
    tessary::InstallDialogs(std::move(previous_));
}

void CALLBACK KeyboardAnswers::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (answering)
        answering->AnswerOpenBox();
}

void KeyboardAnswers::AnswerOpenBox() {
    FoundDialog found;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&found));
    if (!found.hwnd || found.hwnd == lastAnswered_ || typed_.empty())
        return;
    lastAnswered_ = found.hwnd;
    Answered box;
    wchar_t title[256] = {};
    GetWindowTextW(found.hwnd, title, 256);
    box.title = title;
    EnumChildWindows(found.hwnd, CollectStatics, reinterpret_cast<LPARAM>(&box.text));
    answered_.push_back(box);
    HWND focus = GetFocus();
    if (!focus || !IsChild(found.hwnd, focus))
        focus = found.hwnd;
    for (wchar_t c : typed_.front())
        PostMessageW(focus, WM_CHAR, c, 1);
    typed_.pop_front();
    PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(focus, WM_KEYUP, VK_RETURN, 0xC0000001);
}

} // namespace wintest
