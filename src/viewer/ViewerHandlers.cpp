// The main window's side of the viewer.
#include "app/frmMain.h"

namespace tessary {

void frmMain::ViewImage(const std::wstring&, int, int, bool, bool) {}
void frmMain::UnloadZoom() {}

} // namespace tessary
