// The main window's side of the viewer: one frmZoom for the whole run, made on first use.
#pragma once
#include "viewer/frmZoom.h"
#include <memory>
#include <string>

namespace tessary {

class ImageViewer {
public:
    explicit ImageViewer(ZoomHost& host) : host_(host) {}
    ImageViewer(const ImageViewer&) = delete;
    ImageViewer& operator=(const ImageViewer&) = delete;

    void ViewImage(const std::wstring& ImagePath, int ViewWidth, int ViewHeight, bool CenterOnMonitor,
                   bool FitWindow);
    // Closes the viewer when it is open.
    void UnloadZoom();
    // The viewer window object; nullptr before the first image was viewed.
    frmZoom* Zoom() const { return zoom_.get(); }

private:
    ZoomHost& host_;
    std::unique_ptr<frmZoom> zoom_;
};

} // namespace tessary
