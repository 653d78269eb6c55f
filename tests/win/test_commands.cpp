// The list's events and file commands through the real window: clicks, keys, the context menu,
// column sorting, drag out, delete and rename, and the folder buttons.
#include "commands/CommandsPart.h"
#include "commands/DragSource.h"
#include "test_catalog_support.h"
#include "platform/Handles.h"
#include "viewer/frmZoom.h"

using namespace tessary;
using namespace wintest;

namespace {
class Commands : public CatalogTest {
protected:
    // A main window showing a folder of four small pictures.
    void Open(const std::vector<std::wstring>& names = {L"a.png", L"b.png", L"c.png", L"d.png"}) {
        Start();
        dir_ = std::make_unique<TempDir>(L"commands");
        Track(dir_->path());
        for (const auto& n : names)
            ASSERT_TRUE(WriteImage(*dir_ / n, 120, 90));
        ASSERT_TRUE(form().FolderTreeview1.SelectFolder(dir_->path()));
        ASSERT_TRUE(
            PumpUntil([&] { return !state.LoadBusy && List().Count() == static_cast<int>(names.size()); }));
    }
    void Select(std::initializer_list<const wchar_t*> names) {
        auto list = List();
        for (int i = 0; i < list.Count(); ++i)
            list.SetSelected(i, false);
        for (const wchar_t* n : names) {
            int i = Find(n);
            ASSERT_GE(i, 0) << Narrow(n);
            list.SetSelected(i, true);
            ListView_SetItemState(list.hwnd(), i, LVIS_FOCUSED, LVIS_FOCUSED);
        }
    }
    // The list tells its window as it does for the user's actions.
    LRESULT Notify(UINT code, int subItem = 0) {
        NMLISTVIEW nm{};
        nm.hdr.hwndFrom = form().ListViewPics;
        nm.hdr.idFrom = IDC_LISTVIEWPICS;
        nm.hdr.code = code;
        nm.iItem = -1;
        nm.iSubItem = subItem;
        return SendMessageW(form().hwnd(), WM_NOTIFY, IDC_LISTVIEWPICS, reinterpret_cast<LPARAM>(&nm));
    }
    void KeyUp(UINT key) {
        if (key == VK_RETURN || key == VK_DELETE) // these act only when pressed in the list
            PostMessageW(form().ListViewPics, WM_KEYDOWN, key, 1);
        PostMessageW(form().ListViewPics, WM_KEYUP, key, 0xC0000001);
        Pump(30);
        PumpUntil([] { return !state.LoadBusy; });
    }
    bool Exists(const std::wstring& name) {
        return GetFileAttributesW((*dir_ / name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::unique_ptr<TempDir> dir_;
};
} // namespace

TEST_F(Commands, ALeftClickPreviewsTheCurrentItem) {
    Open();
    Select({L"b.png"});
    Notify(NM_CLICK);
    EXPECT_EQ(state.CurrentImagePath, *dir_ / L"b.png");
    EXPECT_EQ(Panel(2), L"Dir: 4 images, 1 selected");
    EXPECT_TRUE(dialogs_->calls.empty());
    // Arrow keys: on release the panel and the current image follow the selection.
    Select({L"c.png", L"d.png"});
    KeyUp(VK_DOWN);
    EXPECT_EQ(Panel(2), L"Dir: 4 images, 2 selected");
    EXPECT_EQ(state.CurrentImagePath, *dir_ / L"d.png"); // the focused one of several
    // Enter released in the list after it closed a box or a menu elsewhere opens nothing.
    PostMessageW(form().ListViewPics, WM_KEYUP, VK_RETURN, 0xC0000001);
    Pump(30);
    EXPECT_FALSE(form().viewer.Zoom && form().viewer.Zoom->IsLoaded());
    KeyUp(VK_RETURN);
    EXPECT_TRUE(form().viewer.Zoom && form().viewer.Zoom->IsLoaded());
    form().UnloadZoom();
}

TEST_F(Commands, EntriesNameTheFolderTheListShowsUntilTheTreesFolderIsLoaded) {
    Open();
    TempDir other(L"commands-other");
    ASSERT_TRUE(WriteImage(other / L"a.png", 120, 90));
    state.LoadBusy = true; // a load runs: the tree moves on, the list stays
    ASSERT_TRUE(form().FolderTreeview1.SelectFolder(other.path()));
    state.LoadBusy = false;
    Select({L"a.png"});
    Notify(NM_CLICK);
    EXPECT_EQ(state.CurrentImagePath, *dir_ / L"a.png");
    // The next load that ends brings the list to the tree's folder.
    form().LoadFolder(dir_->path(), true);
    EXPECT_EQ(state.LastLoadedFolder, other.path());
    EXPECT_EQ(List().Count(), 1);
}

TEST_F(Commands, TheRightButtonOpensTheMenuAndItsItemsRunTheirCommands) {
    Open();
    Select({L"a.png"});
    Notify(NM_RCLICK);
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].menuItems,
              (std::vector<std::wstring>{L"&Preview", L"&View Image", L"-", L"&Set as wallpaper",
                                         L"R&esize to fit screen and set as wallpaper",
                                         L"Res&ize proportionally and set as wallpaper", L"-",
                                         L"&Convert Image", L"&Rename Image", L"&Delete Image(s)"}));
    EXPECT_EQ(state.CurrentImagePath, *dir_ / L"a.png");

    // "&View Image" opens the viewer on the current image.
    dialogs_->menuChoices.push_back(FileMenuId(mViewImage));
    Notify(NM_RCLICK);
    ASSERT_TRUE(form().viewer.Zoom && form().viewer.Zoom->IsLoaded());
    EXPECT_NE(WindowText(form().viewer.Zoom->hwnd()).find(L"a.png"), std::wstring::npos);
    form().UnloadZoom();

    // "&Delete Image(s)" asks about the selection; "&Rename Image" asks for the new name.
    dialogs_->calls.clear();
    dialogs_->menuChoices.push_back(FileMenuId(mDeleteImage));
    dialogs_->answers.push_back(IDNO);
    Notify(NM_RCLICK);
    ASSERT_EQ(dialogs_->calls.size(), 2u);
    EXPECT_EQ(dialogs_->calls[1].text,
              L"Are you sure you want to move the selected file to the Recycle Bin?");
    EXPECT_TRUE(Exists(L"a.png"));
    dialogs_->menuChoices.push_back(FileMenuId(mRenameImage));
    Notify(NM_RCLICK);
    ASSERT_EQ(dialogs_->calls.size(), 4u);
    EXPECT_TRUE(dialogs_->calls[3].input);
    EXPECT_EQ(dialogs_->calls[3].text, L"Enter the new name for 'a.png'.");
    EXPECT_EQ(dialogs_->calls[3].title, L"Rename File");
    EXPECT_EQ(dialogs_->calls[3].initial, L"a.png");
}

TEST_F(Commands, AnEmptyListOnlyRefreshesTheStatus) {
    Open({});
    state.CurrentImagePath = L"C:\\before.jpg";
    Notify(NM_RCLICK);
    Notify(NM_CLICK);
    KeyUp(VK_DOWN);
    EXPECT_TRUE(dialogs_->calls.empty());
    EXPECT_EQ(state.CurrentImagePath, L"C:\\before.jpg");
    EXPECT_EQ(Panel(2), L"Dir: 0 images, 0 selected");
    KeyUp(VK_DELETE); // nothing selected: no question
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(Commands, HeaderClicksSortAscendingThenDescending) {
    Open();
    Notify(LVN_COLUMNCLICK, 1); // "Size"
    EXPECT_EQ(state.SortBy, 2);
    EXPECT_EQ(GetText(form().cboSort), L"Sort by Size Ascending");
    Notify(LVN_COLUMNCLICK, 1);
    EXPECT_EQ(state.SortBy, 3);
    EXPECT_EQ(GetText(form().cboSort), L"Sort by Size Descending");
    Notify(LVN_COLUMNCLICK, 1);
    EXPECT_EQ(state.SortBy, 2);
    Notify(LVN_COLUMNCLICK, 0); // "Filename"
    EXPECT_EQ(state.SortBy, 0);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"a.png", L"b.png", L"c.png", L"d.png"}));
    Notify(LVN_COLUMNCLICK, 0);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"d.png", L"c.png", L"b.png", L"a.png"}));
}

TEST_F(Commands, DeleteRemovesExactlyTheSelectedFilesAfterYes) {
    Open();
    Select({L"a.png", L"c.png"});
    dialogs_->answers.push_back(IDNO);
    KeyUp(VK_DELETE);
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].text,
              L"Are you sure you want to move the 2 selected files to the Recycle Bin?");
    EXPECT_EQ(dialogs_->calls[0].title, L"Confirm File Deletion");
    EXPECT_EQ(dialogs_->calls[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1));
    EXPECT_EQ(List().Count(), 4);
    EXPECT_TRUE(Exists(L"a.png") && Exists(L"c.png"));

    dialogs_->answers.push_back(IDYES);
    KeyUp(VK_DELETE);
    EXPECT_FALSE(Exists(L"a.png"));
    EXPECT_FALSE(Exists(L"c.png"));
    EXPECT_TRUE(Exists(L"b.png") && Exists(L"d.png"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"b.png", L"d.png"})); // reloaded
}

TEST_F(Commands, ShiftDeleteIsPermanentAndAFileThatCannotGoIsNamed) {
    Open();
    Select({L"a.png", L"b.png"});
    std::wstring locked = *dir_ / L"a.png";
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    dialogs_->answers.push_back(IDYES);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    KeyUp(VK_DELETE);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    ASSERT_EQ(dialogs_->calls.size(), 2u);
    EXPECT_EQ(dialogs_->calls[0].text,
              L"Are you sure you want to permanently delete the 2 selected files? This cannot be undone.");
    EXPECT_NE(dialogs_->calls[1].text.find(locked), std::wstring::npos) << Narrow(dialogs_->calls[1].text);
    EXPECT_TRUE(Exists(L"a.png"));
    EXPECT_FALSE(Exists(L"b.png"));
    EXPECT_EQ(List().Count(), 3);
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Commands, RenameTakesTheWholeNewNameAndNeverOverwrites) {
    Open();
    state.CurrentImagePath = *dir_ / L"b.png";
    dialogs_->inputs.push_back(L"beach.jpg");
    form().RenameCurrentImage();
    EXPECT_TRUE(Exists(L"beach.jpg"));
    EXPECT_FALSE(Exists(L"b.png"));
    EXPECT_GE(Find(L"beach.jpg"), 0); // listed after the reload

    state.CurrentImagePath = *dir_ / L"c.png";
    dialogs_->inputs.push_back(L"beach");
    form().RenameCurrentImage();
    EXPECT_TRUE(Exists(L"beach"));
    EXPECT_FALSE(Exists(L"c.png"));

    // A taken name, a path, a wildcard, "..": refused with a message, nothing changes.
    dialogs_->calls.clear();
    state.CurrentImagePath = *dir_ / L"d.png";
    for (const wchar_t* bad : {L"a.png", L"..\\d.png", L"x*.png", L".."}) {
        dialogs_->inputs.push_back(bad);
        form().RenameCurrentImage();
    }
    ASSERT_EQ(dialogs_->calls.size(), 8u); // four questions, four refusals
    for (size_t i = 1; i < 8; i += 2)
        EXPECT_FALSE(dialogs_->calls[i].input) << i;
    EXPECT_TRUE(Exists(L"a.png") && Exists(L"d.png"));

    // Cancelled or empty: nothing happens.
    dialogs_->inputs.push_back(std::nullopt);
    form().RenameCurrentImage();
    dialogs_->inputs.push_back(L"");
    form().RenameCurrentImage();
    EXPECT_TRUE(Exists(L"d.png"));
}

TEST_F(Commands, TheRealRenameAndMessageBoxesAnswerTheKeyboard) {
    Open();
    state.CurrentImagePath = *dir_ / L"b.png";
    {
        // A device name is refused in a message box; the next name is taken.
        KeyboardAnswers keys({L"nul.png", L"", L"sea.png"});
        form().RenameCurrentImage();
        form().RenameCurrentImage();
        ASSERT_EQ(keys.answered().size(), 3u);
        EXPECT_EQ(keys.answered()[0].title, L"Rename File");
        EXPECT_EQ(keys.answered()[1].title, L"Tessary");
        EXPECT_NE(keys.answered()[1].text.find(L"nul.png"), std::wstring::npos);
    }
    EXPECT_TRUE(Exists(L"sea.png"));
    EXPECT_FALSE(Exists(L"b.png"));
}

TEST_F(Commands, DraggingOffersTheSelectedPathsInListOrder) {
    Open();
    std::vector<std::wstring> offered;
    DWORD allowed = 0;
    form().commands.StartDrag = [&](IDataObject* data, DWORD effect) {
        offered = FilesInDataObject(data);
        allowed = effect;
        return DROPEFFECT_COPY;
    };
    Select({L"d.png", L"b.png"});
    Notify(LVN_BEGINDRAG);
    EXPECT_EQ(offered, (std::vector<std::wstring>{*dir_ / L"b.png", *dir_ / L"d.png"}));
    EXPECT_EQ(allowed, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_FALSE(state.DragIsMove);

    // With Shift a move is offered, and the folder is read again afterwards whatever happened.
    form().commands.StartDrag = [&](IDataObject* data, DWORD effect) {
        offered = FilesInDataObject(data);
        allowed = effect;
        MoveFileW((*dir_ / L"b.png").c_str(), (*dir_ / L"moved.txt").c_str());
        return DROPEFFECT_MOVE;
    };
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_SHIFT;
    SendInput(1, &in, sizeof(in));
    Pump(30);
    Notify(LVN_BEGINDRAG);
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof(in));
    Pump(30);
    EXPECT_EQ(allowed, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_FALSE(state.DragIsMove);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"a.png", L"c.png", L"d.png"}));
}

TEST_F(Commands, F5ReloadsTheFolder) {
    Open();
    ASSERT_TRUE(WriteImage(*dir_ / L"e.png", 50, 50));
    PostMessageW(form().ListViewPics, WM_KEYDOWN, VK_F5, 0);
    Pump(30);
    PumpUntil([&] { return List().Count() == 5; });
    EXPECT_EQ(List().Count(), 5);
}

TEST_F(Commands, FolderButtons) {
    Open();
    // "&My Pictures": missing or empty value does nothing; a folder selects it in the tree.
    const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    UniqueRegKey shellFolders(raw);
    wchar_t saved[MAX_PATH] = {};
    DWORD savedBytes = sizeof(saved);
    bool hadValue = RegQueryValueExW(raw, L"My Pictures", nullptr, nullptr, reinterpret_cast<BYTE*>(saved),
                                     &savedBytes) == ERROR_SUCCESS;
    RegDeleteValueW(raw, L"My Pictures");
    SendMessageW(form().cmdDirBrowser[0], BM_CLICK, 0, 0);
    EXPECT_EQ(form().FolderTreeview1.CurrentFolder(), dir_->path());
    RegSetValueExW(raw, L"My Pictures", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    SendMessageW(form().cmdDirBrowser[0], BM_CLICK, 0, 0);
    EXPECT_EQ(form().FolderTreeview1.CurrentFolder(), dir_->path());
    TempDir pictures(L"pictures");
    ASSERT_TRUE(WriteImage(pictures / L"x.png", 60, 40));
    RegSetValueExW(raw, L"My Pictures", 0, REG_SZ, reinterpret_cast<const BYTE*>(pictures.path().c_str()),
                   static_cast<DWORD>((pictures.path().size() + 1) * sizeof(wchar_t)));
    SendMessageW(form().cmdDirBrowser[0], BM_CLICK, 0, 0);
    PumpUntil([] { return !state.LoadBusy; });
    EXPECT_EQ(form().FolderTreeview1.CurrentFolder(), pictures.path());
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"x.png"}));
    if (hadValue)
        RegSetValueExW(raw, L"My Pictures", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved), savedBytes);
    else
        RegDeleteValueW(raw, L"My Pictures");
    EXPECT_TRUE(dialogs_->calls.empty());

    // "D&elete Cache": asks first; Cancel keeps the cache.
    ASSERT_TRUE(form().FolderTreeview1.SelectFolder(dir_->path()));
    PumpUntil([] { return !state.LoadBusy; });
    ASSERT_TRUE(WriteImage(*dir_ / L"large.jpg", 800, 600));
    SendMessageW(form().cmdDirBrowser[2], BM_CLICK, 0, 0); // "&Recache": the large image is cached
    PumpUntil([] { return !state.LoadBusy; });
    EXPECT_NE(Panel(1).find(L"with 0 cache hits.  1 files added to cache."), std::wstring::npos)
        << Narrow(Panel(1));
    const std::wstring cached = CacheDir(dir_->path()) + L"\\large.jpg";
    ASSERT_NE(GetFileAttributesW(cached.c_str()), INVALID_FILE_ATTRIBUTES);
    dialogs_->answers.push_back(IDCANCEL);
    SendMessageW(form().cmdDirBrowser[1], BM_CLICK, 0, 0);
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].text,
              L"Press OK to delete all cached images in '" + LastPathComponent(dir_->path()) + L"'");
    EXPECT_EQ(dialogs_->calls[0].title, L"Verify Image Cache Deletion");
    EXPECT_EQ(dialogs_->calls[0].style, 65u);
    EXPECT_NE(GetFileAttributesW(cached.c_str()), INVALID_FILE_ATTRIBUTES);
    dialogs_->answers.push_back(IDOK);
    SendMessageW(form().cmdDirBrowser[1], BM_CLICK, 0, 0);
    EXPECT_EQ(GetFileAttributesW(CacheDir(dir_->path()).c_str()), INVALID_FILE_ATTRIBUTES);
    // Again, with no cache left: asks, deletes nothing, no error.
    dialogs_->answers.push_back(IDOK);
    SendMessageW(form().cmdDirBrowser[1], BM_CLICK, 0, 0);
    EXPECT_EQ(dialogs_->calls.size(), 3u);
}
