// "Convert Image": the modal dialog in which the user turns one picture into a new file of another
// format, size, rotation or mirror image and JPEG quality. It knows only the picture, the window
// that opened it, and whom to tell about a file it wrote.
#pragma once
#include "converter/ConvertEngine.h"
#include "platform/Buttons.h"
#include "platform/CommandTable.h"
#include "platform/Handles.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include <functional>
#include <string>
#include <vector>

namespace tessary {

class frmConvert final : public Window {
public:
    // fileWritten is called with the full path of every file a save wrote.
    frmConvert(std::wstring sourcePath, HWND owner, std::function<void(const std::wstring&)> fileWritten);
    ~frmConvert() override;

    // Loads the dialog and runs it modally: every other window of the program is disabled until it
    // closes. Returns at once, after a message, when the picture cannot be read.
    void ShowModal();

    // The engine: reads the source, redraws the preview and, with bSaveImage, writes the target.
    void Preview_Image(bool bSaveImage);

    // The window class name, by which tests find the dialog while it runs.
    static constexpr const wchar_t* kClassName = L"TessaryConvert";

    // Control ids, in tab order.
    enum ControlId : int {
        IdOptResize0 = 100,
        IdTxtPercent,
        IdSliderPercentage,
        IdLblImageSize,
        IdOptResize1,
        IdTxtWidth,
        IdTxtHeight,
        IdChkProportional,
        IdOptRotate0,                    // to IdOptRotate0 + 5
        IdOptFormat0 = IdOptRotate0 + 6, // to IdOptFormat0 + 4
        IdSliderQuality = IdOptFormat0 + 5,
        IdTxtSaveFilename,
        IdCmdConvertFile,
        IdCmdCancel,
        IdPicPreview,
        IdStatic,
    };

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool Form_Load();
    void Unload();
    void CreateControls();
    void optFormat_Click(int index);
    void optResize_Click(int index);
    void optRotate_Click(int index);
    void SliderPercentage_Change();
    void SliderQuality_Scroll();
    void txtSize_Change(int index);
    void chkProportional_Click();
    void txtSaveFilename_Change();
    void cmdConvertFile_Click();
    void cmdCancel_Click();
    void RouteCommands();
    bool OnKey(const MSG& msg);
    void DrawPreview(const DRAWITEMSTRUCT& item);

    // Setters that run the control's handler, as a user's change would.
    void SetFieldText(HWND field, const std::wstring& text);
    void SetPercentSlider(int value);
    void SetLockedField(HWND field, int value);

    int Px(double twips) const;
    int Py(double twips) const;
    void Place(HWND control, int containerLeft, int containerTop, int left, int top, int width, int height);

    std::wstring sourcePath_;
    HWND owner_ = nullptr;
    std::function<void(const std::wstring&)> fileWritten_;
    ConvertSettings settings_;
    PreviewSource source_;
    IntSize sourceSize_; // ConvertSourceWidth x ConvertSourceHeight
    bool visible_ = false;
    bool loadFailed_ = false;
    bool firstPreview_ = true;
    int handlerDepth_ = 0;
    bool escapeDown_ = false;
    bool lockRunning_ = false;
    double tppX_ = 15, tppY_ = 15;
    std::vector<HWND> disabled_;
    UniqueFont font_;
    Surface preview_;

    HWND Frame1[4] = {};
    HWND optResize[2] = {};
    HWND txtSize[3] = {};
    HWND Label2[3] = {};
    HWND SliderPercentage = nullptr;
    HWND lblImageSize = nullptr;
    HWND chkProportional = nullptr;
    HWND optRotate[6] = {};
    HWND frmPreview = nullptr;
    HWND picPreview = nullptr;
    HWND optFormat[5] = {};
    RadioGroup resize_, rotate_, format_;
    CommandTable commandTable_;
    HWND Label1 = nullptr;
    HWND SliderQuality = nullptr;
    HWND Label3 = nullptr;
    HWND txtSaveFilename = nullptr;
    HWND cmdConvertFile = nullptr;
    HWND cmdCancel = nullptr;
};

} // namespace tessary
