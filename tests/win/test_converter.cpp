// The "Convert Image" dialog through its real window: opened modally, driven through its controls
// and keys, and the files it writes decoded and compared.
#include "converter/frmConvert.h"
#include "platform/Controls.h"
#include "support/MainWindow.h"
#include "viewer/frmZoom.h"

using namespace tessary;
using namespace wintest;

namespace {

// Runs script inside the next converter dialog that opens, once it is up; a dialog the script leaves
// open is closed after it.
bool g_scriptRan = false;
void WhenTheDialogOpens(std::function<void(HWND)> script) {
    g_scriptRan = false;
    AtNextMessages(
        [script] {
            HWND dlg = FindWindowW(frmConvert::kClassName, nullptr);
            if (!dlg || !IsWindowVisible(dlg))
                return;
            g_scriptRan = true;
            script(dlg);
            if (IsWindow(dlg))
                SendMessageW(dlg, WM_CLOSE, 0, 0);
        },
        20);
}

void Click(HWND dlg, int id) {
    SendMessageW(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}
void Type(HWND dlg, int id, const std::wstring& text) {
    SetWindowTextW(GetDlgItem(dlg, id), text.c_str());
}
// A key as the user presses it on the focused control: down, then up.
void Press(UINT key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    Pump(30);
}

class Converter : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = CreateHostWindow(L"ConvertHost", DefWindowProcW, 100, 100, 400, 300);
        ShowWindow(host_, SW_SHOWNOACTIVATE);
    }
    void TearDown() override { DestroyWindow(host_); }
    // Opens the dialog on source, runs the script inside it, and returns when it has closed.
    void Run(const std::wstring& source, std::function<void(HWND)> script) {
        WhenTheDialogOpens(std::move(script));
        frmConvert dialog(source, host_, [this](const std::wstring& p) { written_.push_back(p); });
        dialog.ShowModal();
        EXPECT_TRUE(g_scriptRan);
        EXPECT_FALSE(dialog.hwnd());
        EXPECT_TRUE(IsWindowEnabled(host_));
    }
    // The message boxes shown so far, and forgets them.
    std::vector<std::wstring> Messages() {
        std::vector<std::wstring> texts;
        for (const auto& c : dialogs_.calls)
            texts.push_back(c.text);
        dialogs_.calls.clear();
        return texts;
    }
    TempDir dir_{L"convert"};
    DialogRecorder dialogs_;
    HWND host_ = nullptr;
    std::vector<std::wstring> written_;
};

} // namespace

// The dialog as it opens on a 1024 x 768 picture, its tab order, its fields following each other,
// and Enter saving and Escape closing it.
TEST_F(Converter, OpensWithItsDefaultsAndAnswersEnterAndEscape) {
    const std::wstring source = dir_ / L"beach.jpeg";
    ASSERT_TRUE(WriteImage(source, 1024, 768));
    const std::wstring target = dir_ / L"beach-Resize.jpg";
    Run(source, [&](HWND dlg) {
        EXPECT_EQ(WindowText(dlg), L"Convert Image");
        EXPECT_FALSE(IsWindowEnabled(host_));
        RECT outer, work;
        GetWindowRect(dlg, &outer);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR(outer.left + outer.right, work.left + work.right, 1);
        EXPECT_NEAR(outer.top + outer.bottom, work.top + work.bottom, 1);

        // The picture's size; the target named from the real extension.
        EXPECT_EQ(WindowText(GetDlgItem(dlg, frmConvert::IdLblImageSize)), L"1024 x 768");
        EXPECT_EQ(WindowText(GetDlgItem(dlg, frmConvert::IdTxtWidth)), L"1024");
        EXPECT_EQ(WindowText(GetDlgItem(dlg, frmConvert::IdTxtHeight)), L"768");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, frmConvert::IdTxtWidth)));
        EXPECT_EQ(WindowText(GetDlgItem(dlg, frmConvert::IdTxtSaveFilename)), target);

        // Tab follows the layout: left column, right column, target, buttons; disabled fields and
        // the unselected options are skipped (so no turn and JPG are the options selected).
        SetFocus(GetDlgItem(dlg, frmConvert::IdOptResize0));
        std::vector<int> order;
        for (int i = 0; i < 9; ++i) {
            Press(VK_TAB);
            order.push_back(GetDlgCtrlID(GetFocus()));
        }
        EXPECT_EQ(order, (std::vector<int>{frmConvert::IdTxtPercent, frmConvert::IdSliderPercentage,
                                           frmConvert::IdOptResize1, frmConvert::IdOptRotate0,
                                           frmConvert::IdOptFormat0 + 1, frmConvert::IdSliderQuality,
                                           frmConvert::IdTxtSaveFilename, frmConvert::IdCmdConvertFile,
                                           frmConvert::IdCmdCancel}));

        // The percentage field and slider follow each other.
        Type(dlg, frmConvert::IdTxtPercent, L"2000"); // held in range
        EXPECT_EQ(TrackbarValue(GetDlgItem(dlg, frmConvert::IdSliderPercentage)), 1000);
        SendMessageW(GetDlgItem(dlg, frmConvert::IdSliderPercentage), TBM_SETPOS, TRUE, 50);
        SendMessageW(dlg, WM_HSCROLL, SB_THUMBPOSITION,
                     reinterpret_cast<LPARAM>(GetDlgItem(dlg, frmConvert::IdSliderPercentage)));
        EXPECT_EQ(WindowText(GetDlgItem(dlg, frmConvert::IdTxtPercent)), L"50");
        EXPECT_EQ(WindowText(GetDlgItem(dlg, frmConvert::IdLblImageSize)), L"512 x 384");

        SetFocus(GetDlgItem(dlg, frmConvert::IdTxtPercent));
        Press(VK_RETURN);
        EXPECT_EQ(Messages(), (std::vector<std::wstring>{L"Image was converted successfully!"}));
        EXPECT_TRUE(IsWindow(dlg)); // the dialog stays open
        Press(VK_ESCAPE);
        EXPECT_FALSE(IsWindow(dlg));
    });
    const Picture out = ReadPicture(target);
    EXPECT_EQ(out.size(), std::make_pair(512, 384));
    EXPECT_EQ(written_, std::vector<std::wstring>{target});
}

// Every format from a source with transparency, turned a quarter: the size, the pixels where the
// turn puts them, white where BMP, JPG and GIF cannot be transparent, alpha kept in PNG, and the
// quality chosen on the slider in the JPEG's tables.
TEST_F(Converter, EveryFormatRoundTripsTurned) {
    const std::wstring source = dir_ / L"[1] Stra\u00dfe \u2713.png";
    // The left half opaque red with a blue top-left corner, the right half transparent.
    ASSERT_TRUE(WriteArgb(source, 64, 32, [](int x, int y) {
        return x < 4 && y < 4 ? 0xFF0000FFu : x < 32 ? 0xFFFF0000u : 0u;
    }));
    Run(source, [&](HWND dlg) {
        Click(dlg, frmConvert::IdOptResize1);
        Click(dlg, frmConvert::IdChkProportional);
        // The lock follows the typed field and leaves it as typed (15 / 2 rounds to 8, and 8 x 2
        // would make it 16).
        Type(dlg, frmConvert::IdTxtWidth, L"15");
        EXPECT_EQ(WindowText(GetDlgItem(dlg, frmConvert::IdTxtWidth)), L"15");
        EXPECT_EQ(WindowText(GetDlgItem(dlg, frmConvert::IdTxtHeight)), L"8");
        Type(dlg, frmConvert::IdTxtWidth, L"128");
        EXPECT_EQ(WindowText(GetDlgItem(dlg, frmConvert::IdTxtHeight)), L"64");
        Click(dlg, frmConvert::IdOptRotate0 + 1); // 90 degrees clockwise
        SendMessageW(GetDlgItem(dlg, frmConvert::IdSliderQuality), TBM_SETPOS, TRUE, 90);
        SendMessageW(dlg, WM_HSCROLL, SB_THUMBPOSITION,
                     reinterpret_cast<LPARAM>(GetDlgItem(dlg, frmConvert::IdSliderQuality)));
        for (int format = 0; format < 5; ++format) {
            Click(dlg, frmConvert::IdOptFormat0 + format);
            Click(dlg, frmConvert::IdCmdConvertFile);
        }
        EXPECT_EQ(Messages(), std::vector<std::wstring>(5, L"Image was converted successfully!"));
    });
    const wchar_t* names[] = {L"bmp", L"jpg", L"gif", L"png", L"webp"};
    const char* signatures[] = {"BM", "\xFF\xD8", "GI", "\x89P", "RI"};
    for (int format = 0; format < 5; ++format) {
        const std::wstring target = dir_ / (L"[1] Stra\u00dfe \u2713-Resize." + std::wstring(names[format]));
        SCOPED_TRACE(Narrow(target));
        EXPECT_EQ(ReadBytes(target).substr(0, 2), signatures[format]);
        const Picture out = ReadPicture(target);
        ASSERT_EQ(out.size(), std::make_pair(64, 128));
        // Turned clockwise: the blue corner is now top right, the red half the top half.
        const int tolerance = format == 1 || format == 4 ? 40 : 2;
        EXPECT_TRUE(Near(out.at(62, 1), 0xFF0000FF, tolerance));
        EXPECT_TRUE(Near(out.at(10, 40), 0xFFFF0000, tolerance));
        const std::uint32_t lower = out.at(32, 100);
        if (format == 3 || format == 4)
            EXPECT_EQ(lower >> 24, 0u) << std::hex << lower;
        else
            EXPECT_TRUE(Near(lower, 0xFFFFFFFF, tolerance)) << std::hex << lower;
    }
    // libjpeg's quality 90 scales the standard luminance DC step 16 to 3 (quality 75 gives 8).
    const std::string jpeg = ReadBytes(dir_ / L"[1] Stra\u00dfe \u2713-Resize.jpg");
    const std::size_t dqt = jpeg.find("\xFF\xDB");
    ASSERT_NE(dqt, std::string::npos);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[dqt + 5]), 3);
    EXPECT_EQ(written_.size(), 5u);
}

// What a save refuses or reports, each leaving the files as they were.
TEST_F(Converter, BadTargetsAndSourcesAreRefusedWithTheirCause) {
    const std::wstring source = dir_ / L"photo.png";
    ASSERT_TRUE(WriteImage(source, 200, 100));
    const std::string original = ReadBytes(source);
    const std::wstring existing = dir_ / L"existing.png";
    ASSERT_TRUE(WriteTextFile(existing, "keep me"));
    Run(source, [&](HWND dlg) {
        auto saveAs = [&](const std::wstring& target) {
            Type(dlg, frmConvert::IdTxtSaveFilename, target);
            Click(dlg, frmConvert::IdCmdConvertFile);
            return Messages();
        };
        auto failure = [](const std::vector<std::wstring>& m, const std::wstring& part) {
            return m.size() == 1 && m[0].starts_with(L"Image conversion failed: ") &&
                   m[0].find(part) != std::wstring::npos;
        };
        // The source itself, under another spelling: never overwritten.
        EXPECT_TRUE(failure(saveAs(dir_.path() + L"\\.\\PHOTO.PNG"), L"never overwritten"));
        EXPECT_EQ(ReadBytes(source), original);
        EXPECT_TRUE(failure(saveAs(dir_ / L"missing\\out.png"), L"does not exist"));
        // Another existing file: asked with No as the default; No keeps it.
        dialogs_.answers.push_back(IDNO);
        Type(dlg, frmConvert::IdTxtSaveFilename, existing);
        Click(dlg, frmConvert::IdCmdConvertFile);
        ASSERT_EQ(dialogs_.calls.size(), 1u);
        EXPECT_EQ(dialogs_.calls[0].text, existing + L" already exists. Replace it?");
        EXPECT_EQ(dialogs_.calls[0].style & (MB_TYPEMASK | MB_DEFMASK),
                  static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2));
        Messages();
        EXPECT_EQ(ReadBytes(existing), "keep me");
        // Yes on a read-only file: refused with the system's reason, the file as it was.
        SetFileAttributesW(existing.c_str(), FILE_ATTRIBUTE_READONLY);
        dialogs_.answers.push_back(IDYES);
        Click(dlg, frmConvert::IdCmdConvertFile);
        const auto readOnly = Messages();
        EXPECT_TRUE(failure({readOnly.back()}, L"(Error #5: ")) << Narrow(readOnly.back());
        SetFileAttributesW(existing.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadBytes(existing), "keep me");
        // The source goes away while the dialog is open: the next change says so.
        ASSERT_TRUE(DeleteFileW(source.c_str()));
        Click(dlg, frmConvert::IdOptRotate0 + 3);
        EXPECT_EQ(Messages(), std::vector<std::wstring>{source + L" is no longer available."});
    });
    EXPECT_TRUE(written_.empty());
    // Nothing but the file the test made was left in the folder.
    EXPECT_EQ(FileNamesIn(dir_.path()), std::vector<std::wstring>{L"existing.png"});
}

// A picture too large to write is refused before anything is allocated; a file that is not a
// picture never opens the dialog.
TEST_F(Converter, TooLargeOutputsAndNonPicturesAreRefused) {
    const std::wstring big = dir_ / L"big.jpg";
    ASSERT_TRUE(WriteImage(big, 5000, 5000, [](int, int) { return 0x336699u; }));
    Run(big, [&](HWND dlg) {
        Type(dlg, frmConvert::IdTxtPercent, L"1000");
        Click(dlg, frmConvert::IdCmdConvertFile);
        const auto m = Messages();
        ASSERT_EQ(m.size(), 1u);
        EXPECT_TRUE(
            m[0].starts_with(L"Image conversion failed: a picture of 50000 x 50000 pixels is too large"))
            << Narrow(m[0]);
    });
    EXPECT_EQ(GetFileAttributesW((dir_ / L"big-Resize.jpg").c_str()), INVALID_FILE_ATTRIBUTES);

    const std::wstring text = dir_ / L"notes.jpg";
    ASSERT_TRUE(WriteTextFile(text, "not a picture"));
    frmConvert dialog(text, host_, {});
    dialog.ShowModal();
    EXPECT_EQ(Messages(), std::vector<std::wstring>{text + L" could not be read as a picture."});
    EXPECT_FALSE(dialog.hwnd());
}

// "&Convert Image" from the list's menu and from the viewer's: the dialog opens on the image the
// menu acts on, owned by the window the menu was shown over, and a file saved into the folder
// shown appears in the list.
class ConvertFromTheMenu : public MainWindowTest {};

TEST_F(ConvertFromTheMenu, OpensOnTheImageTheMenuActsOn) {
    frmMain& f = Start();
    TempDir dir(L"convmenu");
    const std::wstring image = dir / L"a.png";
    ASSERT_TRUE(WriteImage(image, 120, 90));
    OpenFolder(dir.path());
    State().CurrentImagePath = image;

    WhenTheDialogOpens([&](HWND dlg) {
        EXPECT_EQ(GetWindow(dlg, GW_OWNER), f.hwnd());
        EXPECT_FALSE(IsWindowEnabled(f.hwnd()));
        EXPECT_EQ(WindowText(GetDlgItem(dlg, frmConvert::IdTxtSaveFilename)), dir / L"a-Resize.jpg");
        ::Click(dlg, frmConvert::IdCmdConvertFile);
    });
    dialogs_->menuPicks.push_back(L"&Convert Image");
    f.ShowFileMenu({10, 10}, f.hwnd());
    EXPECT_TRUE(g_scriptRan);
    EXPECT_TRUE(IsWindowEnabled(f.hwnd()));
    EXPECT_GE(Find(L"a-Resize.jpg"), 0);

    f.ViewImage(image, 0, 0, true, true);
    HWND zoom = Probe::Viewer(f).Zoom()->hwnd();
    WhenTheDialogOpens([&](HWND dlg) {
        EXPECT_EQ(GetWindow(dlg, GW_OWNER), zoom);
        EXPECT_FALSE(IsWindowEnabled(zoom));
        EXPECT_FALSE(IsWindowEnabled(f.hwnd()));
    });
    dialogs_->menuPicks.push_back(L"&Convert Image");
    SendMessageW(zoom, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(g_scriptRan);
    EXPECT_TRUE(IsWindowEnabled(zoom));
}
