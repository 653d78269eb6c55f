#include "support/WinTest.h"
#include "catalog/FolderTree.h"
#include <algorithm>
#include <string>
#include <vector>

using tessary::FolderTree;

namespace {

const std::wstring kUnicodeName = L"\u00DCn\u00EFc\u00F8d\u00E9 \u6771\u4EAC"; // "Ünïcødé 東京"

// A top-level window that passes the tree's notifications to it, as the main window does.
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY) {
        auto* tree = reinterpret_cast<FolderTree*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        LRESULT result = 0;
        if (tree && tree->HandleNotify(reinterpret_cast<const NMHDR*>(lp), result))
            return result;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

std::wstring LongPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 2] = {};
    DWORD n = GetLongPathNameW(path.c_str(), buffer, static_cast<DWORD>(std::size(buffer)));
    return n ? std::wstring(buffer, n) : path;
}

std::wstring Upper(std::wstring s) {
    CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

class FolderTreeTest : public testing::Test {
protected:
    void SetUp() override {
        host = wintest::CreateHostWindow(L"FolderTreeTestHost", HostProc, 0, 0, 400, 500);
        ASSERT_NE(host, nullptr);
        SetWindowLongPtrW(host, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&tree));
        ASSERT_TRUE(tree.Create(host, 8, 16, 337, 400, 101));
        tree.SetSelectionChanged([this] { events.push_back(tree.CurrentFolder()); });

        base = LongPath(dir.path());
        for (const wchar_t* name :
             {L"beta", L"Alpha", L"delta", L"Charlie", L"Alpha\\Inner", L"Alpha\\Inner\\Deep"})
            ASSERT_TRUE(CreateDirectoryW((dir / name).c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((dir / kUnicodeName).c_str(), nullptr));
        ASSERT_TRUE(wintest::WriteTextFile(dir / L"afile.txt", "not a folder"));
    }
    void TearDown() override {
        if (host)
            DestroyWindow(host);
    }

    std::vector<std::wstring> ChildNames(HTREEITEM item) const {
        std::vector<std::wstring> names;
        auto next = [&](HTREEITEM it, UINT rel) {
            return reinterpret_cast<HTREEITEM>(
                SendMessageW(tree.hwnd(), TVM_GETNEXTITEM, rel, reinterpret_cast<LPARAM>(it)));
        };
        for (HTREEITEM it = next(item, item ? TVGN_CHILD : TVGN_ROOT); it; it = next(it, TVGN_NEXT))
            names.push_back(Text(it));
        return names;
    }
    std::wstring Text(HTREEITEM item) const {
        wchar_t buffer[MAX_PATH] = {};
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = buffer;
        tv.cchTextMax = MAX_PATH;
        SendMessageW(tree.hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        return tv.pszText;
    }
    HTREEITEM Selected() const { return TreeView_GetSelection(tree.hwnd()); }
    HTREEITEM Child(HTREEITEM parent, const std::wstring& name) const {
        for (HTREEITEM it = TreeView_GetChild(tree.hwnd(), parent); it;
             it = TreeView_GetNextSibling(tree.hwnd(), it))
            if (Text(it) == name)
                return it;
        return nullptr;
    }
    int Children(HTREEITEM item) const {
        TVITEMW tv{};
        tv.mask = TVIF_CHILDREN;
        tv.hItem = item;
        SendMessageW(tree.hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        return tv.cChildren;
    }
    void Key(UINT vk) {
        SendMessageW(tree.hwnd(), WM_KEYDOWN, vk, 0);
        SendMessageW(tree.hwnd(), WM_KEYUP, vk, 0xC0000001);
    }

    wintest::TempDir dir{L"foldertree"};
    std::wstring base; // the temp folder's long path
    HWND host = nullptr;
    FolderTree tree;
    std::vector<std::wstring> events; // CurrentFolder as seen by each selection event
};

} // namespace

TEST_F(FolderTreeTest, SelectsFoldersInAnyCaseAndRaisesOnce) {
    EXPECT_EQ(tree.CurrentFolder(), L"");
    ASSERT_TRUE(tree.SelectFolder(Upper(base) + L"\\ALPHA\\inner\\"));
    const std::wstring inner = base + L"\\Alpha\\Inner";
    EXPECT_EQ(tree.CurrentFolder(), inner);
    EXPECT_EQ(events, std::vector<std::wstring>{inner}); // the handler already sees the new folder
    // Ancestors are open so the selection shows.
    HTREEITEM parent = TreeView_GetParent(tree.hwnd(), Selected());
    EXPECT_TRUE(TreeView_GetItemState(tree.hwnd(), parent, TVIS_EXPANDED) & TVIS_EXPANDED);
    // Asking again for the folder that is selected answers again, once.
    ASSERT_TRUE(tree.SelectFolder(base + L"/Alpha/./Inner/Deep/.."));
    EXPECT_EQ(events.size(), 2u);

    ASSERT_TRUE(tree.SelectFolder(base + L"\\" + kUnicodeName));
    EXPECT_EQ(tree.CurrentFolder(), base + L"\\" + kUnicodeName);
    // A drive root keeps its backslash: "c:" selects "C:\".
    const std::wstring root = Upper(base.substr(0, 3));
    std::wstring lower = root.substr(0, 2);
    CharLowerBuffW(lower.data(), 2);
    ASSERT_TRUE(tree.SelectFolder(lower));
    EXPECT_EQ(tree.CurrentFolder(), root);
    EXPECT_EQ(events.size(), 4u);
    EXPECT_EQ(events.back(), root);
}

TEST_F(FolderTreeTest, ChildrenAreSortedIgnoringCase) {
    const std::wstring secret = dir / L"Secret";
    ASSERT_TRUE(CreateDirectoryW(secret.c_str(), nullptr));
    SetFileAttributesW(secret.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const DWORD hs = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const bool hidden = (GetFileAttributesW(secret.c_str()) & hs) == hs;
    ASSERT_TRUE(tree.SelectFolder(base));
    HTREEITEM item = Selected();
    TreeView_Expand(tree.hwnd(), item, TVE_EXPAND);
    std::vector<std::wstring> expected{L"Alpha", L"beta", L"Charlie", L"delta", kUnicodeName};
    if (!hidden) // a file system without hidden and system attributes lists it
        expected.insert(expected.begin() + 4, L"Secret");
    EXPECT_EQ(ChildNames(item), expected);
    // Only folders with subfolders offer to open.
    EXPECT_EQ(Children(Child(item, L"Alpha")), 1);
    EXPECT_EQ(Children(Child(item, L"beta")), 0);

    // A folder made after the listing is found and sorted in.
    ASSERT_TRUE(CreateDirectoryW((dir / L"Bravo").c_str(), nullptr));
    ASSERT_TRUE(tree.SelectFolder(base + L"\\bravo"));
    EXPECT_EQ(tree.CurrentFolder(), base + L"\\Bravo");
    expected.insert(expected.begin() + 2, L"Bravo");
    EXPECT_EQ(ChildNames(item), expected);
    ASSERT_TRUE(tree.SelectFolder(secret)); // hidden or not, it can be selected
    EXPECT_EQ(tree.CurrentFolder(), base + L"\\Secret");
    SetFileAttributesW(secret.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FolderTreeTest, PathsThatAreNotFoldersChangeNothing) {
    ASSERT_TRUE(tree.SelectFolder(base + L"\\beta"));
    for (const std::wstring& bad :
         {base + L"\\Missing", base + L"\\Alpha\\Missing\\Deep", base + L"\\afile.txt", std::wstring(),
          std::wstring(L"beta"), base + L"\\*"})
        EXPECT_FALSE(tree.SelectFolder(bad)) << wintest::Narrow(bad);
    EXPECT_EQ(tree.CurrentFolder(), base + L"\\beta");
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(FolderTreeTest, UserSelectionRaisesTheEvent) {
    ASSERT_TRUE(tree.SelectFolder(base + L"\\Alpha"));
    HTREEITEM next = TreeView_GetNextSibling(tree.hwnd(), Selected());
    ASSERT_NE(next, nullptr);
    TreeView_SelectItem(tree.hwnd(), next);
    EXPECT_EQ(tree.CurrentFolder(), base + L"\\beta");
    Key(VK_DOWN);
    const std::vector<std::wstring> expected{base + L"\\Alpha", base + L"\\beta", base + L"\\Charlie"};
    EXPECT_EQ(events, expected);
}
