#include "viewer/ImageViewer.h"

namespace tessary {

void ImageViewer::ViewImage(const std::wstring& ImagePath, int ViewWidth, int ViewHeight,
                            bool CenterOnMonitor, bool FitWindow) {
    if (ImagePath.empty())
        return;
    if (!zoom_)
        zoom_ = std::make_unique<frmZoom>(host_);
    zoom_->ViewImage(ImagePath, ViewWidth, ViewHeight, CenterOnMonitor, FitWindow);
}

void ImageViewer::UnloadZoom() {
    if (zoom_)
        zoom_->Unload();
}

} // namespace tessary
