#include "platform/Dialogs.h"
#include <utility>
#include <vector>

namespace tessary {
namespace {

// A small modal input box: prompt, edit field, OK and Cancel, built from an in-memory template.
struct InputState {
    std::wstring prompt, initial, result;
};

enum : WORD { IdPrompt = 100, IdEdit = 101 };

void Align(std::vector<BYTE>& t) {
    while (t.size() % 4)
        t.push_back(0);
}
void PutWord(std::vector<BYTE>& t, WORD w) {
    t.push_back(LOBYTE(w));
    t.push_back(HIBYTE(w));
}
void PutDword(std::vector<BYTE>& t, DWORD d) {
    PutWord(t, LOWORD(d));
    PutWord(t, HIWORD(d));
}
void PutString(std::vector<BYTE>& t, const std::wstring& s) {
    for (wchar_t c : s)
        PutWord(t, static_cast<WORD>(c));
    PutWord(t, 0);
}
void PutItem(std::vector<BYTE>& t, DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls,
             const std::wstring& text) {
    Align(t);
    PutDword(t, style | WS_CHILD | WS_VISIBLE);
    PutDword(t, 0);
    PutWord(t, x);
    PutWord(t, y);
    PutWord(t, cx);
    PutWord(t, cy);
    PutWord(t, id);
    PutWord(t, 0xFFFF);
    PutWord(t, cls);
    PutString(t, text);
    PutWord(t, 0);
}

std::vector<BYTE> InputTemplate(const std::wstring& title) {
    std::vector<BYTE> t;
    PutDword(t, DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    PutDword(t, 0);
    // The count must match the items that follow, or DialogBoxIndirect fails and no box shows.
    constexpr WORD kItemCount = 4;
    PutWord(t, kItemCount);
    PutWord(t, 0);
    PutWord(t, 0);
    PutWord(t, 240);
    PutWord(t, 80);
    PutWord(t, 0); // no menu
    PutWord(t, 0); // default class
    PutString(t, title);
    PutWord(t, 8);
    PutString(t, L"MS Shell Dlg");
    PutItem(t, SS_LEFT, 7, 7, 170, 40, IdPrompt, 0x0082, L"");
    PutItem(t, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 56, 226, 14, IdEdit, 0x0081, L"");
    PutItem(t, BS_DEFPUSHBUTTON | WS_TABSTOP, 183, 7, 50, 14, IDOK, 0x0080, L"OK");
    PutItem(t, BS_PUSHBUTTON | WS_TABSTOP, 183, 25, 50, 14, IDCANCEL, 0x0080, L"Cancel");
    return t;
}

INT_PTR CALLBACK InputProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* st = reinterpret_cast<InputState*>(GetWindowLongPtrW(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        st = reinterpret_cast<InputState*>(lp);
        SetWindowLongPtrW(dlg, DWLP_USER, lp);
        SetDlgItemTextW(dlg, IdPrompt, st->prompt.c_str());
        SetDlgItemTextW(dlg, IdEdit, st->initial.c_str());
        SendDlgItemMessageW(dlg, IdEdit, EM_SETSEL, 0, -1);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            HWND edit = GetDlgItem(dlg, IdEdit);
            std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
            text.resize(
                static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
            st->result = text;
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

class RealDialogs final : public DialogService {
public:
    int ShowMessage(const std::wstring& text, UINT style, const std::wstring& title) override {
        return MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), style);
    }
    std::optional<std::wstring> InputText(const std::wstring& prompt, const std::wstring& title,
                                          const std::wstring& initial) override {
        InputState st{prompt, initial, {}};
        std::vector<BYTE> tpl = InputTemplate(title);
        INT_PTR r =
            DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(tpl.data()),
                                    GetActiveWindow(), InputProc, reinterpret_cast<LPARAM>(&st));
        if (r != IDOK)
            return std::nullopt;
        return st.result;
    }
    UINT ChooseFromMenu(HMENU menu, int x, int y, HWND owner) override {
        SetForegroundWindow(owner); // so the menu closes when the user clicks elsewhere
        UINT id = static_cast<UINT>(TrackPopupMenu(
            menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, x, y, 0, owner, nullptr));
        PostMessageW(owner, WM_NULL, 0, 0);
        return id;
    }
};

std::unique_ptr<DialogService>& Current() {
    static std::unique_ptr<DialogService> current = std::make_unique<RealDialogs>();
    return current;
}

} // namespace

DialogService& Dialogs() {
    return *Current();
}

std::unique_ptr<DialogService> InstallDialogs(std::unique_ptr<DialogService> service) {
    if (!service)
        service = std::make_unique<RealDialogs>();
    return std::exchange(Current(), std::move(service));
}

const std::wstring& AppTitle() {
    static const std::wstring title = L"Tessary";
    return title;
}

void ShowWarning(const std::wstring& text) {
    Dialogs().ShowMessage(text, MB_OK | MB_ICONEXCLAMATION, AppTitle());
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring s = n && text ? std::wstring(text, n) : L"error " + std::to_wstring(error);
    if (text)
        LocalFree(text);
    while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' '))
        s.pop_back();
    return s;
}

} // namespace tessary
