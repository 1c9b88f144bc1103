#pragma once
// CSelectPanelUI: the panel that holds a device picture and its key and LED buttons. Dragging a
// rectangle on the panel marks every direct child of class "DeviceKeyButton" that the rectangle
// touches and clears the mark of every other one, then sends "click_select_end".
//
// States: idle; pressed (button down on the enabled panel); dragging (first move while pressed).
// The button up returns to idle; only the way out of dragging marks and notifies.
#include <string>

#include "ui/Container.h"

namespace dravik {

class CSelectPanelUI : public ui::CVerticalLayoutUI {
  public:
    std::string GetClass() const override { return "SelectPanel"; }
    void* GetInterface(const std::string& name) override;
    void DoEvent(ui::TEventUI& event) override;

    bool IsPressed() const { return pressed_; }
    bool IsDragging() const { return dragging_; }
    ui::Point GetAnchorPoint() const { return anchor_; }
    ui::Point GetCurrentPoint() const { return current_; }
    // The last drag's rectangle in window pixels (the event points' space); kept after the drag.
    const ui::Rect& GetSelectionRect() const { return selection_; }

  private:
    void MarkKeyButtons();

    ui::Point anchor_;
    ui::Point current_;
    bool pressed_ = false;
    bool dragging_ = false;
    ui::Rect selection_;
};

}  // namespace dravik
