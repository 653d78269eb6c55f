// How the catalog shows a folder through the real main window: the eight sort orders, the two
// list modes, the thumbnail-size slider, and stopping or re-entering a running load.
#include "platform/Controls.h"
#include "platform/Locale.h"
#include "platform/MessagePump.h"
#include "test_catalog_support.h"
#include <algorithm>

using namespace tessary;
using namespace wintest;

namespace {

class CatalogView : public CatalogTest {};

std::vector<std::wstring> Reversed(std::vector<std::wstring> v) {
    std::reverse(v.begin(), v.end());
    return v;
}

LOGFONTW FontOf(HWND hwnd) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
}

} // namespace

TEST_F(CatalogView, EverySortOrderComparesValues) {
    TempDir dir(L"catsort");
    Track(dir.path());
    // Sizes past 100,000,000 bytes, dates before 9 September 2001 and heights of 1000 and more are
    // where comparing the padded texts would go wrong. PNG decoders stop at the image's end, so
    // zeros appended make a picture as long as wanted.
    struct File {
        const wchar_t* name;
        int w, h;
        std::uint64_t size; // 0: as written
        int year, month, day;
    };
    const File files[] = {
        {L"alpha.png", 1024, 1000, 2'000'000, 1999, 12, 31},
        {L"Beta.png", 1024, 768, 0, 2005, 6, 1},
        {L"Gamma.bmp", 800, 600, 0, 2001, 9, 10},
        {L"delta.png", 640, 480, 123'456'789, 2010, 1, 1},
        {L"Epsilon.png", 320, 240, 99'999'999, 2002, 2, 2},
        {L"zeta.jpg", 0, 0, 5'368'709'120, 1998, 5, 5}, // zeros only: no picture
    };
    for (const File& f : files) {
        const std::wstring path = dir / f.name;
        if (f.w > 0) {
            ASSERT_TRUE(WriteFlat(path, f.w, f.h, 0x6080A0));
        }
        if (f.size > 0) {
            ASSERT_TRUE(SetFileLength(path, f.size));
        }
        ASSERT_TRUE(SetWriteDate(path, f.year, f.month, f.day));
    }
    ASSERT_LT(FileLength(dir / L"Beta.png"), FileLength(dir / L"Gamma.bmp"));

    // The stored order applies to the first load.
    WriteSetting(L"SortBy", L"2");
    frmMain& f = Start();
    ASSERT_TRUE(f.FolderTreeview1.SelectFolder(dir.path()));
    const std::vector<std::wstring> byName = {L"alpha.png",   L"Beta.png",  L"delta.png",
                                              L"Epsilon.png", L"Gamma.bmp", L"zeta.jpg"};
    const std::vector<std::wstring> bySize = {L"Beta.png",    L"Gamma.bmp", L"alpha.png",
                                              L"Epsilon.png", L"delta.png", L"zeta.jpg"};
    const std::vector<std::wstring> byDate = {L"zeta.jpg",    L"alpha.png", L"Gamma.bmp",
                                              L"Epsilon.png", L"Beta.png",  L"delta.png"};
    const std::vector<std::wstring> byResolution = {L"zeta.jpg",  L"Epsilon.png", L"delta.png",
                                                    L"Gamma.bmp", L"Beta.png",    L"alpha.png"};
    EXPECT_EQ(Names(), bySize);
    EXPECT_EQ(Column(L"delta.png", 3), L"  640 x 480");
    EXPECT_EQ(Column(L"alpha.png", 3), L" 1024 x 1000");

    const std::vector<std::wstring>* orders[] = {&byName, &bySize, &byDate, &byResolution};
    for (int sortBy = 0; sortBy < 8; ++sortBy) {
        SCOPED_TRACE(sortBy);
        f.SetCboSort(sortBy);
        EXPECT_EQ(state.SortBy, sortBy);
        const auto& ascending = *orders[sortBy / 2];
        EXPECT_EQ(Names(), sortBy % 2 ? Reversed(ascending) : ascending);
    }
    // Every load sorts again; the texts stay as they were.
    f.SetCboSort(6);
    f.LoadFolder(dir.path(), true);
    EXPECT_EQ(Names(), byResolution);
    const std::wstring sep(1, UserNumberFormat().group);
    EXPECT_EQ(Column(L"zeta.jpg", 1), L"5" + sep + L"368" + sep + L"709" + sep + L"120");
    EXPECT_EQ(Column(L"Epsilon.png", 1), L"99" + sep + L"999" + sep + L"999");
    // The list scrolled to its first entry.
    RECT first = List().ItemRect(0), client;
    GetClientRect(f.ListViewPics, &client);
    EXPECT_GE(first.top, 0);
    EXPECT_LT(first.top, client.bottom);
}

TEST_F(CatalogView, ListModesSwitchViewLookAndSlider) {
    TempDir dir(L"catmode");
    Track(dir.path());
    ASSERT_TRUE(WriteFlat(dir / L"one.png", 64, 48, 0x808080));
    frmMain& f = Start();
    ASSERT_TRUE(f.FolderTreeview1.SelectFolder(dir.path()));
    auto list = List();
    HWND header = list.Header();

    f.SetOptListMode(1);
    EXPECT_EQ(list.GetView(), ListView::View::Report);
    EXPECT_EQ(list.BackColour(), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(list.TextColour(), ChooseListTextColour(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(list.TextColour(), RGB(0, 0, 0)); // the window colour is light
    EXPECT_FALSE(IsWindowVisible(f.sliderThumbSize));
    EXPECT_FALSE(IsWindowVisible(f.Label1));
    EXPECT_FALSE(IsWindowEnabled(f.sliderThumbSize));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 4);
    LOGFONTW lf = FontOf(f.ListViewPics);
    EXPECT_EQ(std::wstring(lf.lfFaceName), L"Arial");
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_EQ(list.Text(0, 3), L"   64 x 48");

    f.SetOptListMode(0);
    EXPECT_EQ(list.GetView(), ListView::View::Icons);
    EXPECT_EQ(list.BackColour(), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(list.TextColour(), ChooseListTextColour(GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_TRUE(IsWindowVisible(f.sliderThumbSize));
    EXPECT_TRUE(IsWindowVisible(f.Label1));
    EXPECT_TRUE(IsWindowEnabled(f.sliderThumbSize));
    lf = FontOf(f.ListViewPics);
    EXPECT_EQ(lf.lfHeight, -9);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(list.Count(), 1);
    // The mode is what the settings keep.
    f.SetOptListMode(1);
    Close();
    EXPECT_EQ(ReadSetting(L"ListMode"), std::optional<std::wstring>(L"List"));
}

TEST_F(CatalogView, SliderSnapsAndReloadsAtTheNewSize) {
    TempDir dir(L"catslide");
    Track(dir.path());
    ASSERT_TRUE(WriteFlat(dir / L"photo.jpg", 800, 600, 0x4080C0));
    frmMain& f = Start();
    ASSERT_TRUE(f.FolderTreeview1.SelectFolder(dir.path()));
    EXPECT_EQ(ParseSummary(Panel(1)).added, 1);

    // A drag that ends at 73.
    SendMessageW(f.sliderThumbSize, TBM_SETPOS, TRUE, 73);
    SendMessageW(f.hwnd(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 73),
                 reinterpret_cast<LPARAM>(f.sliderThumbSize));
    EXPECT_EQ(TrackbarValue(f.sliderThumbSize), 70);
    EXPECT_EQ(state.ThumbSize, 70);
    // Reloaded (from the cache) with cells of 70 + 12 by 56 + 21 on the 5:4 screen.
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 1);
    int w = 0, h = 0;
    ASSERT_TRUE(ImageList_GetIconSize(List().GetImageList(), &w, &h));
    EXPECT_EQ(w, 82);
    EXPECT_EQ(h, 77);
    Surface cell = Cell(L"photo.jpg");
    EXPECT_NEAR(Blue(cell.Pixel(41, 34)), 0xC0, 8);

    // The same value again does nothing.
    f.StatusBar1.SetPanelText(1, L"untouched");
    SendMessageW(f.hwnd(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(f.sliderThumbSize));
    EXPECT_EQ(Panel(1), L"untouched");
    // The keyboard's step of 5 reloads at once.
    SendMessageW(f.sliderThumbSize, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(state.ThumbSize, 75);
    ASSERT_TRUE(ImageList_GetIconSize(List().GetImageList(), &w, &h));
    EXPECT_EQ(w, 87);
}

namespace {

struct DuringLoad {
    frmMain* form = nullptr;
    std::wstring other;
    bool ran = false;
    bool busy = false;
    HCURSOR cursor = nullptr;
    int entries = -1;
    std::wstring progress, thirtieth;
};
DuringLoad g_during;

void CALLBACK LoadAnotherFolder(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_during.ran = true;
    g_during.busy = state.LoadBusy;
    g_during.cursor = GetCursor();
    g_during.progress = g_during.form->StatusBar1.PanelText(1);
    if (state.FileList.size() >= 30)
        g_during.thirtieth = LastPathComponent(state.FileList[29]);
    g_during.form->LoadFolder(g_during.other, true);
    g_during.entries = ListView(g_during.form->ListViewPics).Count();
}

void MakeSmallImages(const std::wstring& folder, int count) {
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(WriteFlat(folder + L"\\img" + std::to_wstring(100 + i) + L".png", 40, 30, 0x707070));
}

} // namespace

TEST_F(CatalogView, LoadRequestedDuringALoadIsIgnored) {
    TempDir first(L"catbusy"), second(L"catother");
    Track(first.path());
    MakeSmallImages(first.path(), 35);
    MakeSmallImages(second.path(), 3);
    frmMain& f = Start();
    g_during = DuringLoad{};
    g_during.form = &f;
    g_during.other = second.path();
    SetTimer(nullptr, 0, 1, LoadAnotherFolder);
    Sleep(5);
    f.LoadFolder(first.path(), true);
    ASSERT_TRUE(g_during.ran);
    EXPECT_TRUE(g_during.busy);
    EXPECT_EQ(g_during.cursor, LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(g_during.entries, 30); // the checkpoint came after the 30th file
    // The progress text of the 30th file of 35, shown before it was listed.
    EXPECT_EQ(g_during.progress, L"Loading images (86%): #29 " + g_during.thirtieth);
    EXPECT_EQ(Names().size(), 35u);
    EXPECT_EQ(Names().front(), L"img100.png");
    EXPECT_EQ(state.LastLoadedFolder, first.path());
    EXPECT_EQ(Panel(2), L"Dir: 35 images, 0 selected");
    EXPECT_FALSE(state.LoadBusy);
    // The refused request is not remembered: the other folder loads when asked again.
    f.LoadFolder(second.path(), false);
    EXPECT_EQ(Names().size(), 3u);
}

TEST_F(CatalogView, EscapeHeldAtACheckpointStopsTheLoad) {
    TempDir dir(L"catesc");
    Track(dir.path());
    MakeSmallImages(dir.path(), 45);
    frmMain& f = Start();
    // Pressed before the load, the key is seen at the first checkpoint, after the 30th file.
    PostMessageW(f.ListViewPics, WM_KEYDOWN, VK_ESCAPE, 0);
    f.LoadFolder(dir.path(), true);
    EXPECT_TRUE(state.EscapePressed);
    EXPECT_EQ(Names().size(), 30u);
    EXPECT_EQ(ParseSummary(Panel(1)).loaded, 30);
    EXPECT_EQ(Panel(2), L"Dir: 30 images, 0 selected");
    // The folder counts as shown: only a forced load reads it again, once the key is up.
    PostMessageW(f.ListViewPics, WM_KEYUP, VK_ESCAPE, 0);
    Pump(20);
    EXPECT_FALSE(state.EscapePressed);
    f.LoadFolder(dir.path(), false);
    EXPECT_EQ(Names().size(), 30u);
    f.LoadFolder(dir.path(), true);
    EXPECT_EQ(Names().size(), 45u);
}

TEST_F(CatalogView, CaptionFontIsMadeOnce) {
    TempDir dir(L"catfont");
    Track(dir.path());
    MakeSmallImages(dir.path(), 5);
    frmMain& f = Start();
    f.LoadFolder(dir.path(), true);
    f.LoadFolder(dir.path(), true);
    EXPECT_EQ(f.catalog.captionFont.created(), 1);
    EXPECT_EQ(f.catalog.lastLoad.loaded, 5);
}
