// Window hook of a top-level window: turns a few window messages into events for the form that
// owns it, passes every message on unchanged, and asks Windows for mouse hover/leave messages.
#pragma once
#include <windows.h>
#include <functional>
#include <optional>

namespace tessary {

// The tracking call: user32's TrackMouseEvent or comctl32's _TrackMouseEvent.
using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

class cTrackMouse;

// The shared window procedure of every hooked window and the lookup from window to object.
namespace MTrackMouseEvent {
inline constexpr wchar_t kPropertyName[] = L"nvTrkMouse";
cTrackMouse* FromWindow(HWND hWnd);
LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
} // namespace MTrackMouseEvent

class cTrackMouse {
public:
    // Decides once whether user32 exports TrackMouseEvent (otherwise comctl32's is used).
    cTrackMouse();
    // Sends tracking requests to the given function instead (lets a test see each request).
    explicit cTrackMouse(TrackMouseEventFn track);
    // Detaches.
    ~cTrackMouse();
    // The window property holds this object's address, so the object never moves.
    cTrackMouse(const cTrackMouse&) = delete;
    cTrackMouse& operator=(const cTrackMouse&) = delete;
    cTrackMouse(cTrackMouse&&) = delete;
    cTrackMouse& operator=(cTrackMouse&&) = delete;

    // Attaches to hWnd; does nothing when hWnd is not a window, already carries a hook, or this
    // object is already attached.
    void SubClass(HWND hWnd);
    // Puts the previous procedure back; does nothing when the window no longer exists.
    void UnSubClass();

    // Asks for one WM_MOUSEHOVER (HOVER_DEFAULT when no time is given). True when a request is
    // outstanding afterwards; a second call while one is outstanding does not ask again.
    bool TrackMouseHover(std::optional<DWORD> nHoverTime = std::nullopt);
    void CancelMouseHover();
    // Asks for one WM_MOUSELEAVE; otherwise as TrackMouseHover.
    bool TrackMouseLeave();
    void CancelMouseLeave();
    bool HoverEventActive() const { return hoverRequested_; }
    bool LeaveEventActive() const { return leaveRequested_; }

    HWND AttachedWindow() const { return hwnd_; }
    WNDPROC PreviousProcedure() const { return previous_; }
    bool User32TrackingAvailable() const { return user32Tracking_; }

    // Events, raised inside the window procedure before the message goes on to the previous
    // procedure (so a WindowPosChanging handler may rewrite the WINDOWPOS at lParam).
    std::function<void(WPARAM, LPARAM)> WindowPosChanging; // WM_WINDOWPOSCHANGING
    std::function<void(WPARAM, LPARAM)> AppClose;          // WM_QUERYENDSESSION, WM_ENDSESSION
    std::function<void()> ExitSizeMove;                    // WM_EXITSIZEMOVE

private:
    friend LRESULT CALLBACK MTrackMouseEvent::WindowProc(HWND, UINT, WPARAM, LPARAM);
    void RaiseEvent(UINT msg, WPARAM wParam, LPARAM lParam);
    void Forget();
    BOOL Request(DWORD flags, DWORD hoverTime);

    HWND hwnd_ = nullptr;
    WNDPROC previous_ = nullptr;
    bool hoverRequested_ = false;
    bool leaveRequested_ = false;
    bool user32Tracking_ = false;
    TrackMouseEventFn track_ = nullptr;
};

} // namespace tessary
