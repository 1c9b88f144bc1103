#pragma once
// The SDL2 display backend: one borderless SDL window per top-level window (main window, modal
// dialogs, popup menus, drop-downs), each painted by cairo into its own surface and shown
// through an SDL texture. Pointer, wheel, keyboard, text, hover, leave, activation, close and
// display changes arrive as the window messages the rest of the UI library already handles.
// Only this backend's source includes SDL headers.
#include <memory>
#include <string>

#include "ui/DisplayBackend.h"

namespace dravik::ui {

// Opens the display on the calling thread, which stays the UI thread for the whole run (SDL
// reads its events on the thread that initialised video). nullptr, with the reason in error,
// when no display can be opened.
std::unique_ptr<DisplayBackend> CreateSdlBackend(std::string* error = nullptr);

}  // namespace dravik::ui
