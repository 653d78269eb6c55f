#include "support/Dialogs.h"

namespace wintest {
namespace {

bool AnyWindowShown() {
    BOOL shown = FALSE;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM found) {
            *reinterpret_cast<BOOL*>(found) |= IsWindowVisible(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown != FALSE;
}

class Recording final : public tessary::DialogService {
public:
    explicit Recording(DialogRecorder& r) : r_(r) {}
    int ShowMessage(const std::wstring& text, UINT style, const std::wstring& title) override {
        r_.calls.push_back({text, title, L"", style, false, AnyWindowShown()});
        return Next(r_.answers, IDOK);
    }
    std::optional<std::wstring> InputText(const std::wstring& prompt, const std::wstring& title,
                                          const std::wstring& initial) override {
        r_.calls.push_back({prompt, title, initial, 0, true});
        return Next(r_.inputs, std::optional<std::wstring>());
    }
    UINT ChooseFromMenu(HMENU menu, int, int, HWND) override {
        DialogCall call;
        const std::wstring pick = Next(r_.menuPicks, std::wstring());
        UINT chosen = 0;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            MENUITEMINFOW mi{};
            mi.cbSize = sizeof(mi);
            mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_ID;
            wchar_t text[256] = {};
            mi.dwTypeData = text;
            mi.cch = 255;
            if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi))
                continue;
            const bool greyed = (mi.fState & MFS_DISABLED) != 0;
            call.menuItems.push_back((mi.fType & MFT_SEPARATOR) ? L"-"
                                                                : (greyed ? L"~" : L"") + std::wstring(text));
            if (!pick.empty() && pick == text && !greyed)
                chosen = mi.wID;
        }
        r_.calls.push_back(call);
        return r_.menuChoices.empty() ? chosen : Next(r_.menuChoices, 0u);
    }

private:
    template <typename T> static T Next(std::deque<T>& script, T otherwise) {
        if (script.empty())
            return otherwise;
        T value = script.front();
        script.pop_front();
        return value;
    }
    DialogRecorder& r_;
};

} // namespace

DialogRecorder::DialogRecorder() : previous_(tessary::InstallDialogs(std::make_unique<Recording>(*this))) {}

DialogRecorder::~DialogRecorder() {
    tessary::InstallDialogs(std::move(previous_));
}

namespace {
KeyboardAnswers* answering = nullptr;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lp) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd))
        return TRUE;
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
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
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&found));
    if (!found || found == lastAnswered_ || typed_.empty())
        return;
    lastAnswered_ = found;
    Answered box;
    wchar_t title[256] = {};
    GetWindowTextW(found, title, 256);
    box.title = title;
    EnumChildWindows(found, CollectStatics, reinterpret_cast<LPARAM>(&box.text));
    answered_.push_back(box);
    HWND focus = GetFocus();
    if (!focus || !IsChild(found, focus))
        focus = found;
    for (wchar_t c : typed_.front())
        PostMessageW(focus, WM_CHAR, c, 1);
    typed_.pop_front();
    PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(focus, WM_KEYUP, VK_RETURN, 0xC0000001);
}

} // namespace wintest
