#include "support/WinTest.h"
#include "app/StartupRules.h"
#include "viewer/cTrackMouse.h"
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using tessary::cTrackMouse;
namespace MTrackMouseEvent = tessary::MTrackMouseEvent;

namespace {

// What the window's own procedure saw, in order; shared with the event handlers.
std::vector<std::string> g_log;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_EXITSIZEMOVE:
        g_log.push_back("proc:exitsizemove");
        break;
    case WM_QUERYENDSESSION:
        g_log.push_back("proc:queryendsession");
        return TRUE;
    case WM_ENDSESSION:
        g_log.push_back("proc:endsession");
        break;
    case WM_WINDOWPOSCHANGING: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
        if (!(pos->flags & SWP_NOSIZE))
            g_log.push_back("proc:poschanging " + std::to_string(pos->cx) + "x" + std::to_string(pos->cy));
        break;
    }
    case WM_APP + 1:
        g_log.push_back("proc:app");
        return 4242;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeWindow() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TrackMouseTestHost";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        return RegisterClassExW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    HWND hwnd = CreateWindowExW(0, L"TrackMouseTestHost", L"host", WS_OVERLAPPEDWINDOW, 10, 10, 800, 600,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(hwnd, nullptr);
    return hwnd;
}

WNDPROC CurrentProc(HWND hwnd) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
}

class TrackMouseTest : public testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        hwnd = MakeWindow();
    }
    void TearDown() override {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
    HWND hwnd = nullptr;
};

} // namespace

TEST_F(TrackMouseTest, AttachesAndDetachesByProperty) {
    {
        cTrackMouse hook;
        hook.SubClass(hwnd);
        EXPECT_EQ(hook.AttachedWindow(), hwnd);
        EXPECT_EQ(hook.PreviousProcedure(), &HostProc);
        EXPECT_EQ(CurrentProc(hwnd), &MTrackMouseEvent::WindowProc);
        EXPECT_EQ(MTrackMouseEvent::FromWindow(hwnd), &hook);
        // Messages without an event pass through with the previous procedure's result.
        EXPECT_EQ(SendMessageW(hwnd, WM_APP + 1, 0, 0), 4242);
        EXPECT_EQ(g_log, std::vector<std::string>{"proc:app"});
    }
    // Destroying the object put the old procedure back and removed the property.
    EXPECT_EQ(CurrentProc(hwnd), &HostProc);
    EXPECT_EQ(GetPropW(hwnd, MTrackMouseEvent::kPropertyName), nullptr);

    // Detached explicitly, then attached again; the window's destruction detaches it too.
    cTrackMouse hook;
    hook.SubClass(hwnd);
    hook.UnSubClass();
    EXPECT_EQ(CurrentProc(hwnd), &HostProc);
    EXPECT_EQ(GetPropW(hwnd, MTrackMouseEvent::kPropertyName), nullptr);
    hook.SubClass(hwnd);
    EXPECT_EQ(MTrackMouseEvent::FromWindow(hwnd), &hook);
    DestroyWindow(hwnd);
    EXPECT_EQ(hook.AttachedWindow(), nullptr);
}

TEST_F(TrackMouseTest, SecondObjectOnSameWindowDoesNothing) {
    cTrackMouse first, second;
    int firstCount = 0, secondCount = 0;
    first.ExitSizeMove = [&] { ++firstCount; };
    second.ExitSizeMove = [&] { ++secondCount; };
    first.SubClass(hwnd);
    second.SubClass(hwnd);
    EXPECT_EQ(second.AttachedWindow(), nullptr);
    EXPECT_EQ(MTrackMouseEvent::FromWindow(hwnd), &first);
    SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(firstCount, 1);
    EXPECT_EQ(secondCount, 0);
    // Detaching the object that never attached leaves the first one in place.
    second.UnSubClass();
    SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(firstCount, 2);
    EXPECT_EQ(CurrentProc(hwnd), &MTrackMouseEvent::WindowProc);
}

TEST_F(TrackMouseTest, EventsRunBeforeThePreviousProcedure) {
    cTrackMouse hook;
    std::vector<std::pair<WPARAM, LPARAM>> closeArgs;
    hook.AppClose = [&](WPARAM w, LPARAM l) {
        closeArgs.emplace_back(w, l);
        g_log.push_back("event:appclose");
    };
    hook.ExitSizeMove = [&] { g_log.push_back("event:exitsizemove"); };
    hook.SubClass(hwnd);

    EXPECT_EQ(SendMessageW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(hwnd, WM_ENDSESSION, FALSE, ENDSESSION_CLOSEAPP);
    SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
    const std::vector<std::string> expected{"event:appclose",  "proc:queryendsession", "event:appclose",
                                            "proc:endsession", "event:exitsizemove",   "proc:exitsizemove"};
    EXPECT_EQ(g_log, expected);
    ASSERT_EQ(closeArgs.size(), 2u);
    EXPECT_EQ(closeArgs[0], (std::pair<WPARAM, LPARAM>(0, ENDSESSION_LOGOFF)));
    EXPECT_EQ(closeArgs[1], (std::pair<WPARAM, LPARAM>(FALSE, ENDSESSION_CLOSEAPP)));
}

TEST_F(TrackMouseTest, WindowPosChangingHandlerEnforcesMinimumSize) {
    SetWindowPos(hwnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r{};
    GetWindowRect(hwnd, &r);
    ASSERT_EQ(r.right - r.left, 300) << "without the hook the window takes any size";

    cTrackMouse hook;
    hook.WindowPosChanging = [](WPARAM, LPARAM lParam) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        tessary::ApplyMinimumSize(pos->cx, pos->cy);
    };
    hook.SubClass(hwnd);
    g_log.clear();
    SetWindowPos(hwnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.right - r.left, tessary::kMinWindowWidth);
    EXPECT_EQ(r.bottom - r.top, tessary::kMinWindowHeight);
    // The previous procedure saw the rewritten record.
    EXPECT_EQ(g_log, std::vector<std::string>{"proc:poschanging 717x535"});
}

TEST_F(TrackMouseTest, HandlerMayReleaseTheObjectOrThrow) {
    auto hook = std::make_unique<cTrackMouse>();
    hook->ExitSizeMove = [&] { hook.reset(); };
    hook->SubClass(hwnd);
    SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(hook, nullptr);
    EXPECT_EQ(g_log, std::vector<std::string>{"proc:exitsizemove"});
    EXPECT_EQ(CurrentProc(hwnd), &HostProc);
    EXPECT_EQ(GetPropW(hwnd, MTrackMouseEvent::kPropertyName), nullptr);

    g_log.clear();
    cTrackMouse throwing;
    throwing.ExitSizeMove = [] { throw std::runtime_error("handler failed"); };
    throwing.SubClass(hwnd);
    SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(g_log, std::vector<std::string>{"proc:exitsizemove"});
}

namespace {
std::vector<TRACKMOUSEEVENT> g_requests;
BOOL g_accept = TRUE;
BOOL WINAPI RecordRequest(LPTRACKMOUSEEVENT tme) {
    g_requests.push_back(*tme);
    return g_accept;
}
} // namespace

TEST_F(TrackMouseTest, HoverAndLeaveRequests) {
    g_requests.clear();
    g_accept = TRUE;
    cTrackMouse hook(&RecordRequest);
    // Nothing is asked for a window that is not attached.
    EXPECT_FALSE(hook.TrackMouseHover());
    EXPECT_TRUE(g_requests.empty());

    hook.SubClass(hwnd);
    EXPECT_TRUE(hook.TrackMouseHover());
    EXPECT_TRUE(hook.TrackMouseHover(100));
    ASSERT_EQ(g_requests.size(), 1u);
    EXPECT_EQ(g_requests[0].cbSize, sizeof(TRACKMOUSEEVENT));
    EXPECT_EQ(g_requests[0].dwFlags, static_cast<DWORD>(TME_HOVER));
    EXPECT_EQ(g_requests[0].hwndTrack, hwnd);
    EXPECT_EQ(g_requests[0].dwHoverTime, static_cast<DWORD>(HOVER_DEFAULT));
    EXPECT_TRUE(hook.HoverEventActive());
    EXPECT_FALSE(hook.LeaveEventActive());

    hook.CancelMouseHover();
    hook.CancelMouseHover();
    ASSERT_EQ(g_requests.size(), 2u);
    EXPECT_EQ(g_requests[1].dwFlags, 0x80000001u);
    EXPECT_EQ(g_requests[1].dwHoverTime, 0u);
    EXPECT_FALSE(hook.HoverEventActive());

    EXPECT_TRUE(hook.TrackMouseHover(250));
    EXPECT_TRUE(hook.TrackMouseLeave());
    EXPECT_TRUE(hook.TrackMouseLeave());
    ASSERT_EQ(g_requests.size(), 4u);
    EXPECT_EQ(g_requests[2].dwHoverTime, 250u);
    EXPECT_EQ(g_requests[3].dwFlags, static_cast<DWORD>(TME_LEAVE));
    hook.CancelMouseLeave();
    ASSERT_EQ(g_requests.size(), 5u);
    EXPECT_EQ(g_requests[4].dwFlags, 0x80000002u);
    EXPECT_FALSE(hook.LeaveEventActive());
    EXPECT_TRUE(hook.HoverEventActive()) << "cancelling leave leaves the hover request alone";

    // A refused request leaves its flag clear and is asked again next time.
    g_accept = FALSE;
    EXPECT_FALSE(hook.TrackMouseLeave());
    EXPECT_FALSE(hook.LeaveEventActive());
    g_accept = TRUE;
    EXPECT_TRUE(hook.TrackMouseLeave());
    EXPECT_EQ(g_requests.size(), 7u);
}
