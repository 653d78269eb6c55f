#include "support/WinTest.h"
#include "viewer/cTrackMouse.h"
#include <string>
#include <vector>

using tessary::cTrackMouse;
namespace MTrackMouseEvent = tessary::MTrackMouseEvent;

namespace {

// What the window's own procedure saw, in order; shared with the event handlers.
std::vector<std::string> g_log;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_QUERYENDSESSION)
        g_log.push_back("proc:queryendsession");
    return DefWindowProcW(hwnd, msg, wp, lp);
}

WNDPROC CurrentProc(HWND hwnd) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
}

class TrackMouseTest : public testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        hwnd = wintest::CreateHostWindow(L"TrackMouseTestHost", HostProc, 10, 10, 800, 600);
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
    HWND hwnd = nullptr;
};

} // namespace

TEST_F(TrackMouseTest, AttachesOnceAndDetachesOnDestruction) {
    {
        cTrackMouse first, second;
        int firstCount = 0, secondCount = 0;
        first.ExitSizeMove = [&] { ++firstCount; };
        second.ExitSizeMove = [&] { ++secondCount; };
        first.SubClass(hwnd);
        second.SubClass(hwnd); // a second object on the same window does nothing
        EXPECT_EQ(first.PreviousProcedure(), &HostProc);
        EXPECT_EQ(second.AttachedWindow(), nullptr);
        EXPECT_EQ(MTrackMouseEvent::FromWindow(hwnd), &first);
        SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
        second.UnSubClass(); // leaves the first one in place
        SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
        EXPECT_EQ(firstCount, 2);
        EXPECT_EQ(secondCount, 0);
        EXPECT_EQ(CurrentProc(hwnd), &MTrackMouseEvent::WindowProc);
    }
    // Destroying the object put the old procedure back and removed the property.
    EXPECT_EQ(CurrentProc(hwnd), &HostProc);
    EXPECT_EQ(GetPropW(hwnd, MTrackMouseEvent::kPropertyName), nullptr);
    // The window's destruction detaches too.
    cTrackMouse hook;
    hook.SubClass(hwnd);
    DestroyWindow(hwnd);
    EXPECT_EQ(hook.AttachedWindow(), nullptr);
}

// The owner's event runs before the window's own procedure sees the message. (The other two
// events are seen at work in the main window's minimum size and the viewer's aspect and redraw.)
TEST_F(TrackMouseTest, EventsRunBeforeThePreviousProcedure) {
    cTrackMouse hook;
    std::vector<std::pair<WPARAM, LPARAM>> closeArgs;
    hook.AppClose = [&](WPARAM w, LPARAM l) {
        closeArgs.emplace_back(w, l);
        g_log.push_back("event:appclose");
    };
    hook.SubClass(hwnd);
    SendMessageW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    EXPECT_EQ(g_log, (std::vector<std::string>{"event:appclose", "proc:queryendsession"}));
    ASSERT_EQ(closeArgs.size(), 1u);
    EXPECT_EQ(closeArgs[0], (std::pair<WPARAM, LPARAM>(0, ENDSESSION_LOGOFF)));
}

namespace {
std::vector<TRACKMOUSEEVENT> g_requests;
BOOL g_accept = TRUE;
BOOL WINAPI RecordRequest(LPTRACKMOUSEEVENT tme) {
    g_requests.push_back(*tme);
    return g_accept;
}
} // namespace

TEST_F(TrackMouseTest, HoverAndLeaveAreAskedOnceUntilCancelledOrRefused) {
    cTrackMouse hook(&RecordRequest);
    EXPECT_FALSE(hook.TrackMouseHover()); // nothing is asked for a window that is not attached
    hook.SubClass(hwnd);
    EXPECT_TRUE(hook.TrackMouseHover());
    EXPECT_TRUE(hook.TrackMouseHover(100));
    hook.CancelMouseHover();
    ASSERT_EQ(g_requests.size(), 2u);
    EXPECT_EQ(g_requests[0].dwFlags, static_cast<DWORD>(TME_HOVER));
    EXPECT_EQ(g_requests[0].hwndTrack, hwnd);
    EXPECT_EQ(g_requests[1].dwFlags, static_cast<DWORD>(TME_CANCEL | TME_HOVER));
    // A refused request leaves its flag clear and is asked again next time.
    g_accept = FALSE;
    EXPECT_FALSE(hook.TrackMouseLeave());
    g_accept = TRUE;
    EXPECT_TRUE(hook.TrackMouseLeave());
    EXPECT_TRUE(hook.LeaveEventActive());
    EXPECT_EQ(g_requests.size(), 4u);
}
