// The screen as the program measures it: twips per pixel, and the work areas of the monitors.
#pragma once
#include "core/Geometry.h"
#include <windows.h>
#include <vector>

namespace tessary {

// Twips per pixel of the screen, horizontal and vertical (15 at 96 dots per inch).
double TwipsPerPixelX();
double TwipsPerPixelY();

// The work area of the monitor that holds most of window (the primary monitor for nullptr or a
// window on none), and whether that monitor is the primary one. False, with the whole primary
// screen in rect, when the monitor cannot be asked.
bool GetMonitorWorkArea(HWND window, IntRect& rect, bool& isPrimary);
// The work areas of every monitor.
std::vector<IntRect> MonitorWorkAreas();

} // namespace tessary
