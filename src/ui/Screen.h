#pragma once
// The screen the windows live on. SetScreenSize (tests) and DRAVIK_SCREEN=WxH fix the size;
// otherwise the display backend's monitors give it, and headless it is 1920x1080.
#include "ui/Geometry.h"
#include "ui/Messages.h"

namespace dravik::ui {

// The primary monitor's size.
Size ScreenSize();
// Fixes the size for the rest of the run (tests).
void SetScreenSize(Size size);
// The whole rectangle of the monitor the window is on (the primary one for 0 or an unknown
// window), not its work area: the DPI rule compares this size.
Rect MonitorRectOf(HWND hwnd);

}  // namespace dravik::ui
