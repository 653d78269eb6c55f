// The entry routine and its helpers.
#pragma once
#include <windows.h>

namespace tessary {

// Initialises the common controls for every control class the program uses.
bool InitControls();
// The program: checks, the main window, the message loop. Returns the exit code.
int Main();

} // namespace tessary
