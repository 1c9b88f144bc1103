#pragma once
// The screen the windows live on. The headless backend reports 1920x1080 unless DRAVIK_SCREEN=WxH
// says otherwise.
#include "ui/Geometry.h"

namespace dravik::ui {

Size ScreenSize();
void SetScreenSize(Size size);

}  // namespace dravik::ui
