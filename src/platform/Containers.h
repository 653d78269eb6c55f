// Container windows: frames (a captioned, etched group border) and picture boxes (a plain
// holder that can show a persistent off-screen surface). Both pass their children's
// notifications on to the top-level window, so one form handles every control's events.
#pragma once
#include <windows.h>
#include <string>

namespace tessary {

class Surface;

// WM_COMMAND notification codes a picture box sends to its top-level window.
constexpr WORD kPictureClicked = 0x0F01;

HWND CreateFrame(HWND parent, const std::wstring& caption, int x, int y, int w, int h, int id);
HWND CreatePictureBox(HWND parent, int x, int y, int w, int h, int id);
// The surface a picture box paints (not owned; nullptr paints the face colour). The owner
// keeps the surface alive as long as the box shows it, and invalidates the box after drawing.
void SetPictureSurface(HWND pictureBox, const Surface* surface);

} // namespace tessary
