#pragma once
// CMsgWnd: the program's message box, a modal window on the "XML_MSG" layout with a title, a
// text and a confirm and a cancel button. It deletes itself when its window is destroyed.
#include <string>

#include "ui/WindowImplBase.h"

namespace dravik {

class CMsgWnd : public ui::WindowImplBase {
  public:
    // Shows a message box owned by parent and returns 1 (confirm) or 0 (cancel or close).
    // buttonMode 0 offers the confirm button only, 1 both; other values keep the layout's own.
    // A DPI other than 48, 72, 96, 120, 144, 168 or 192 falls back to 96.
    static uint32_t ShowMessageBox(ui::HWND parent, const std::string& title,
                                   const std::string& text, int dpi, bool textIsResource,
                                   int buttonMode);
    // The DPI the message box uses for a requested value.
    static int CheckedDpi(int dpi);

    std::string GetWindowClassName() const override { return "MsgWnd"; }
    std::string GetSkinFile() override { return "XML_MSG"; }
    void InitWindow() override;
    void Notify(ui::TNotifyUI& msg) override;
    // WM_DPICHANGED: wParam's low word is the new DPI, lParam points at the suggested window
    // rectangle (a ui::Rect).
    int64_t HandleCustomMessage(uint32_t msg, uint64_t wParam, int64_t lParam,
                                bool& handled) override;
    void OnFinalMessage(ui::HWND) override { delete this; }

  private:
    ui::CControlUI* closeButton_ = nullptr;
    int dpi_ = 96;
};

// Routes a title-bar button of a skin window: close, minimise, maximise, restore. Returns true
// when the sender was one of them.
bool HandleCaptionButton(ui::CWindowWnd& wnd, const std::string& senderName, uint32_t closeResult);

}  // namespace dravik
