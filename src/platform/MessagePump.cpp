#include "platform/MessagePump.h"
#include "platform/Clock.h"
#include <algorithm>
#include <map>

namespace tessary {
namespace {
std::map<HWND, KeyPreviewHandler>& Previews() {
    static std::map<HWND, KeyPreviewHandler> previews;
    return previews;
}

struct PumpGap {
    double last = 0;
    double longest = 0;
};
PumpGap& Gap() {
    static PumpGap gap;
    return gap;
}

void NotePumpRun() {
    const double now = Seconds();
    PumpGap& gap = Gap();
    if (gap.last != 0)
        gap.longest = std::max(gap.longest, now - gap.last);
    gap.last = now;
}

bool IsKeyMessage(UINT m) {
    return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP;
}
} // namespace

void RegisterKeyPreview(HWND topLevel, KeyPreviewHandler handler) {
    Previews()[topLevel] = std::move(handler);
}
void UnregisterKeyPreview(HWND topLevel) {
    Previews().erase(topLevel);
}

void DispatchOne(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsKeyMessage(msg.message)) {
        auto it = Previews().find(root);
        if (it != Previews().end()) {
            KeyPreviewHandler handler = it->second; // the handler may unregister itself
            if (handler(msg))
                return;
        }
    }
    // Dialog-style Tab navigation between controls; Enter and Escape stay with the control
    // that has the focus (the thumbnail list acts on them itself).
    if (root && msg.message == WM_KEYDOWN && msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE &&
        (GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsDialogMessageW(root, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void ResetPumpGap() {
    Gap() = PumpGap{};
    NotePumpRun();
}

double LongestPumpGap() {
    NotePumpRun(); // the time since the last run counts too
    return Gap().longest;
}

void DoEvents() {
    NotePumpRun();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // keep it for the main loop
            return;
        }
        DispatchOne(msg);
    }
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchOne(msg);
    return static_cast<int>(msg.wParam);
}

} // namespace tessary
