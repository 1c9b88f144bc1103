#pragma once
// The tray-icon interface. A tray icon reports clicks to its owner window as the callback message
// (0x401 in this system) with the mouse message in lParam. Without a desktop tray (headless, or no
// status-notifier host) the icon is a no-op that still remembers its state, and tests drive the
// owner by sending the callback message themselves.
#include <cstdint>
#include <string>

#include "ui/Messages.h"

namespace dravik::ui {

class TrayIcon {
  public:
    bool Create(HWND owner, uint32_t iconId, const std::string& tooltip, uint32_t callbackMessage);
    void Remove();
    bool IsShown() const { return shown_; }
    const std::string& Tooltip() const { return tooltip_; }
    uint32_t Icon() const { return iconId_; }
    uint32_t CallbackMessage() const { return callback_; }
    HWND Owner() const { return owner_; }

  private:
    HWND owner_ = 0;
    uint32_t iconId_ = 0;
    uint32_t callback_ = 0;
    std::string tooltip_;
    bool shown_ = false;
};

}  // namespace dravik::ui
