// "&Desktop": a capture of the real screen, scaled onto the preview.
#include "core/SharedState.h"
#include "app/frmMain.h"
#include "platform/MessagePump.h"
#include "wallpaper/PreviewGeometry.h"
#include "imaging/PixelOps.h"
#include "wallpaper/PreviewPixels.h"

namespace tessary {

void frmMain::cmdShowDesktop_Click() {
    wallpaper.previewKey.clear();
    if (picWPImage.empty())
        return;
    // Out of the way, and the windows below get the chance to repaint where it was.
    const bool wasVisible = IsWindowVisible(hwnd()) != FALSE;
    ShowWindow(hwnd(), SW_HIDE);
    DoEvents();

    // The chosen monitor's part of the desktop, else the primary screen.
    const IntSize screenSize = PreviewScreenSize();
    const int sw = screenSize.width, sh = screenSize.height;
    const MonitorDesc* chosen = wallpaper.chooser.Chosen();
    const int sx = chosen ? chosen->bounds.left : 0, sy = chosen ? chosen->bounds.top : 0;
    Surface& capture = wallpaper.capture;
    if (sw > 0 && sh > 0 && (capture.width() != sw || capture.height() != sh))
        capture.Create(sw, sh);
    if (sw > 0 && sh > 0 && !capture.empty()) {
        WindowDC screen(nullptr);
        if (screen.get() && BitBlt(capture.dc(), 0, 0, sw, sh, screen.get(), sx, sy, SRCCOPY)) {
            GdiFlush(); // the DIB's pixels are read directly below
            const PixelView captured{capture.bits(), sw, sh, sw};
            MakeOpaque(captured);
            ScalePixels(captured, WholeOf(captured),
                        {picWPImage.bits(), picWPImage.width(), picWPImage.height(), picWPImage.width()},
                        {0, 0, picWPImage.width(), picWPImage.height()}, ScaleFilter::Bilinear,
                        wallpaper.scratch);
        }
    }
    if (state.DrawShading)
        DrawOverlay(std::wstring(kShadingOverlayName));
    if (state.DrawGlare)
        DrawOverlay(std::wstring(kGlareOverlayName));
    InvalidateRect(picWP, nullptr, FALSE);
    if (wasVisible)
        ShowWindow(hwnd(), SW_SHOW);
}

} // namespace tessary
