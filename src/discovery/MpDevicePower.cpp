#include "discovery/MpDevicePower.h"

#include <algorithm>
#include <cstring>

#include "devices/OrvaneUSBDevice.h"
#include "discovery/DeviceTables.h"
#include "ui/BasicControls.h"
#include "ui/ResourceManager.h"

namespace dravik {
namespace {

ui::CControlUI* FindIn(ui::CControlUI* root, const std::string& name) {
    return root->FindFirst([&](ui::CControlUI* c) { return c->GetName() == name; });
}

}  // namespace

CMpDevicePowerUI::~CMpDevicePowerUI() {
    if (owner_ && owner_->GetPowerPanel() == this)
        owner_->SetPowerPanel(nullptr);
}

void* CMpDevicePowerUI::GetInterface(const std::string& name) {
    if (name == "MpDevicePower")
        return this;
    return CVerticalLayoutUI::GetInterface(name);
}

void CMpDevicePowerUI::ShowPowerLayout(bool show) {
    if (ui::CControlUI* layout = FindIn(this, "device_power_Layout"))
        layout->SetVisible(show);
}

bool CMpDevicePowerUI::FindParts() {
    if (!value_)
        value_ = FindIn(this, "device_power_value");
    if (!wireless_)
        wireless_ = FindIn(this, "device_wuxian_logo");
    if (!progress_)
        progress_ = FindIn(this, "device_Power_progress");
    if (!status_)
        status_ = FindIn(this, "device_power_status");
    if (!phone_)
        phone_ = FindIn(this, "device_phone_type");
    return value_ && wireless_ && progress_ && status_ && phone_;
}

void CMpDevicePowerUI::Update(const uint8_t* record, size_t length) {
    record_.fill(0);
    if (record)
        std::memcpy(record_.data(), record, std::min(length, record_.size()));
    if (!FindParts())
        return;
    const int percent = record_[0];
    if (auto* progress = dynamic_cast<ui::CProgressUI*>(progress_))
        progress->SetValue(100 - percent);
    value_->SetText(std::to_string(percent) + "%");
    if (kind_ == kKindMouse)
        wireless_->SetVisible(record_[3] == 1);
    static const char* kStatusImages[3] = {"file='power/powered.png'", "file='power/powering.png'",
                                           "file='power/power.png'"};
    if (record_[1] <= 2) {
        progress_->SetVisible(true);
        status_->SetBkImage(kStatusImages[record_[1]]);
    }
    if (kind_ == kKindMousePad) {
        static const char* kPhones[4][2] = {
            {"Phone_type_no_device", "file='power/Phone_type_no_device.png'"},
            {"Phone_type_iphone", "file='power/Phone_type_iphone.png'"},
            {"Phone_type_samsung", "file='power/Phone_type_samsung.png'"},
            {"Phone_type_other", "file='power/Phone_type_other.png'"},
        };
        const int phone = record_[5] >= 1 && record_[5] <= 3 ? record_[5] : 0;
        const std::string key = kPhones[phone][0];
        phone_->SetToolTip(ui::CResourceManager::GetInstance().GetText(key).value_or(key));
        phone_->SetBkImage(kPhones[phone][1]);
    }
}

}  // namespace dravik
