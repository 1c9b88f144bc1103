#include "controls/DeviceKeyButton.h"

#include <strings.h>

#include <algorithm>

#include "ui/PaintManager.h"
#include "ui/Painter.h"

namespace dravik {

uint32_t CDeviceKeyButtonUI::OverlayArgb(uint32_t lightColor, int32_t level) {
    uint32_t r = lightColor & 0xFF;
    uint32_t b = (lightColor >> 8) & 0xFF;
    uint32_t g = (lightColor >> 16) & 0xFF;
    uint32_t a = static_cast<uint32_t>(std::clamp(level, 0, 255));
    return a << 24 | r << 16 | g << 8 | b;
}

void* CDeviceKeyButtonUI::GetInterface(const std::string& name) {
    return name == "DeviceKeyButton" ? this : CButtonUI::GetInterface(name);
}

void CDeviceKeyButtonUI::DoEvent(ui::TEventUI& event) {
    if (event.type == ui::UIEvent::DblClick && IsEffectivelyEnabled() &&
        pos_.Contains(event.ptMouse)) {
        // The paint manager holds the capture for the control that got the press.
        pushed_ = true;
        if (manager_)
            manager_->SendNotify(this, "dbclick");
        Invalidate();
        return;
    }
    CButtonUI::DoEvent(event);
}

void CDeviceKeyButtonUI::SetAttribute(const std::string& name, const std::string& value) {
    if (strcasecmp(name.c_str(), "lightimage") == 0) {
        lightImage_ = value;
        Invalidate();
    } else if (strcasecmp(name.c_str(), "keysetimage") == 0) {
        keySetImage_ = value;
        Invalidate();
    } else if (strcasecmp(name.c_str(), "gmnametextcolor") == 0) {
        // Accepted for the skin's sake; the name text has no colour of its own.
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void CDeviceKeyButtonUI::SetLightColor(uint32_t color, int32_t level, bool shown) {
    lightColor_ = color;
    lightLevel_ = level;
    lightShown_ = shown;
}

void CDeviceKeyButtonUI::SetKeySetImageHidden(int32_t hidden) {
    if (hidden == keySetImageHidden_)
        return;
    keySetImageHidden_ = hidden;
    Invalidate();
}

void CDeviceKeyButtonUI::SetMarqueeSelected(int32_t selected) {
    if (selected != marqueeSelected_)
        marqueeSelected_ = selected;
}

void CDeviceKeyButtonUI::PaintStatusImage(ui::Painter& painter) {
    CButtonUI::PaintStatusImage(painter);
    bool light = lightShown_ && !lightImage_.empty();
    bool badge = !keySetImageHidden_ && !keySetImage_.empty();
    if (pos_.Empty() || (!light && !badge))
        return;
    painter.PushClip(pos_);
    if (light)
        painter.DrawImageTinted(pos_, lightImage_, OverlayArgb(lightColor_, lightLevel_));
    if (badge)
        painter.DrawImage(pos_, keySetImage_);
    painter.PopClip();
}

}  // namespace dravik
