#pragma once
// CAboutWnd: the About window, opened from the tray menu, one at a time. It shows the program's
// version text, taken from the language through the hidden "text_test" label.
#include <string>

#include "ui/WindowImplBase.h"

namespace dravik {

inline constexpr uint32_t kLanguageChangedMessage = 0xC11;

class CAboutWnd : public ui::WindowImplBase {
  public:
    // Opens the About window modally unless one is open; heldHandle is the owner's record of the
    // open window (0 when none), set while it runs and cleared afterwards.
    static void Open(ui::HWND owner, ui::HWND& heldHandle);

    std::string GetWindowClassName() const override { return "AboutWnd"; }
    std::string GetSkinFile() override { return "AboutWnd.xml"; }
    void InitWindow() override;
    void Notify(ui::TNotifyUI& msg) override;
    int64_t HandleCustomMessage(uint32_t msg, uint64_t wParam, int64_t lParam,
                                bool& handled) override;
    void OnFinalMessage(ui::HWND) override { delete this; }

  private:
    void SwapZoomButtons();
    bool zoomed_ = false;
    ui::CControlUI* closeBtn_ = nullptr;
    ui::CControlUI* maxBtn_ = nullptr;
    ui::CControlUI* restoreBtn_ = nullptr;
    ui::CControlUI* minBtn_ = nullptr;
    ui::CControlUI* menuBtn_ = nullptr;
};

}  // namespace dravik
