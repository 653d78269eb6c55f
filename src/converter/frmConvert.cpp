#include "converter/frmConvert.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Dpi.h"
#include "platform/MessagePump.h"
#include <utility>

namespace tessary {

namespace {

// The layout in twips, relative to each control's container.
// The designed client area is 9435 twips wide, but everything visible ends at 6255: the rest held
// only hidden work canvases, so the dialog ends one margin after the last column.
constexpr int kClientWidthTw = 6375, kClientHeightTw = 6030;
constexpr int kResizeLeft = 120, kResizeTop = 120;
constexpr int kRotateLeft = 120, kRotateTop = 2520;
constexpr int kPreviewLeft = 3360, kPreviewTop = 120, kPreviewWidth = 2895, kPreviewHeight = 2535;
constexpr int kFormatLeft = 3360, kFormatTop = 2760;
// The rotation options' size, which the layout leaves to the controls' defaults.
constexpr int kRotateOptionWidth = 2895, kRotateOptionHeight = 255;

const wchar_t* const kRotateCaptions[6] = {
    L"None",        L"90 Degrees Clockwise", L"90 Degrees Counter Clockwise",
    L"180 Degrees", L"Flip Horizontally",    L"Flip Vertically"};
const double kRotateModes[6] = {0, 90, -90, 180, 10, 20};
const wchar_t* const kFormatCaptions[5] = {L"BMP", L"JPG", L"GIF", L"PNG", L"WEBP"};

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM lp) {
    auto* windows = reinterpret_cast<std::vector<HWND>*>(lp);
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
        windows->push_back(hwnd);
    return TRUE;
}

} // namespace

frmConvert::frmConvert(std::wstring sourcePath, HWND owner,
                       std::function<void(const std::wstring&)> fileWritten)
    : sourcePath_(std::move(sourcePath)), owner_(owner), fileWritten_(std::move(fileWritten)) {}

frmConvert::~frmConvert() {
    Unload();
}

int frmConvert::Px(double twips) const {
    return RoundToInt(twips / tppX_);
}
int frmConvert::Py(double twips) const {
    return RoundToInt(twips / tppY_);
}

void frmConvert::Place(HWND control, int containerLeft, int containerTop, int left, int top, int width,
                       int height) {
    SetWindowPos(control, nullptr, Px(containerLeft + left), Py(containerTop + top), Px(width), Py(height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmConvert::ShowModal() {
    if (!Form_Load() || loadFailed_) {
        Unload();
        return;
    }
    // Modal: every other window of the program waits, the opener and the main window included.
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&windows));
    for (HWND w : windows)
        if (w != hwnd() && EnableWindow(w, FALSE) == 0)
            disabled_.push_back(w);
    visible_ = true;
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(optResize[0]);

    MSG msg;
    while (hwnd()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam)); // for the main loop
            Unload();
            break;
        }
        DispatchOne(msg);
    }
}

bool frmConvert::Form_Load() {
    // Laid out for the DPI of the opener's monitor, where the dialog appears.
    const UINT dpi = owner_ ? DpiOfWindow(owner_) : SystemDpi();
    tppX_ = tppY_ = 1440.0 / dpi;
    font_.reset(CreateFontForDpi(L"Arial", 8.25, dpi));

    // 1. The opener's icon.
    HICON icon = owner_ ? reinterpret_cast<HICON>(SendMessageW(owner_, WM_GETICON, ICON_BIG, 0)) : nullptr;
    if (!icon && owner_)
        icon = reinterpret_cast<HICON>(GetClassLongPtrW(owner_, GCLP_HICON));
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, Px(kClientWidthTw), Py(kClientHeightTw)};
    AdjustWindowRectForDpi(frame, style, exStyle, dpi);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;

    // 2. Centred in the work area of the opener's monitor.
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTOPRIMARY), &mi))
        work = mi.rcWork;
    const int x = work.left + (work.right - work.left - width) / 2;
    const int y = work.top + (work.bottom - work.top - height) / 2;
    if (!CreateWindowObject(kClassName, L"Convert Image", style, exStyle, x, y, width, height, owner_, icon))
        return false;
    if (icon) {
        SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    CreateControls();
    RegisterKeyPreview(hwnd(), [this](const MSG& m) { return OnKey(m); });

    // 3. to 8.
    resize_.Set(0);
    SetFieldText(txtSize[2], L"100");
    settings_.RotateMode = 0;
    settings_.ResizePercent = 100;
    settings_.TargetFormat = ConvertFormat::Jpg;
    settings_.JpegQuality = 75;
    format_.Set(1);
    TrackbarSetValue(SliderQuality, 75);
    // 9. The first preview also fills the width and height fields.
    Preview_Image(false);
    return true;
}

void frmConvert::CreateControls() {
    HFONT f = font_.get();
    auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD ex = 0) {
        return CreateControl(cls, hwnd(), text, style, 0, 0, 0, 0, id, f, ex);
    };
    constexpr DWORD kGroupBox = BS_GROUPBOX | WS_GROUP;
    constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | WS_GROUP;
    constexpr DWORD kField = ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
    constexpr DWORD kSlider = TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP | WS_GROUP;
    constexpr DWORD kOption = BS_AUTORADIOBUTTON;

    // Resize.
    Frame1[0] = make(L"BUTTON", L"Resize", kGroupBox, IdStatic);
    Place(Frame1[0], 0, 0, kResizeLeft, kResizeTop, 3135, 2295);
    optResize[0] = make(L"BUTTON", L"Percentage", kOption | WS_TABSTOP | WS_GROUP, IdOptResize0);
    Place(optResize[0], kResizeLeft, kResizeTop, 120, 300, 1215, 255);
    txtSize[2] = make(L"EDIT", L"", kField, IdTxtPercent, WS_EX_CLIENTEDGE);
    Place(txtSize[2], kResizeLeft, kResizeTop, 2040, 270, 615, 315);
    Label2[2] = make(L"STATIC", L"%", kLabel, IdStatic);
    Place(Label2[2], kResizeLeft, kResizeTop, 2760, 300, 255, 255);
    SliderPercentage = make(TRACKBAR_CLASSW, L"", kSlider, IdSliderPercentage);
    Place(SliderPercentage, kResizeLeft, kResizeTop, 360, 600, 2655, 255);
    SendMessageW(SliderPercentage, TBM_SETRANGEMIN, FALSE, 1);
    SendMessageW(SliderPercentage, TBM_SETRANGEMAX, FALSE, kPercentFieldMax);
    SendMessageW(SliderPercentage, TBM_SETTICFREQ, 100, 0);
    SendMessageW(SliderPercentage, TBM_SETPAGESIZE, 0, 10);
    lblImageSize = make(L"STATIC", L"", kLabel, IdLblImageSize);
    Place(lblImageSize, kResizeLeft, kResizeTop, 360, 960, 2655, 255);
    optResize[1] = make(L"BUTTON", L"Arbitrary", kOption | WS_TABSTOP | WS_GROUP, IdOptResize1);
    Place(optResize[1], kResizeLeft, kResizeTop, 120, 1200, 1935, 255);
    Label2[0] = make(L"STATIC", L"Width:", kLabel, IdStatic);
    Place(Label2[0], kResizeLeft, kResizeTop, 360, 1590, 495, 255);
    txtSize[0] = make(L"EDIT", L"", kField, IdTxtWidth, WS_EX_CLIENTEDGE);
    Place(txtSize[0], kResizeLeft, kResizeTop, 960, 1560, 615, 315);
    Label2[1] = make(L"STATIC", L"Height:", kLabel, IdStatic);
    Place(Label2[1], kResizeLeft, kResizeTop, 1680, 1590, 615, 255);
    txtSize[1] = make(L"EDIT", L"", kField, IdTxtHeight, WS_EX_CLIENTEDGE);
    Place(txtSize[1], kResizeLeft, kResizeTop, 2400, 1560, 615, 315);
    chkProportional =
        make(L"BUTTON", L"Constrain Proportions", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, IdChkProportional);
    Place(chkProportional, kResizeLeft, kResizeTop, 420, 1920, 1935, 255);

    // Rotate / Flip: the options stacked 4 pixels apart.
    Frame1[1] = make(L"BUTTON", L"Rotate / Flip", kGroupBox, IdStatic);
    Place(Frame1[1], 0, 0, kRotateLeft, kRotateTop, 3135, 2175);
    int top = Py(kRotateTop + 240);
    for (int i = 0; i < 6; ++i) {
        optRotate[i] = make(L"BUTTON", kRotateCaptions[i], kOption | (i == 0 ? WS_TABSTOP | WS_GROUP : 0),
                            IdOptRotate0 + i);
        SetWindowPos(optRotate[i], nullptr, Px(kRotateLeft + 120), top, Px(kRotateOptionWidth),
                     Py(kRotateOptionHeight), SWP_NOZORDER | SWP_NOACTIVATE);
        top += Py(kRotateOptionHeight) + 4;
    }

    // Preview.
    frmPreview = make(L"BUTTON", L"Preview", kGroupBox, IdStatic);
    Place(frmPreview, 0, 0, kPreviewLeft, kPreviewTop, kPreviewWidth, kPreviewHeight);
    picPreview = make(L"STATIC", L"", SS_OWNERDRAW, IdPicPreview);
    Place(picPreview, kPreviewLeft, kPreviewTop, 240, 240, 2415, 2175);

    // File Format:
    Frame1[3] = make(L"BUTTON", L"File Format:", kGroupBox, IdStatic);
    Place(Frame1[3], 0, 0, kFormatLeft, kFormatTop, 2895, 1935);
    for (int i = 0; i < 5; ++i) {
        optFormat[i] = make(L"BUTTON", kFormatCaptions[i], kOption | (i == 0 ? WS_TABSTOP | WS_GROUP : 0),
                            IdOptFormat0 + i);
        Place(optFormat[i], kFormatLeft, kFormatTop, 120, 240 + 330 * i, 735, 375);
    }
    Label1 = make(L"STATIC", L"JPG Quality Level", kLabel, IdStatic);
    Place(Label1, kFormatLeft, kFormatTop, 840, 480, 1935, 255);
    SliderQuality = make(TRACKBAR_CLASSW, L"", kSlider, IdSliderQuality);
    Place(SliderQuality, kFormatLeft, kFormatTop, 840, 720, 1935, 255);
    SendMessageW(SliderQuality, TBM_SETRANGEMIN, FALSE, 1);
    SendMessageW(SliderQuality, TBM_SETRANGEMAX, FALSE, 100);
    SendMessageW(SliderQuality, TBM_SETTICFREQ, 10, 0);

    // Target and buttons.
    Label3 = make(L"STATIC", L"Target File Name:", kLabel, IdStatic);
    Place(Label3, 0, 0, 120, 4800, 2655, 255);
    txtSaveFilename = make(L"EDIT", L"", kField, IdTxtSaveFilename, WS_EX_CLIENTEDGE);
    Place(txtSaveFilename, 0, 0, 120, 5040, 6135, 315);
    cmdConvertFile =
        make(L"BUTTON", L"Save File", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IdCmdConvertFile);
    Place(cmdConvertFile, 0, 0, 3480, 5520, 1335, 375);
    cmdCancel = make(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IdCmdCancel);
    Place(cmdCancel, 0, 0, 4920, 5520, 1335, 375);
    // Tab enters the rotate and format groups at the selected option; both resize options keep
    // their tab stops, each leading to its own fields.
    resize_.Attach({optResize[0], optResize[1]}, [this](int i) { optResize_Click(i); });
    rotate_.Attach(
        std::vector<HWND>(std::begin(optRotate), std::end(optRotate)), [this](int i) { optRotate_Click(i); },
        true);
    format_.Attach(
        std::vector<HWND>(std::begin(optFormat), std::end(optFormat)), [this](int i) { optFormat_Click(i); },
        true);
    rotate_.Check(0);
    RouteCommands();
}

void frmConvert::Unload() {
    if (!hwnd())
        return;
    visible_ = false;
    UnregisterKeyPreview(hwnd());
    // The opener is enabled again before the dialog goes, so it is the window that becomes active.
    for (HWND w : std::exchange(disabled_, {}))
        EnableWindow(w, TRUE);
    DestroyWindow(hwnd());
}

// Setters.

void frmConvert::SetFieldText(HWND field, const std::wstring& text) {
    if (GetText(field) != text)
        SetWindowTextW(field, text.c_str()); // EN_CHANGE runs the field's handler
}

// The lock follows the field the user changed; the field it sets does not set that one back (a
// round trip through two roundings could change what the user typed).
void frmConvert::SetLockedField(HWND field, int value) {
    lockRunning_ = true;
    SetFieldText(field, std::to_wstring(value));
    lockRunning_ = false;
}

void frmConvert::SetPercentSlider(int value) {
    if (TrackbarValue(SliderPercentage) == value)
        return;
    TrackbarSetValue(SliderPercentage, value);
    SliderPercentage_Change();
}

// Handlers.

void frmConvert::optFormat_Click(int index) {
    settings_.TargetFormat = static_cast<ConvertFormat>(index);
    SetFieldText(txtSaveFilename, ProposedTargetName(sourcePath_, settings_.TargetFormat));
    const int end = GetWindowTextLengthW(txtSaveFilename);
    SendMessageW(txtSaveFilename, EM_SETSEL, end, end);
}

void frmConvert::optResize_Click(int index) {
    const bool percentage = index == 0;
    EnableWindow(txtSize[2], percentage);
    EnableWindow(SliderPercentage, percentage);
    EnableWindow(chkProportional, !percentage);
    EnableWindow(txtSize[0], !percentage);
    EnableWindow(txtSize[1], !percentage);
    if (percentage) {
        settings_.ResizePercent = RoundToInt(FieldNumber(GetText(txtSize[2])));
    } else {
        settings_.ResizePercent = 0;
        settings_.TargetWidth = RoundToInt(FieldNumber(GetText(txtSize[0])));
        settings_.TargetHeight = RoundToInt(FieldNumber(GetText(txtSize[1])));
        settings_.KeepProportions = IsChecked(chkProportional);
    }
}

void frmConvert::optRotate_Click(int index) {
    settings_.RotateMode = kRotateModes[index];
    if (visible_)
        Preview_Image(false);
}

void frmConvert::SliderPercentage_Change() {
    SetFieldText(txtSize[2], std::to_wstring(TrackbarValue(SliderPercentage)));
}

void frmConvert::SliderQuality_Scroll() {
    settings_.JpegQuality = TrackbarValue(SliderQuality);
}

void frmConvert::txtSize_Change(int index) {
    ++handlerDepth_;
    const FieldValue value =
        ClampField(GetText(txtSize[index]), index == 2 ? kPercentFieldMax : kSideFieldMax);
    if (value.text)
        SetFieldText(txtSize[index], *value.text);
    if (index == 0) {
        settings_.TargetWidth = value.rounded();
        if (settings_.KeepProportions && !lockRunning_)
            SetLockedField(txtSize[1], LockedHeight(value.number, settings_.AspectRatio));
    } else if (index == 1) {
        settings_.TargetHeight = value.rounded();
        if (settings_.KeepProportions && !lockRunning_)
            SetLockedField(txtSize[0], LockedWidth(value.number, settings_.AspectRatio));
    } else {
        SetPercentSlider(value.rounded());
        settings_.ResizePercent = value.rounded();
        const IntSize label = PercentSize(sourceSize_, settings_.ResizePercent);
        SetWindowTextW(lblImageSize,
                       (std::to_wstring(label.width) + L" x " + std::to_wstring(label.height)).c_str());
    }
    // A chain of fields set by the lock draws the preview once, at its end.
    if (--handlerDepth_ == 0 && visible_)
        Preview_Image(false);
}

void frmConvert::chkProportional_Click() {
    settings_.KeepProportions = IsChecked(chkProportional);
    if (settings_.KeepProportions)
        SetLockedField(txtSize[1], LockedHeight(FieldNumber(GetText(txtSize[0])), settings_.AspectRatio));
}

void frmConvert::txtSaveFilename_Change() {
    settings_.TargetFileName = GetText(txtSaveFilename);
}

void frmConvert::cmdConvertFile_Click() {
    WaitCursor wait;
    Preview_Image(true);
}

void frmConvert::cmdCancel_Click() {
    Unload();
}

void frmConvert::Preview_Image(bool bSaveImage) {
    const PreviewSource::Status status = source_.Load(sourcePath_);
    if (status != PreviewSource::Status::Ok) {
        Dialogs().ShowMessage(status == PreviewSource::Status::Missing ? SourceUnavailableText(sourcePath_)
                                                                       : SourceUnreadableCause(sourcePath_),
                              MB_OK | MB_ICONEXCLAMATION, AppTitle());
        if (!visible_)
            loadFailed_ = true;
        return;
    }
    const IntSize source = source_.size();
    if (!visible_) {
        const IntSize fields = SizeFieldsFor(source);
        SetFieldText(txtSize[0], std::to_wstring(fields.width));
        SetFieldText(txtSize[1], std::to_wstring(fields.height));
        settings_.AspectRatio = static_cast<double>(source.width) / source.height;
    }
    sourceSize_ = source;
    const IntSize label = PercentSize(source, settings_.ResizePercent);
    SetWindowTextW(lblImageSize,
                   (std::to_wstring(label.width) + L" x " + std::to_wstring(label.height)).c_str());

    // The preview: the source at the canvas size, turned, stretched to the saved picture's aspect
    // and fitted into the frame.
    double aspect = static_cast<double>(source.width) / source.height;
    if (settings_.ResizePercent == 0 && settings_.TargetWidth > 0 && settings_.TargetHeight > 0)
        aspect = static_cast<double>(settings_.TargetWidth) / settings_.TargetHeight;
    const PreviewPlace place =
        PlacePreview(source, aspect, settings_.RotateMode, {kPreviewWidth, kPreviewHeight}, tppX_, tppY_);
    try {
        const PixelImage canvas = RenderPicture(source_.canvas(), PreviewCanvasSize(source),
                                                settings_.RotateMode, AlphaHandling::OnWhite);
        if (!canvas.empty() && preview_.Create(place.size.width, place.size.height)) {
            ScaleScratch scratch;
            const ConstPixelView from{canvas.pixels.data(), canvas.width, canvas.height, canvas.width};
            ScalePixels(from, WholeOf(from),
                        {preview_.bits(), preview_.width(), preview_.height(), preview_.width()},
                        {0, 0, preview_.width(), preview_.height()}, ScaleFilter::Bilinear, scratch);
        }
    } catch (const std::bad_alloc&) {
        preview_.Reset();
    }
    SetWindowPos(picPreview, nullptr, Px(kPreviewLeft + place.leftTwips), Py(kPreviewTop + place.topTwips),
                 place.size.width, place.size.height, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(picPreview, nullptr, TRUE);
    UpdateWindow(picPreview);

    if (!bSaveImage)
        return;
    const SaveOutcome outcome = SaveConverted(sourcePath_, source, settings_);
    if (outcome.message.empty())
        return; // the user kept the existing file
    Dialogs().ShowMessage(outcome.message, MB_OK | outcome.icon, AppTitle());
    if (outcome.written && fileWritten_)
        fileWritten_(outcome.targetPath);
}

void frmConvert::DrawPreview(const DRAWITEMSTRUCT& item) {
    if (preview_.empty()) {
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    preview_.BlitTo(item.hDC, 0, 0);
}

void frmConvert::RouteCommands() {
    CommandTable& t = commandTable_;
    t.Add(IdTxtWidth, EN_CHANGE, [this] { txtSize_Change(0); });
    t.Add(IdTxtHeight, EN_CHANGE, [this] { txtSize_Change(1); });
    t.Add(IdTxtPercent, EN_CHANGE, [this] { txtSize_Change(2); });
    t.Add(IdTxtSaveFilename, EN_CHANGE, [this] { txtSaveFilename_Change(); });
    // A click on an option: it is the one selected in its group, and its handler runs.
    t.Add(IdOptResize0, BN_CLICKED, [this] { resize_.Click(0); });
    t.Add(IdOptResize1, BN_CLICKED, [this] { resize_.Click(1); });
    t.Add(IdOptRotate0, IdOptRotate0 + 5, BN_CLICKED, [this](int i) { rotate_.Click(i); });
    t.Add(IdOptFormat0, IdOptFormat0 + 4, BN_CLICKED, [this](int i) { format_.Click(i); });
    t.Add(IdChkProportional, BN_CLICKED, [this] { chkProportional_Click(); });
    t.Add(IdCmdConvertFile, BN_CLICKED, [this] { cmdConvertFile_Click(); });
    t.Add(IdCmdCancel, BN_CLICKED, [this] { cmdCancel_Click(); });
}

bool frmConvert::OnKey(const MSG& msg) {
    // Enter saves (or presses the focused Cancel button); Escape cancels when it is let go, so its
    // key-up does not reach the window that becomes active.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        if (GetFocus() == cmdCancel)
            cmdCancel_Click();
        else
            cmdConvertFile_Click();
        return true;
    }
    if (msg.wParam == VK_ESCAPE && (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP)) {
        if (msg.message == WM_KEYDOWN)
            escapeDown_ = true;
        else if (std::exchange(escapeDown_, false))
            cmdCancel_Click();
        return true;
    }
    return false;
}

LRESULT frmConvert::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        commandTable_.Dispatch(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lp) == SliderPercentage)
            SliderPercentage_Change();
        else if (reinterpret_cast<HWND>(lp) == SliderQuality)
            SliderQuality_Scroll();
        return 0;
    case WM_DRAWITEM:
        if (wp == IdPicPreview) {
            DrawPreview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        cmdCancel_Click();
        return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

} // namespace tessary
