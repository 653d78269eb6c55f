// The main window's side of the viewer.
#include "app/frmMain.h"

namespace tessary {

void frmMain::UnloadZoom() {}

} // namespace tessary
