// The viewer: one image in a window of its own, fitted to the monitor, closed by a click,
// Escape or Enter, with the main window's wallpaper commands on its right button.
#pragma once
#include "core/Geometry.h"
#include "imaging/PictureDecoder.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "viewer/cTrackMouse.h"
#include <memory>
#include <string>

namespace tessary {

// What the viewer may ask of the window that opens it.
class ZoomHost {
public:
    // The window whose icon the viewer shows and on whose monitor it is centred.
    virtual HWND MainWindow() const = 0;
    // The work area an image is fitted into.
    virtual IntSize WorkArea() const = 0;
    // The image menu with only the wallpaper and conversion commands, acting on imagePath, at a
    // screen position over owner.
    virtual void ShowViewerMenu(POINT screen, HWND owner, const std::wstring& imagePath) = 0;

protected:
    ~ZoomHost() = default;
};

class frmZoom final : public Window {
public:
    explicit frmZoom(ZoomHost& host) : host_(host) {}
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

    ZoomHost& host_;
    Surface picture_;
    PictureDecoder decoder_;
    std::wstring imagePath_; // the picture shown
    IntSize frameExtra_;
    // Width / height of the image shown.
    double imageAspect_ = 0.0;
    // The window state the resize handler saw last (0 normal, 1 minimised, 2 maximised).
    int lastWindowState_ = 0;
    bool leftButtonDown_ = false; // a click is a press and a release on this window
};

} // namespace tessary
