#include "ui/Screen.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace dravik::ui {
namespace {
std::mutex gMutex;
Size gSize;
bool gSet = false;
}  // namespace

Size ScreenSize() {
    std::lock_guard lock(gMutex);
    if (!gSet) {
        gSize = {1920, 1080};
        if (const char* v = std::getenv("DRAVIK_SCREEN")) {
            int w = 0, h = 0;
            if (std::sscanf(v, "%dx%d", &w, &h) == 2 && w > 0 && h > 0)
                gSize = {w, h};
        }
        gSet = true;
    }
    return gSize;
}

void SetScreenSize(Size size) {
    std::lock_guard lock(gMutex);
    gSize = size;
    gSet = true;
}

}  // namespace dravik::ui
