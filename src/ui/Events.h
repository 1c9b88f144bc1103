#pragma once
// Notifications (what controls tell their window) and input events (what the window tells a
// control).
#include <cstdint>
#include <string>

#include "ui/Geometry.h"

namespace dravik::ui {

class CControlUI;

struct TNotifyUI {
    std::string sType;
    std::string sVirtualWnd;
    CControlUI* pSender = nullptr;
    uint32_t dwTimestamp = 0;
    Point ptMouse;
    uint64_t wParam = 0;
    int64_t lParam = 0;
};

class INotifyUI {
  public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

// A window message as it reaches a message filter; return non-zero with handled = true to stop.
class IMessageFilterUI {
  public:
    virtual ~IMessageFilterUI() = default;
    virtual int64_t MessageHandler(uint32_t msg, uint64_t wParam, int64_t lParam,
                                   bool& handled) = 0;
};

enum class UIEvent {
    MouseMove,
    MouseLeave,
    MouseEnter,
    MouseHover,
    ButtonDown,
    ButtonUp,
    DblClick,
    RButtonDown,
    RButtonUp,
    ScrollWheel,
    KeyDown,
    KeyUp,
    Char,
    SetFocus,
    KillFocus,
    Timer,
    SetCursor,
};

struct TEventUI {
    UIEvent type = UIEvent::MouseMove;
    CControlUI* pSender = nullptr;
    uint32_t dwTimestamp = 0;
    Point ptMouse;
    uint32_t chKey = 0;      // key code or character
    uint16_t wKeyState = 0;  // modifier state
    uint64_t wParam = 0;
    int64_t lParam = 0;
};

// Key codes used by the input path (the platform's virtual-key numbers).
enum VirtualKey : uint32_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_DELETE = 0x2E,
};

}  // namespace dravik::ui
