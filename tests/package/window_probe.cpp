// Looks at a running Tessary from outside, for the package tests (tools/test.sh --package):
//   window_probe wait <seconds>   waits for the visible main window; prints the status bar's panels
//   window_probe close <seconds>  closes the main window as the user does and waits until it is gone
// Exits 0 on success, 1 when the window does not appear (or does not go) in time.
#include "platform/Handles.h"
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kMainClass[] = L"TessaryMain";

void Print(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), n, nullptr,
                        nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

struct ProcessTraits { // OpenProcess reports failure as null
    using handle_type = HANDLE;
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};

// A buffer in the program's address space: the status bar's text messages carry a pointer,
// which Windows does not carry across processes.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t bytes)
        : process_(process), p_(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (p_)
            VirtualFreeEx(process_, p_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    void* get() const { return p_; }

private:
    HANDLE process_;
    void* p_;
};

std::wstring PanelText(HWND statusBar, HANDLE process, int index) {
    const auto length = LOWORD(SendMessageW(statusBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0));
    const size_t bytes = (static_cast<size_t>(length) + 1) * sizeof(wchar_t);
    RemoteBuffer remote(process, bytes);
    if (!remote.get())
        return L"?";
    SendMessageW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote.get()));
    std::wstring text(length, L'\0');
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, remote.get(), text.data(), length * sizeof(wchar_t), &read))
        return L"?";
    return text;
}

// The main window once it is visible (null when it is not after the given time), or with
// gone set, true once there is no main window any more.
bool WaitForWindow(int seconds, bool gone, HWND& window) {
    for (int i = 0; i < seconds * 10; ++i) {
        window = FindWindowW(kMainClass, nullptr);
        if (gone ? !window : window && IsWindowVisible(window))
            return true;
        Sleep(100);
    }
    return false;
}

int Wait(int seconds) {
    HWND w = nullptr;
    if (!WaitForWindow(seconds, false, w)) {
        Print(L"no main window");
        return 1;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    tessary::UniqueHandle<ProcessTraits> process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    HWND statusBar = FindWindowExW(w, nullptr, STATUSCLASSNAMEW, nullptr);
    if (process && statusBar) {
        const int panels = static_cast<int>(SendMessageW(statusBar, SB_GETPARTS, 0, 0));
        for (int i = 0; i < panels; ++i)
            Print(L"panel" + std::to_wstring(i + 1) + L" " + PanelText(statusBar, process.get(), i));
    }
    return 0;
}

int Close(int seconds) {
    HWND w = FindWindowW(kMainClass, nullptr);
    if (w)
        PostMessageW(w, WM_CLOSE, 0, 0);
    if (!WaitForWindow(seconds, true, w)) {
        Print(L"main window still open");
        return 1;
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return 2;
    const int seconds = _wtoi(argv[2]);
    if (std::wcscmp(argv[1], L"wait") == 0)
        return Wait(seconds);
    if (std::wcscmp(argv[1], L"close") == 0)
        return Close(seconds);
    return 2;
}
