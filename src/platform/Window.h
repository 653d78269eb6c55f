// Base of the program's windows: one static window procedure that finds the object through
// GWLP_USERDATA (stored at WM_NCCREATE, cleared at WM_NCDESTROY) and forwards to it.
#pragma once
#include <windows.h>
#include <string>

namespace tessary {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

protected:
    // Registers the class once (per name) and creates the window; the object receives every
    // message from WM_NCCREATE on.
    bool CreateWindowObject(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle,
                            int x, int y, int w, int h, HWND parent, HICON icon);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // Called from WM_NCDESTROY, after which the object no longer has a window.
    virtual void OnDestroyed() {}

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

} // namespace tessary
