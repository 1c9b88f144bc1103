#pragma once
// CMainWnd: the program's only top-level window. This is its shell: the window, its layout and
// callback, the tray icon, the menus, quitting on destroy. Device handling, timers and routing
// of the pages arrive with their subsystems.
#include <string>

#include "ui/TrayIcon.h"
#include "ui/WindowImplBase.h"

namespace dravik {

inline constexpr uint32_t kTrayIconMessage = 0x401;
inline constexpr uint32_t kMainIconResource = 107;

class CMainWnd : public ui::WindowImplBase {
  public:
    std::string GetWindowClassName() const override { return "MainWnd"; }
    std::string GetSkinFile() override { return "XML_MAIN"; }
    void InitWindow() override;
    ui::CControlUI* CreateControl(const std::string& tag) override;
    int64_t HandleCustomMessage(uint32_t msg, uint64_t wParam, int64_t lParam,
                                bool& handled) override;
    void OnClick(ui::TNotifyUI& msg) override;

    // Shows the window from hidden, minimised or tray state and brings it to the front.
    void RestoreAndActivate();
    const ui::TrayIcon& Tray() const { return tray_; }

  protected:
    int64_t OnDestroy(bool& handled) override;

  private:
    ui::TrayIcon tray_;
    ui::HWND aboutWindow_ = 0;  // the open About window, 0 when none
};

}  // namespace dravik
