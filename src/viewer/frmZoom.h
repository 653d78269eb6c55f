// The viewer: one image in a window of its own, fitted to the monitor, closed by a click,
// Escape or Enter, with the main window's wallpaper commands on its right button.
#pragma once
#include "imaging/PictureDecoder.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "viewer/cTrackMouse.h"
#include "core/Geometry.h"
#include <memory>
#include <string>

namespace tessary {

class frmMain;

class frmZoom final : public Window {
public:
    explicit frmZoom(frmMain& owner) : owner_(owner) {}
    ~frmZoom() override;

    // Creates the (hidden) window if it does not exist yet: its load handler runs.
    bool Load();
    // Closes the window; the object stays and can load again.
    void Unload();
    bool IsLoaded() const { return hwnd() != nullptr; }

    void ViewImage(const std::wstring& ImagePath, int ViewWidth, int ViewHeight, bool CenterOnMonitor,
                   bool FitWindow);

    // What the window shows (for tests and painting).
    const Surface& Picture() const { return picture_; }
    // What the frame and caption add to a client area of this window.
    IntSize FrameExtra() const { return frameExtra_; }

    std::unique_ptr<cTrackMouse> SubClass_Form;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Form_Load();
    void Form_Unload();
    void Form_Resize(int windowState);
    void Form_MouseUp(int button);
    void SubClass_Form_WindowPosChanging(WPARAM wParam, LPARAM lParam);
    void SubClass_Form_ExitSizeMove();
    void RedrawAtClientSize();

    frmMain& owner_;
    Surface picture_;
    PictureDecoder decoder_;
    std::wstring imagePath_; // the picture shown
    IntSize frameExtra_;
    bool leftButtonDown_ = false; // a click is a press and a release on this window
};

} // namespace tessary
