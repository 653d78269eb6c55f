// Message dispatch: the main loop and the "let pending messages run" checkpoint.
#pragma once
#include <windows.h>
#include <functional>

namespace tessary {

// A window that wants to see keyboard messages before its focused child does (key preview).
// Return true to swallow the message; normally return false so the control still gets it.
using KeyPreviewHandler = std::function<bool(const MSG&)>;
void RegisterKeyPreview(HWND topLevel, KeyPreviewHandler handler);
void UnregisterKeyPreview(HWND topLevel);

// Runs one message through key preview, dialog navigation and dispatch.
void DispatchOne(MSG& msg);
// Lets every pending message run, then returns (the checkpoint of long work).
void DoEvents();
// The longest time, in seconds, between two runs of DoEvents since the last reset (the reset
// counts as a run): how long the window may have kept a user waiting during long work.
void ResetPumpGap();
double LongestPumpGap();
// The main loop: runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

} // namespace tessary
