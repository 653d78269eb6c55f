// "&Desktop": a capture of the real screen, scaled onto the preview.
#include "wallpaper/WallpaperPreview.h"
#include "platform/MessagePump.h"
#include "wallpaper/PreviewGeometry.h"
#include "imaging/PixelOps.h"
#include "wallpaper/PreviewPixels.h"

namespace tessary {

void WallpaperPreview::cmdShowDesktop_Click() {
    previewKey_.clear();
    if (picWPImage_.empty())
        return;
    // Out of the way, and the windows below get the chance to repaint where it was.
    const HWND window = host_.MainWindow();
    const bool wasVisible = IsWindowVisible(window) != FALSE;
    ShowWindow(window, SW_HIDE);
    DoEvents();

    // The chosen monitor's part of the desktop, else the primary screen.
    const IntSize screenSize = PreviewScreenSize();
    const int sw = screenSize.width, sh = screenSize.height;
    const MonitorDesc* chosen = c_.chooser->Chosen();
    const int sx = chosen ? chosen->bounds.left : 0, sy = chosen ? chosen->bounds.top : 0;
    Surface& capture = capture_;
    if (sw > 0 && sh > 0 && (capture.width() != sw || capture.height() != sh))
        capture.Create(sw, sh);
    if (sw > 0 && sh > 0 && !capture.empty()) {
        WindowDC screen(nullptr);
        if (screen.get() && BitBlt(capture.dc(), 0, 0, sw, sh, screen.get(), sx, sy, SRCCOPY)) {
            GdiFlush(); // the DIB's pixels are read directly below
            const PixelView captured{capture.bits(), sw, sh, sw};
            MakeOpaque(captured);
            ScalePixels(captured, WholeOf(captured),
                        {picWPImage_.bits(), picWPImage_.width(), picWPImage_.height(), picWPImage_.width()},
                        {0, 0, picWPImage_.width(), picWPImage_.height()}, ScaleFilter::Bilinear, scratch_);
        }
    }
    if (state_.settings.DrawShading)
        DrawOverlay(std::wstring(kShadingOverlayName));
    if (state_.settings.DrawGlare)
        DrawOverlay(std::wstring(kGlareOverlayName));
    InvalidateRect(c_.preview, nullptr, FALSE);
    if (wasVisible)
        ShowWindow(window, SW_SHOW);
}

} // namespace tessary
