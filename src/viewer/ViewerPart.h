// Working state of the main window that belongs to the viewer.
#pragma once
#include <memory>

namespace tessary {

class frmZoom;

struct ViewerPart {
    ViewerPart();
    ~ViewerPart();
    ViewerPart(const ViewerPart&) = delete;
    ViewerPart& operator=(const ViewerPart&) = delete;
    // Created on first use; one viewer for the whole run.
    std::unique_ptr<frmZoom> Zoom;
    // The window state the viewer's resize handler saw last (0 normal, 1 minimised, 2 maximised).
    int LastWindowState = 0;
};

} // namespace tessary
