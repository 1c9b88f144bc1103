#include "ui/Screen.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "ui/DisplayBackend.h"

namespace dravik::ui {
namespace {

std::mutex gMutex;
std::optional<Size> gFixed;  // SetScreenSize or DRAVIK_SCREEN
bool gEnvRead = false;

std::optional<Size> FixedSize() {
    std::lock_guard lock(gMutex);
    if (!gEnvRead) {
        gEnvRead = true;
        if (const char* v = std::getenv("DRAVIK_SCREEN"); v && !gFixed) {
            int w = 0, h = 0;
            if (std::sscanf(v, "%dx%d", &w, &h) == 2 && w > 0 && h > 0)
                gFixed = Size{w, h};
        }
    }
    return gFixed;
}

}  // namespace

Size ScreenSize() {
    if (auto fixed = FixedSize())
        return *fixed;
    if (auto r = CurrentBackend().MonitorRect(0))
        return {r->Width(), r->Height()};
    return {1920, 1080};
}

void SetScreenSize(Size size) {
    std::lock_guard lock(gMutex);
    gFixed = size;
    gEnvRead = true;
}

Rect MonitorRectOf(HWND hwnd) {
    if (auto fixed = FixedSize())
        return {0, 0, fixed->cx, fixed->cy};
    if (auto r = CurrentBackend().MonitorRect(hwnd))
        return *r;
    return {0, 0, 1920, 1080};
}

}  // namespace dravik::ui
