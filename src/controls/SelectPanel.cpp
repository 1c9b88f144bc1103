#include "controls/SelectPanel.h"

#include <algorithm>

#include "controls/DeviceKeyButton.h"
#include "ui/PaintManager.h"

namespace dravik {

void* CSelectPanelUI::GetInterface(const std::string& name) {
    return name == "SelectPanel" ? this : CVerticalLayoutUI::GetInterface(name);
}

void CSelectPanelUI::DoEvent(ui::TEventUI& event) {
    CVerticalLayoutUI::DoEvent(event);
    switch (event.type) {
        case ui::UIEvent::ButtonDown:
            if (IsEffectivelyEnabled()) {
                pressed_ = true;
                anchor_ = event.ptMouse;
            }
            break;
        case ui::UIEvent::MouseMove:
            if (pressed_)
                dragging_ = true;
            if (dragging_) {
                current_ = event.ptMouse;
                selection_ = {std::min(anchor_.x, current_.x), std::min(anchor_.y, current_.y),
                              std::max(anchor_.x, current_.x), std::max(anchor_.y, current_.y)};
                NeedUpdate();
            }
            break;
        case ui::UIEvent::ButtonUp:
            pressed_ = false;
            if (dragging_) {
                dragging_ = false;
                anchor_ = current_;
                MarkKeyButtons();
                NeedUpdate();
                if (manager_)
                    manager_->SendNotify(this, "click_select_end");
            }
            break;
        default:
            break;
    }
}

void CSelectPanelUI::MarkKeyButtons() {
    for (ui::CControlUI* child : items_) {
        // Only the exact class: look-alike classes and subclasses with their own name are left.
        if (child->GetClass() != "DeviceKeyButton")
            continue;
        auto* key = static_cast<CDeviceKeyButtonUI*>(child->GetInterface("DeviceKeyButton"));
        if (!key)
            continue;
        key->SetMarqueeSelected(child->GetPos().Intersect(selection_).Empty() ? 0 : 1);
    }
}

}  // namespace dravik
