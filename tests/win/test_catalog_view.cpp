// How the catalog shows a folder through the real main window: the sort orders, the two list
// modes, the thumbnail-size slider, and stopping or re-entering a running load.
#include "catalog/CatalogText.h"
#include "platform/Controls.h"
#include "support/MainWindow.h"
#include <functional>

using namespace tessary;
using namespace wintest;

namespace {

class CatalogWindow : public MainWindowTest {
protected:
    TempDir dir_{L"catview"};
};

// Sets the last-write time (UTC, at noon).
bool SetWriteDate(const std::wstring& path, int year, int month, int day) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = 12;
    FILETIME ft;
    UniqueFile f(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    return SystemTimeToFileTime(&st, &ft) && f && SetFileTime(f.get(), nullptr, nullptr, &ft);
}

void MakeSmallImages(const std::wstring& folder, int count) {
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(WriteFlat(folder + L"\\img" + std::to_wstring(100 + i) + L".png", 40, 30, 0x707070));
}

} // namespace

TEST_F(CatalogWindow, SortOrdersCompareValuesNotTexts) {
    // Sizes past 100,000,000 bytes, dates before 9 September 2001 and heights of 1000 and more are
    // where comparing the padded texts would go wrong. PNG decoders stop at the image's end, so
    // zeros appended make a picture as long as wanted.
    struct File {
        const wchar_t* name;
        int h;
        std::uint64_t size;
        int year;
    };
    for (const File& f :
         {File{L"alpha.png", 480, 2'000'000, 1999}, File{L"Beta.png", 1000, 0, 2005},
          File{L"delta.png", 768, 123'456'789, 2010}, File{L"Epsilon.png", 240, 99'999'999, 2002}}) {
        ASSERT_TRUE(WriteFlat(dir_ / f.name, 64, f.h, 0x6080A0));
        ASSERT_TRUE(f.size == 0 || SetFileLength(dir_ / f.name, f.size));
        ASSERT_TRUE(SetWriteDate(dir_ / f.name, f.year, 6, 1));
    }
    WriteSetting(L"SortBy", L"3"); // the stored order applies to the first load
    frmMain& f = Start();
    OpenFolder(dir_.path());
    const std::vector<std::wstring> bySize = {L"Beta.png", L"alpha.png", L"Epsilon.png", L"delta.png"};
    EXPECT_EQ(Names(), std::vector<std::wstring>(bySize.rbegin(), bySize.rend()));
    f.SetCboSort(0);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"alpha.png", L"Beta.png", L"delta.png", L"Epsilon.png"}));
    f.SetCboSort(4);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"alpha.png", L"Epsilon.png", L"Beta.png", L"delta.png"}));
    f.SetCboSort(6);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Epsilon.png", L"alpha.png", L"delta.png", L"Beta.png"}));
    // Every load sorts again.
    f.SetCboSort(2);
    f.LoadFolder(dir_.path(), true);
    EXPECT_EQ(Names(), bySize);
}

TEST_F(CatalogWindow, ListModesSwitchViewLookAndSlider) {
    ASSERT_TRUE(WriteFlat(dir_ / L"one.png", 64, 48, 0x808080));
    frmMain& f = Start();
    OpenFolder(dir_.path());
    auto list = List();
    f.SetOptListMode(1);
    // The Filename column keeps its designed width for short names and grows for a long one.
    const auto nameWidth = [&] { return SendMessageW(list.hwnd(), LVM_GETCOLUMNWIDTH, 0, 0); };
    EXPECT_EQ(nameWidth(), 167);
    ASSERT_TRUE(WriteFlat(dir_ / (std::wstring(60, L'n') + L".png"), 64, 48, 0x808080));
    f.LoadFolder(dir_.path(), true);
    EXPECT_GT(nameWidth(), 300);
    EXPECT_EQ(list.GetView(), ListView::View::Report);
    EXPECT_EQ(list.BackColour(), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(list.TextColour(), RGB(0, 0, 0)); // the window colour is light
    EXPECT_FALSE(IsWindowVisible(Control(IDC_SLIDERTHUMBSIZE)));
    EXPECT_EQ(list.Text(0, 3), L"   64 x 48");

    f.SetOptListMode(0);
    EXPECT_EQ(list.GetView(), ListView::View::Icons);
    EXPECT_EQ(list.BackColour(), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(list.TextColour(), ChooseListTextColour(GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_TRUE(IsWindowVisible(Control(IDC_SLIDERTHUMBSIZE)));
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(CatalogWindow, SliderSnapsAndReloadsAtTheNewSize) {
    ASSERT_TRUE(WriteFlat(dir_ / L"photo.jpg", 800, 600, 0x4080C0));
    frmMain& f = Start();
    OpenFolder(dir_.path());
    HWND slider = Control(IDC_SLIDERTHUMBSIZE);
    // A drag that ends at 73.
    SendMessageW(slider, TBM_SETPOS, TRUE, 73);
    SendMessageW(f.hwnd(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 73), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(TrackbarValue(slider), 70);
    // Reloaded (from the cache) with cells of 70 + 12 by 56 + 21 on the 5:4 screen.
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 1);
    int w = 0, h = 0;
    ASSERT_TRUE(ImageList_GetIconSize(List().GetImageList(), &w, &h));
    EXPECT_EQ(w, 82);
    EXPECT_EQ(h, 77);
    EXPECT_NEAR(Blue(Cell(L"photo.jpg").Pixel(41, 34)), 0xC0, 8);

    // The same value again does nothing; the keyboard's step of 5 reloads at once.
    Probe::Status(f).SetPanelText(1, L"untouched");
    SendMessageW(f.hwnd(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(Panel(1), L"untouched");
    SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_TRUE(ImageList_GetIconSize(List().GetImageList(), &w, &h));
    EXPECT_EQ(w, 87);
}

namespace {
// Runs once at the next timer message: the first time a load lets messages run.
std::function<void()> g_atCheckpoint;
void CALLBACK RunAtCheckpoint(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_atCheckpoint();
}
} // namespace

TEST_F(CatalogWindow, LoadRequestedDuringALoadIsIgnored) {
    TempDir second(L"catother");
    MakeSmallImages(dir_.path(), 35);
    MakeSmallImages(second.path(), 3);
    frmMain& f = Start();
    bool busy = false;
    HCURSOR cursor = nullptr;
    std::wstring progress;
    std::vector<std::wstring> expected; // the status of the file being loaded, or of the one before
    std::size_t entries = 0;
    // Messages run at every checkpoint and whenever the load waits for a worker or has gone on
    // for a while, so the request may come at any file.
    g_atCheckpoint = [&] {
        busy = State().load.LoadBusy;
        cursor = GetCursor();
        progress = Panel(1);
        f.LoadFolder(second.path(), true);
        entries = Names().size();
        const auto& files = Probe::Catalog(form()).FileList();
        for (std::size_t k : {entries, entries - 1})
            if (k < files.size())
                expected.push_back(LoadProgressStatus(static_cast<int>(k) + 1, 35, static_cast<int>(k),
                                                      LastPathComponent(files[k])));
    };
    SetTimer(nullptr, 0, 1, RunAtCheckpoint);
    Sleep(5);
    f.LoadFolder(Track(dir_.path()), true);
    EXPECT_TRUE(busy);
    EXPECT_EQ(cursor, LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_LT(entries, 35u);
    EXPECT_NE(std::find(expected.begin(), expected.end(), progress), expected.end()) << Narrow(progress);
    EXPECT_EQ(Names().size(), 35u);
    EXPECT_EQ(Panel(2), L"Dir: 35 images, 0 selected");
    // The refused request is not remembered: the other folder loads when asked again.
    f.LoadFolder(second.path(), false);
    EXPECT_EQ(Names().size(), 3u);
}

TEST_F(CatalogWindow, EscapeHeldAtACheckpointStopsTheLoad) {
    MakeSmallImages(dir_.path(), 45);
    frmMain& f = Start();
    // Pressed before the load, the key is seen the first time the load lets messages run: at the
    // first checkpoint (after the 30th file) at the latest.
    PostMessageW(List().hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    f.LoadFolder(Track(dir_.path()), true);
    const std::size_t listed = Names().size();
    EXPECT_LE(listed, 30u);
    EXPECT_EQ(ParseSummary(Panel(1)).loaded, static_cast<int>(listed));
    // The folder counts as shown: only a forced load reads it again, once the key is up.
    PostMessageW(List().hwnd(), WM_KEYUP, VK_ESCAPE, 0);
    Pump(20);
    f.LoadFolder(dir_.path(), false);
    EXPECT_EQ(Names().size(), listed);
    f.LoadFolder(dir_.path(), true);
    EXPECT_EQ(Names().size(), 45u);
}
