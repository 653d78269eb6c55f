#include "catalog/FolderTree.h"
#include "support/WinTest.h"
#include <string>
#include <vector>

using tessary::FolderTree;

namespace {

const std::wstring kUnicodeName = L"\u00DCn\u00EFc\u00F8d\u00E9 \u6771\u4EAC"; // "Ünïcødé 東京"

// A top-level window that passes the tree's notifications to it, as the main window does.
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
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
        host = wintest::CreateHostWindow(L"FolderTreeTestHost", HostProc, 0, 0, 400, 500);
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
