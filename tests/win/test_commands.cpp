// The list's events and file commands through the real window: clicks, keys, the context menu and
// the viewer's menu, column sorting, drag out, delete and rename, and the folder buttons.
#include "commands/DragSource.h"
#include "platform/Controls.h"
#include "support/MainWindow.h"

using namespace tessary;
using namespace wintest;

namespace {
class Commands : public WallpaperWindowTest {
protected:
    // A main window on a 1024 x 768 screen, previews stretched and without overlays, showing a
    // folder of 160 x 90 pictures: a red, b green, c blue, d yellow.
    void Open(const std::vector<std::wstring>& names = {L"a.bmp", L"b.bmp", L"c.bmp", L"d.bmp"}) {
        StartOn1024();
        const std::uint32_t colours[] = {kRed, kGreen, kBlue, kYellow};
        for (std::size_t i = 0; i < names.size(); ++i)
            ASSERT_TRUE(WriteFlat(dir_ / names[i], 160, 90, colours[i % 4]));
        OpenFolder(dir_.path());
        ASSERT_EQ(Names(), names);
        Click(IDC_OPTMODE_0 + 1);
    }
    // The list tells its window as it does for the user's actions.
    void Notify(UINT code, int subItem = 0) {
        NMLISTVIEW nm{};
        nm.hdr.hwndFrom = List().hwnd();
        nm.hdr.idFrom = IDC_LISTVIEWPICS;
        nm.hdr.code = code;
        nm.iItem = -1;
        nm.iSubItem = subItem;
        SendMessageW(form().hwnd(), WM_NOTIFY, IDC_LISTVIEWPICS, reinterpret_cast<LPARAM>(&nm));
        Pump(20);
    }
    // Right-clicks the entry (or presses the menu key on it) and picks the item with this caption.
    void Menu(const std::wstring& entry, const std::wstring& caption, bool menuKey = false) {
        Select({entry});
        dialogs_->menuPicks.push_back(caption);
        if (!menuKey)
            return Notify(NM_RCLICK);
        SendMessageW(List().hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List().hwnd()), -1);
        Pump(20);
    }
    // A key pressed and released in the list (Enter, Delete and F2 act only when pressed there).
    void KeyUp(UINT key, bool pressedHere = true) {
        if (pressedHere && (key == VK_RETURN || key == VK_DELETE || key == VK_F2))
            PostMessageW(List().hwnd(), WM_KEYDOWN, key, 1);
        PostMessageW(List().hwnd(), WM_KEYUP, key, 0xC0000001);
        Pump(30);
    }
    bool Exists(const std::wstring& name) { return FileExists(dir_ / name); }
    bool ViewerShows(const std::wstring& name) {
        return Viewer() && WindowText(Viewer()).ends_with(L" - " + dir_ / name);
    }
    void CloseViewer() {
        SendMessageW(Viewer(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
        ASSERT_FALSE(Viewer());
    }
};
} // namespace

TEST_F(Commands, ClicksAndArrowKeysPreviewThatPictureAndHeaderClicksSort) {
    Open();
    ClickItem(L"b.bmp");
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kGreen));
    EXPECT_EQ(Panel(2), L"Dir: 4 images, 1 selected");
    ClickItem(L"c.bmp");
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kBlue));
    // Arrow keys: on release the panel and the preview follow the focused entry of the selection.
    Select({L"a.bmp", L"d.bmp"});
    KeyUp(VK_DOWN);
    EXPECT_EQ(Panel(2), L"Dir: 4 images, 2 selected");
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kYellow));
    EXPECT_TRUE(dialogs_->calls.empty());
    // Header clicks sort ascending, then descending on the same column.
    Notify(LVN_COLUMNCLICK, 1); // "Size"
    EXPECT_EQ(ComboSelected(Control(IDC_CBOSORT)), 2);
    Notify(LVN_COLUMNCLICK, 0); // "Filename"
    EXPECT_EQ(ComboSelected(Control(IDC_CBOSORT)), 0);
    Notify(LVN_COLUMNCLICK, 0);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"d.bmp", L"c.bmp", L"b.bmp", L"a.bmp"}));
}

TEST_F(Commands, DoubleClickAndEnterOpenTheViewerOnThatPicture) {
    Open();
    ClickItem(L"c.bmp", true);
    ASSERT_TRUE(ViewerShows(L"c.bmp")) << Narrow(WindowText(Viewer()));
    CloseViewer();
    ClickItem(L"b.bmp");
    KeyUp(VK_RETURN, false); // released here after it closed a box or a menu elsewhere
    EXPECT_FALSE(Viewer());
    KeyUp(VK_RETURN);
    EXPECT_TRUE(ViewerShows(L"b.bmp")) << Narrow(WindowText(Viewer()));
}

TEST_F(Commands, EntriesNameTheFolderTheListShowsUntilTheTreesFolderIsLoaded) {
    Open();
    TempDir other(L"commands-other");
    ASSERT_TRUE(WriteImage(other / L"a.bmp", 120, 90));
    State().load.LoadBusy = true; // a load runs: the tree moves on, the list stays
    ASSERT_TRUE(Probe::Tree(form()).SelectFolder(other.path()));
    State().load.LoadBusy = false;
    ClickItem(L"a.bmp");
    EXPECT_EQ(State().CurrentImagePath, dir_ / L"a.bmp");
    // The next load that ends brings the list to the tree's folder.
    form().LoadFolder(dir_.path(), true);
    EXPECT_EQ(State().load.LastLoadedFolder, other.path());
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"a.bmp"});
}

TEST_F(Commands, EachMenuItemRunsTheCommandItNames) {
    Open();
    Menu(L"b.bmp", L"&Preview", true);
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kGreen));

    Menu(L"c.bmp", L"&View Image");
    ASSERT_TRUE(ViewerShows(L"c.bmp"));
    CloseViewer();

    // A bitmap is set as it is, in the layout chosen (stretched).
    Menu(L"d.bmp", L"&Set as wallpaper");
    EXPECT_EQ(DesktopValue(L"Wallpaper"), dir_ / L"d.bmp");
    EXPECT_EQ(DesktopValue(L"WallpaperStyle"), L"2");
    // Resampled to the screen's size, or to its height (what else they do, the buttons' test sees).
    Menu(L"a.bmp", L"R&esize to fit screen and set as wallpaper");
    EXPECT_EQ(DesktopValue(L"Wallpaper"), ConvertedBitmapPath());
    EXPECT_EQ(ReadPicture(ConvertedBitmapPath()).size(), std::make_pair(1024, 768));
    Menu(L"b.bmp", L"Res&ize proportionally and set as wallpaper");
    EXPECT_EQ(ReadPicture(ConvertedBitmapPath()).size(), std::make_pair(1024, 576));

    dialogs_->calls.clear();
    Menu(L"a.bmp", L"&Rename Image");
    ASSERT_EQ(dialogs_->calls.size(), 2u);
    EXPECT_TRUE(dialogs_->calls[1].input);
    EXPECT_EQ(dialogs_->calls[1].initial, L"a.bmp");
    dialogs_->answers.push_back(IDNO);
    Menu(L"c.bmp", L"&Delete Image(s)");
    ASSERT_EQ(dialogs_->calls.size(), 4u);
    EXPECT_EQ(dialogs_->calls[3].text,
              L"Are you sure you want to move the selected file to the Recycle Bin?");
    EXPECT_TRUE(Exists(L"c.bmp"));
}

TEST_F(Commands, TheViewersMenuActsOnTheViewedPicture) {
    Open();
    ClickItem(L"a.bmp", true);
    ASSERT_TRUE(ViewerShows(L"a.bmp"));
    ClickItem(L"b.bmp"); // another picture in hand in the main window
    dialogs_->menuPicks.push_back(L"&Set as wallpaper");
    SendMessageW(Viewer(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].menuItems,
              (std::vector<std::wstring>{L"&Set as wallpaper", L"R&esize to fit screen and set as wallpaper",
                                         L"Res&ize proportionally and set as wallpaper", L"&Convert Image"}));
    EXPECT_EQ(DesktopValue(L"Wallpaper"), dir_ / L"a.bmp");
    EXPECT_TRUE(ViewerShows(L"a.bmp")); // the menu does not close the viewer
    // The main window's own menu is whole again.
    Menu(L"b.bmp", L"");
    EXPECT_EQ(dialogs_->calls.back().menuItems.size(), 10u);
}

TEST_F(Commands, AnEmptyListOnlyRefreshesTheStatus) {
    Open({});
    Notify(NM_RCLICK);
    Notify(NM_CLICK);
    KeyUp(VK_DOWN);
    KeyUp(VK_DELETE);
    KeyUp(VK_RETURN);
    EXPECT_TRUE(dialogs_->calls.empty());
    EXPECT_FALSE(Viewer());
    EXPECT_EQ(Panel(2), L"Dir: 0 images, 0 selected");
}

TEST_F(Commands, DeleteAsksFirstAndShiftDeleteNamesTheFilesThatStay) {
    Open();
    Select({L"a.bmp", L"c.bmp"});
    dialogs_->answers.push_back(IDNO);
    KeyUp(VK_DELETE);
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1));
    EXPECT_TRUE(Exists(L"a.bmp") && Exists(L"c.bmp"));

    // Shift+Delete deletes for good; a file that cannot go is named, the others still go.
    const std::wstring locked = dir_ / L"a.bmp";
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    dialogs_->answers.push_back(IDYES);
    HoldShift(true);
    KeyUp(VK_DELETE);
    HoldShift(false);
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(dialogs_->calls.size(), 3u);
    EXPECT_NE(dialogs_->calls[1].text.find(L"permanently"), std::wstring::npos);
    EXPECT_NE(dialogs_->calls[2].text.find(locked), std::wstring::npos) << Narrow(dialogs_->calls[2].text);
    EXPECT_FALSE(Exists(L"c.bmp"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"a.bmp", L"b.bmp", L"d.bmp"})); // reloaded
}

TEST_F(Commands, TheRealRenameAndMessageBoxesAnswerTheKeyboard) {
    Open();
    ClickItem(L"b.bmp");
    {
        // A taken name and a device name are refused in a message box; the next name is taken.
        KeyboardAnswers keys({L"a.bmp", L"", L"nul.bmp", L"", L"sea.bmp"});
        form().RenameCurrentImage();
        form().RenameCurrentImage();
        KeyUp(VK_F2);
        ASSERT_EQ(keys.answered().size(), 5u);
        EXPECT_EQ(keys.answered()[0].title, L"Rename File");
        EXPECT_EQ(keys.answered()[1].title, L"Tessary");
        EXPECT_NE(keys.answered()[3].text.find(L"nul.bmp"), std::wstring::npos);
    }
    EXPECT_EQ(ReadPicture(dir_ / L"a.bmp").at(0, 0), 0xFF000000 | kRed); // never overwritten
    EXPECT_TRUE(Exists(L"sea.bmp"));
    EXPECT_FALSE(Exists(L"b.bmp"));
    // Listed after the reload, selected, and the picture in hand under its new name.
    EXPECT_TRUE(List().IsSelected(Find(L"sea.bmp")));
    EXPECT_EQ(State().CurrentImagePath, dir_ / L"sea.bmp");
}

TEST_F(Commands, DraggingOffersTheSelectedPathsInListOrder) {
    Open();
    std::vector<std::wstring> offered;
    DWORD allowed = 0;
    Probe::Commands(form()).StartDrag = [&](IDataObject* data, DWORD effect) {
        offered = FilesInDataObject(data);
        allowed = effect;
        if (effect == DROPEFFECT_MOVE)
            MoveFileW((dir_ / L"b.bmp").c_str(), (dir_ / L"moved.txt").c_str());
        return effect;
    };
    Select({L"d.bmp", L"b.bmp"});
    Notify(LVN_BEGINDRAG);
    EXPECT_EQ(offered, (std::vector<std::wstring>{dir_ / L"b.bmp", dir_ / L"d.bmp"}));
    EXPECT_EQ(allowed, static_cast<DWORD>(DROPEFFECT_COPY));

    // With Shift a move is offered, and the folder is read again afterwards.
    HoldShift(true);
    Notify(LVN_BEGINDRAG);
    HoldShift(false);
    EXPECT_EQ(allowed, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"a.bmp", L"c.bmp", L"d.bmp"}));
}

TEST_F(Commands, FolderButtons) {
    Open();
    // "&My Pictures" selects the folder the shell names; nothing when it names none.
    const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"My Pictures");
    Click(IDC_CMDDIRBROWSER_0);
    EXPECT_EQ(Probe::Tree(form()).CurrentFolder(), dir_.path());
    TempDir pictures(L"pictures");
    Track(pictures.path());
    ASSERT_TRUE(WriteImage(pictures / L"x.png", 60, 40));
    RegSetKeyValueW(HKEY_CURRENT_USER, key, L"My Pictures", REG_SZ, pictures.path().c_str(),
                    static_cast<DWORD>((pictures.path().size() + 1) * sizeof(wchar_t)));
    Click(IDC_CMDDIRBROWSER_0);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"My Pictures");
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"x.png"}));

    // "&Recache" caches the large picture; "D&elete Cache" asks first, Cancel keeps the cache.
    OpenFolder(dir_.path());
    ASSERT_TRUE(WriteImage(dir_ / L"large.jpg", 800, 600));
    Click(IDC_CMDDIRBROWSER_0 + 2);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 1) << Narrow(Panel(1));
    ASSERT_TRUE(FileExists(CacheDir(dir_.path()) + L"\\large.jpg"));
    dialogs_->answers = {IDCANCEL, IDOK};
    Click(IDC_CMDDIRBROWSER_0 + 1);
    EXPECT_TRUE(FileExists(CacheDir(dir_.path()) + L"\\large.jpg"));
    Click(IDC_CMDDIRBROWSER_0 + 1);
    EXPECT_EQ(GetFileAttributesW(CacheDir(dir_.path()).c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(dialogs_->calls.size(), 2u);
    EXPECT_EQ(dialogs_->calls[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION));
}
