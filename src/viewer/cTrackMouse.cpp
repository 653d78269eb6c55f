#include "viewer/cTrackMouse.h"
#include "platform/Handles.h"
#include <commctrl.h>

namespace tessary {

namespace {

// Whether user32 exports TrackMouseEvent; a library loaded only to ask is freed again.
bool User32ExportsTrackMouseEvent() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    UniqueModule loaded;
    if (!user32) {
        loaded.reset(LoadLibraryW(L"user32.dll"));
        user32 = loaded.get();
    }
    return user32 && GetProcAddress(user32, "TrackMouseEvent") != nullptr;
}

} // namespace

cTrackMouse::cTrackMouse() : user32Tracking_(User32ExportsTrackMouseEvent()) {
    track_ = user32Tracking_ ? &::TrackMouseEvent : &::_TrackMouseEvent;
}

cTrackMouse::cTrackMouse(TrackMouseEventFn track) : user32Tracking_(false), track_(track) {}

cTrackMouse::~cTrackMouse() {
    UnSubClass();
}

void cTrackMouse::SubClass(HWND hWnd) {
    if (hwnd_ || !IsWindow(hWnd))
        return;
    if (GetPropW(hWnd, MTrackMouseEvent::kPropertyName))
        return; // another object already hooks this window
    if (!SetPropW(hWnd, MTrackMouseEvent::kPropertyName, static_cast<HANDLE>(this)))
        return;
    SetLastError(0);
    auto old =
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MTrackMouseEvent::WindowProc));
    if (old == 0 && GetLastError() != 0) {
        RemovePropW(hWnd, MTrackMouseEvent::kPropertyName);
        return;
    }
    previous_ = reinterpret_cast<WNDPROC>(old);
    hwnd_ = hWnd;
}

void cTrackMouse::UnSubClass() {
    if (!hwnd_ || !previous_ || !IsWindow(hwnd_))
        return;
    Forget();
}

void cTrackMouse::Forget() {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropW(hwnd_, MTrackMouseEvent::kPropertyName);
    hwnd_ = nullptr;
    previous_ = nullptr;
}

BOOL cTrackMouse::Request(DWORD flags, DWORD hoverTime) {
    if (!hwnd_ || !track_)
        return FALSE;
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = flags;
    tme.hwndTrack = hwnd_;
    tme.dwHoverTime = hoverTime;
    return track_(&tme);
}

bool cTrackMouse::TrackMouseHover(std::optional<DWORD> nHoverTime) {
    if (!hoverRequested_)
        hoverRequested_ = Request(TME_HOVER, nHoverTime.value_or(HOVER_DEFAULT)) != FALSE;
    return hoverRequested_;
}

void cTrackMouse::CancelMouseHover() {
    if (!hoverRequested_)
        return;
    Request(TME_CANCEL | TME_HOVER, 0);
    hoverRequested_ = false;
}

bool cTrackMouse::TrackMouseLeave() {
    if (!leaveRequested_)
        leaveRequested_ = Request(TME_LEAVE, 0) != FALSE;
    return leaveRequested_;
}

void cTrackMouse::CancelMouseLeave() {
    if (!leaveRequested_)
        return;
    Request(TME_CANCEL | TME_LEAVE, 0);
    leaveRequested_ = false;
}

void cTrackMouse::RaiseEvent(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The handler runs from a copy: it may release this object (the form unloading itself).
    switch (msg) {
    case WM_WINDOWPOSCHANGING:
        if (auto handler = WindowPosChanging)
            handler(wParam, lParam);
        break;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        if (auto handler = AppClose)
            handler(wParam, lParam);
        break;
    case WM_EXITSIZEMOVE:
        if (auto handler = ExitSizeMove)
            handler();
        break;
    default:
        break;
    }
}

namespace MTrackMouseEvent {

cTrackMouse* FromWindow(HWND hWnd) {
    return static_cast<cTrackMouse*>(GetPropW(hWnd, kPropertyName));
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    cTrackMouse* hook = FromWindow(hWnd);
    if (!hook || !hook->previous_)
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    // Read before the event: its handler may destroy the object.
    WNDPROC previous = hook->previous_;
    if (msg == WM_NCDESTROY) {
        // The window is going away: unhook now, so the object never holds a handle that Windows
        // may later give to another window.
        hook->Forget();
    } else {
        try {
            hook->RaiseEvent(msg, wParam, lParam);
        } catch (...) {
            // A failing handler must not stop the message or unwind through Windows.
        }
    }
    return CallWindowProcW(previous, hWnd, msg, wParam, lParam);
}

} // namespace MTrackMouseEvent

} // namespace tessary
