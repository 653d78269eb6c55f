// The main window's wallpaper handlers: preview, applying, reading, desktop view, resampling.
#include "app/SharedState.h"
#include "app/frmMain.h"

namespace tessary {

void frmMain::Wallpaper_InitControls() {}

void frmMain::ReadCurrentWallpaper() {}
void frmMain::ApplyWallpaper() {}
void frmMain::DrawPreview(const std::wstring&) {}
void frmMain::DrawOverlay(const std::wstring&) {}
void frmMain::optMode_Click(int) {
    DrawPreview(state.CurrentImagePath);
}

void frmMain::chkOverlay_Click(int index) {
    if (index == 0)
        state.DrawShading = IsChecked(chkOverlay[0]);
    else if (index == 1)
        state.DrawGlare = IsChecked(chkOverlay[1]);
    DrawPreview(state.CurrentImagePath);
}

void frmMain::cmdShowDesktop_Click() {}
void frmMain::cmdSetWP_Click() {}
void frmMain::cmdIconButton_Click(int) {}
void frmMain::picWP_Click() {}
void frmMain::cmdDirBrowserWallpaper_Click(int) {}

} // namespace tessary
