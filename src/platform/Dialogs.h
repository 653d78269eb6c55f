// The one seam for message boxes and input boxes, so tests can answer them.
#pragma once
#include <windows.h>
#include <memory>
#include <optional>
#include <string>

namespace tessary {

class DialogService {
public:
    virtual ~DialogService() = default;
    // style: the MessageBox flags (buttons, icon, default button). Returns IDOK, IDYES, ...
    virtual int ShowMessage(const std::wstring& text, UINT style, const std::wstring& title) = 0;
    // Returns the text typed, or nothing when cancelled.
    virtual std::optional<std::wstring> InputText(const std::wstring& prompt, const std::wstring& title,
                                                  const std::wstring& initial) = 0;
    // Shows a pop-up menu at the screen position and returns the chosen item's id (0: none).
    virtual UINT ChooseFromMenu(HMENU menu, int x, int y, HWND owner) = 0;
};

// The service in use (the real dialogs unless a test installed its own).
DialogService& Dialogs();
// Installs a replacement (tests); nullptr puts the real dialogs back. Returns the previous one.
std::unique_ptr<DialogService> InstallDialogs(std::unique_ptr<DialogService> service);

// The application title used as the caption of every message box.
const std::wstring& AppTitle();

// A warning under the application title: exclamation icon, OK.
void ShowWarning(const std::wstring& text);

// The system's text for an error code (GetLastError), without its line break; "error <n>" when
// the system has none.
std::wstring SystemErrorText(DWORD error);

} // namespace tessary
