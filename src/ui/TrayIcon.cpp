#include "ui/TrayIcon.h"

namespace dravik::ui {

bool TrayIcon::Create(HWND owner, uint32_t iconId, const std::string& tooltip,
                      uint32_t callbackMessage) {
    owner_ = owner;
    iconId_ = iconId;
    tooltip_ = tooltip;
    callback_ = callbackMessage;
    shown_ = owner != 0;
    return shown_;
}

void TrayIcon::Remove() {
    shown_ = false;
}

}  // namespace dravik::ui
