// The main window's side of the viewer.
#include "app/frmMain.h"
#include "viewer/frmZoom.h"

namespace tessary {

ViewerPart::ViewerPart() = default;
ViewerPart::~ViewerPart() = default;

void frmMain::ViewImage(const std::wstring& ImagePath, int ViewWidth, int ViewHeight, bool CenterOnMonitor,
                        bool FitWindow) {
    if (ImagePath.empty())
        return;
    if (!viewer.Zoom)
        viewer.Zoom = std::make_unique<frmZoom>(*this);
    viewer.Zoom->ViewImage(ImagePath, ViewWidth, ViewHeight, CenterOnMonitor, FitWindow);
}

void frmMain::UnloadZoom() {
    if (viewer.Zoom)
        viewer.Zoom->Unload();
}

} // namespace tessary
