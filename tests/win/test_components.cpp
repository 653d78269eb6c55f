// The building blocks on their own: the folder tree in a plain host window, the subclassing
// helper, and the registry module against the real registry of the test prefix (a scratch key).
#include "catalog/FolderTree.h"
#include "platform/Handles.h"
#include "platform/Registry.h"
#include "support/WinTest.h"
#include "viewer/cTrackMouse.h"
#include <optional>
#include <string>
#include <vector>

using namespace tessary;
using wintest::UserRegistryText;

// ---- The folder tree ----

namespace {

const std::wstring kUnicodeName = L"\u00DCn\u00EFc\u00F8d\u00E9 \u6771\u4EAC"; // "Ünïcødé 東京"

// A top-level window that passes the tree's notifications to it, as the main window does.
LRESULT CALLBACK TreeHostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* tree = reinterpret_cast<FolderTree*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (msg == WM_NOTIFY && tree && tree->HandleNotify(reinterpret_cast<const NMHDR*>(lp), result))
        return result;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

std::wstring Upper(std::wstring s) {
    CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

class FolderTreeTest : public testing::Test {
protected:
    void SetUp() override {
        host = wintest::CreateHostWindow(L"FolderTreeTestHost", TreeHostProc, 0, 0, 400, 500);
        SetWindowLongPtrW(host, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&tree));
        ASSERT_TRUE(tree.Create(host, 8, 16, 337, 400, 101));
        tree.SetSelectionChanged([this] { events.push_back(tree.CurrentFolder()); });
        wchar_t buffer[MAX_PATH * 2] = {};
        base = std::wstring(buffer, GetLongPathNameW(dir.path().c_str(), buffer, MAX_PATH * 2));
        for (const wchar_t* name : {L"beta", L"Alpha", L"delta", L"Charlie", L"Alpha\\Inner",
                                    L"Alpha\\Inner\\Deep", kUnicodeName.c_str()})
            ASSERT_TRUE(CreateDirectoryW((dir / name).c_str(), nullptr));
        ASSERT_TRUE(wintest::WriteTextFile(dir / L"afile.txt", "not a folder"));
    }
    void TearDown() override { DestroyWindow(host); }

    std::vector<std::wstring> ChildNames(HTREEITEM item) const {
        std::vector<std::wstring> names;
        for (HTREEITEM it = TreeView_GetChild(tree.hwnd(), item); it;
             it = TreeView_GetNextSibling(tree.hwnd(), it)) {
            wchar_t buffer[MAX_PATH] = {};
            TVITEMW tv{};
            tv.mask = TVIF_TEXT;
            tv.hItem = it;
            tv.pszText = buffer;
            tv.cchTextMax = MAX_PATH;
            TreeView_GetItem(tree.hwnd(), &tv);
            names.push_back(buffer);
        }
        return names;
    }
    HTREEITEM Selected() const { return TreeView_GetSelection(tree.hwnd()); }

    wintest::TempDir dir{L"foldertree"};
    std::wstring base; // the temp folder's long path
    HWND host = nullptr;
    FolderTree tree;
    std::vector<std::wstring> events; // CurrentFolder as seen by each selection event
};

} // namespace

TEST_F(FolderTreeTest, SelectsFoldersInAnyCaseAndRaisesOnce) {
    ASSERT_TRUE(tree.SelectFolder(Upper(base) + L"\\ALPHA\\inner\\"));
    const std::wstring inner = base + L"\\Alpha\\Inner";
    EXPECT_EQ(events, std::vector<std::wstring>{inner}); // the handler already sees the new folder
    // Ancestors are open so the selection shows.
    EXPECT_TRUE(
        TreeView_GetItemState(tree.hwnd(), TreeView_GetParent(tree.hwnd(), Selected()), TVIS_EXPANDED));
    // Asking again for the folder that is selected answers again, once.
    ASSERT_TRUE(tree.SelectFolder(base + L"/Alpha/./Inner/Deep/.."));
    EXPECT_EQ(events.size(), 2u);
    ASSERT_TRUE(tree.SelectFolder(base + L"\\" + kUnicodeName));
    EXPECT_EQ(tree.CurrentFolder(), base + L"\\" + kUnicodeName);
    // A drive root keeps its backslash: "c:" selects "C:\".
    std::wstring drive = base.substr(0, 2);
    CharLowerBuffW(drive.data(), 2);
    ASSERT_TRUE(tree.SelectFolder(drive));
    EXPECT_EQ(tree.CurrentFolder(), Upper(base.substr(0, 3)));
    // Paths that are not folders change nothing.
    for (const std::wstring& bad : {base + L"\\Alpha\\Missing\\Deep", base + L"\\afile.txt", std::wstring(),
                                    std::wstring(L"beta"), base + L"\\*"})
        EXPECT_FALSE(tree.SelectFolder(bad)) << wintest::Narrow(bad);
    EXPECT_EQ(events.size(), 4u);
}

TEST_F(FolderTreeTest, ChildrenAreSortedIgnoringCaseAndFoundWhenNew) {
    ASSERT_TRUE(tree.SelectFolder(base));
    HTREEITEM item = Selected();
    TreeView_Expand(tree.hwnd(), item, TVE_EXPAND);
    std::vector<std::wstring> expected{L"Alpha", L"beta", L"Charlie", L"delta", kUnicodeName};
    EXPECT_EQ(ChildNames(item), expected);
    // Only folders with subfolders offer to open.
    TVITEMW alpha{};
    alpha.mask = TVIF_CHILDREN;
    alpha.hItem = TreeView_GetChild(tree.hwnd(), item);
    TreeView_GetItem(tree.hwnd(), &alpha);
    EXPECT_EQ(alpha.cChildren, 1);
    // A folder made after the listing is found and sorted in.
    ASSERT_TRUE(CreateDirectoryW((dir / L"Bravo").c_str(), nullptr));
    ASSERT_TRUE(tree.SelectFolder(base + L"\\bravo"));
    EXPECT_EQ(tree.CurrentFolder(), base + L"\\Bravo");
    expected.insert(expected.begin() + 2, L"Bravo");
    EXPECT_EQ(ChildNames(item), expected);
}

TEST_F(FolderTreeTest, UserSelectionRaisesTheEvent) {
    ASSERT_TRUE(tree.SelectFolder(base + L"\\Alpha"));
    TreeView_SelectItem(tree.hwnd(), TreeView_GetNextSibling(tree.hwnd(), Selected()));
    SendMessageW(tree.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    const std::vector<std::wstring> expected{base + L"\\Alpha", base + L"\\beta", base + L"\\Charlie"};
    EXPECT_EQ(events, expected);
}

// ---- The subclassing helper ----

namespace {

// What the window's own procedure saw, in order; shared with the event handlers.
std::vector<std::string> g_log;

LRESULT CALLBACK LoggingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
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
        hwnd = wintest::CreateHostWindow(L"TrackMouseTestHost", LoggingProc, 10, 10, 800, 600);
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
        EXPECT_EQ(first.PreviousProcedure(), &LoggingProc);
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
    EXPECT_EQ(CurrentProc(hwnd), &LoggingProc);
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

// ---- The registry module ----

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY raw = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw,
                        nullptr);
        key_.reset(raw);
    }
    void TearDown() override {
        key_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, subkey_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, subkey_.c_str());
    }
    void Put(const std::wstring& name, const std::wstring& text, bool terminated = true) {
        RegSetValueExW(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t)));
    }
    const std::wstring subkey_ = L"Software\\TessaryRegistryTest" + std::to_wstring(GetCurrentProcessId());
    const std::wstring path_ = L"HKEY_CURRENT_USER\\" + subkey_;
    UniqueRegKey key_;
};

} // namespace

TEST_F(Registry, ReadsStoredValuesOfAnyLengthOrGivesTheMarker) {
    // The text is cleaned natively; here the real read must pass padding and a missing terminator on.
    Put(L"Padded", L"  C:\\a b.bmp");
    EXPECT_EQ(ReadRegString(path_, L"Padded"), L"C:\\a b.bmp");
    Put(L"Bare", L"abc", false);
    EXPECT_EQ(ReadRegString(path_, L"Bare"), L"abc");
    for (std::size_t length : {259u, 40000u}) {
        const std::wstring text = L"C:\\" + std::wstring(length - 7, L'x') + L".bmp";
        Put(L"Long", text);
        EXPECT_EQ(ReadRegString(path_, L"Long"), text) << length;
    }
    EXPECT_EQ(ReadRegString(path_, L"NoSuchValue"), L"N/A");
    EXPECT_EQ(ReadRegString(path_ + L"\\NoSuchKey", L"Bare"), L"N/A");
    EXPECT_EQ(ReadRegString(L"hkey_current_user\\" + subkey_, L"Bare"), L"N/A"); // not a root
}

TEST_F(Registry, EmptyValueNameFallsBackToTheLastComponent) {
    Put(L"Wallpaper", L"C:\\w.bmp");
    std::wstring name;
    EXPECT_EQ(ReadRegString(path_ + L"\\Wallpaper", name), L"C:\\w.bmp");
    EXPECT_EQ(name, L"Wallpaper");
    name = L"Other"; // a named read does not fall back
    EXPECT_EQ(ReadRegString(path_ + L"\\Wallpaper", name), L"N/A");
}

TEST_F(Registry, WritesOnlyIntoKeysThatExist) {
    const std::wstring longText(600, L'y'); // longer than any fixed buffer
    WriteRegString(path_, L"TileWallpaper", longText);
    EXPECT_EQ(UserRegistryText(subkey_, L"TileWallpaper"), longText);
    WriteRegString(L"hkey_current_user\\" + subkey_, L"A", L"1");
    WriteRegString(path_ + L"\\", L"B", L"1");
    WriteRegString(path_ + L"\\New", L"C", L"x");
    EXPECT_FALSE(UserRegistryText(subkey_, L"A") || UserRegistryText(subkey_, L"B"));
    HKEY created = nullptr;
    EXPECT_NE(RegOpenKeyExW(key_.get(), L"New", 0, KEY_READ, &created), ERROR_SUCCESS);
    UniqueRegKey owner(created);
}
