#pragma once
// CMenuWnd: a popup menu built from menu XML (<Menu><MenuElement name="…" text="…"/>…</Menu>),
// placed at a point with the alignment flags (left 2, top 4, right 8, bottom 16: which side of
// the point the menu opens towards), kept on the screen. Choosing an item sends the menu-command
// message (0x479) to the owner window with lParam pointing at a MenuCommand for the duration of
// the call, then closes the menu. A click in any other window closes it too.
#include <string>

#include "ui/ListControls.h"
#include "ui/WindowImplBase.h"

namespace dravik::ui {

inline constexpr uint32_t kMenuCommandMessage = 0x479;

struct MenuCommand {
    std::string name;  // the chosen item's name
    std::string text;
};

enum MenuAlign : uint32_t {
    eMenuAlignment_Left = 2,
    eMenuAlignment_Top = 4,
    eMenuAlignment_Right = 8,
    eMenuAlignment_Bottom = 16,
};

class CMenuWnd : public WindowImplBase {
  public:
    CMenuWnd() = default;
    // Builds the menu from xml and shows it; owner receives the command.
    bool Init(const std::string& xml, Point point, CPaintManagerUI* ownerManager,
              uint32_t alignment = eMenuAlignment_Left | eMenuAlignment_Top);
    std::string GetSkinFile() override { return xml_; }
    std::string GetWindowClassName() const override { return "MenuWnd"; }
    bool ClosesOnOutsideClick() const override { return true; }
    void OnFinalMessage(HWND) override { delete this; }
    void Notify(TNotifyUI& msg) override;

    // Where a menu of this size opens for the point and alignment, kept on the screen.
    static Rect Place(Point point, Size size, uint32_t alignment, Size screen);

  private:
    std::string xml_;
    HWND owner_ = 0;
};

// The menu element: a row of a menu.
class CMenuElementUI : public CListLabelElementUI {
  public:
    std::string GetClass() const override { return "MenuElementUI"; }
    void* GetInterface(const std::string& name) override;
};

}  // namespace dravik::ui
