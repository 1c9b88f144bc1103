#include "controls/ComboEditContainerElement.h"

#include "ui/DialogBuilder.h"
#include "ui/PaintManager.h"

namespace dravik {
namespace {

constexpr uint64_t kMkControl = 0x0008;  // Ctrl held, in a mouse message's key state

bool IsMouseEvent(ui::UIEvent type) {
    switch (type) {
        case ui::UIEvent::MouseMove:
        case ui::UIEvent::MouseLeave:
        case ui::UIEvent::MouseEnter:
        case ui::UIEvent::MouseHover:
        case ui::UIEvent::ButtonDown:
        case ui::UIEvent::ButtonUp:
        case ui::UIEvent::DblClick:
        case ui::UIEvent::RButtonDown:
        case ui::UIEvent::RButtonUp:
        case ui::UIEvent::ScrollWheel:
            return true;
        default:
            return false;
    }
}

}  // namespace

void* CComboEditContainerElementUI::GetInterface(const std::string& name) {
    return name == "ComboEditContainerElement" ? this : CListContainerElementUI::GetInterface(name);
}

void CComboEditContainerElementUI::SetAttribute(const std::string& name, const std::string& value) {
    // The row draws no state images of its own.
    if (name == "normalimage" || name == "hotimage" || name == "selectedimage")
        return;
    CListContainerElementUI::SetAttribute(name, value);
}

void CComboEditContainerElementUI::Init() {
    if (built_ || !manager_)
        return;
    built_ = true;
    ui::CDialogBuilder builder;
    ui::CControlUI* content = builder.Create(kItemLayout, "", nullptr, manager_, this);
    RemoveAll();
    if (content)
        Add(content);
    text1_ = manager_->FindSubControlByName(this, "text1");
    text2_ = manager_->FindSubControlByName(this, "text2");
    delayEdit_ = manager_->FindSubControlByName(this, "delay_edit");
}

bool CComboEditContainerElementUI::Activate() {
    if (!ui::CControlUI::Activate())
        return false;
    if (manager_)
        manager_->SendNotify(this, "itemactivate");
    return true;
}

void CComboEditContainerElementUI::DoEvent(ui::TEventUI& event) {
    ui::IListOwnerUI* owner = GetOwner();
    auto passOn = [&] {
        if (owner)
            owner->OwnerControl()->DoEvent(event);
        else
            CHorizontalLayoutUI::DoEvent(event);
    };
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        passOn();
        return;
    }
    bool enabled = IsEffectivelyEnabled();
    switch (event.type) {
        case ui::UIEvent::DblClick:
            if (enabled) {
                Activate();
                Invalidate();
            }
            return;
        case ui::UIEvent::KeyDown:
            if (enabled && event.chKey == ui::VK_RETURN) {
                Activate();
                Invalidate();
                if (manager_)
                    manager_->SendNotify(this, "return");
                return;
            }
            break;
        case ui::UIEvent::ButtonDown:
            if (enabled && owner) {
                if (event.wParam & kMkControl)
                    owner->SelectItem(IsSelected() ? -1 : GetIndex(), true, true);
                else
                    owner->SelectItem(GetIndex(), true, true);
            }
            return;
        case ui::UIEvent::ButtonUp:
            if (enabled && manager_)
                manager_->SendNotify(this, "itemclick");
            return;
        case ui::UIEvent::MouseMove:
            return;
        case ui::UIEvent::MouseEnter:
            if (enabled) {
                hot_ = true;
                Invalidate();
            }
            return;
        case ui::UIEvent::MouseLeave:
            if (hot_) {
                hot_ = false;
                Invalidate();
            }
            return;
        case ui::UIEvent::Timer:
            if (manager_)
                manager_->SendNotify(this, "timer", event.wParam, event.lParam);
            return;
        default:
            break;
    }
    passOn();
}

}  // namespace dravik
