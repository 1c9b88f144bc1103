#include "discovery/DeviceOption.h"

#include "devices/OrvaneUSBDevice.h"
#include "discovery/DiscoveryMessages.h"
#include "ui/PaintManager.h"
#include "ui/ResourceManager.h"
#include "ui/Window.h"

namespace dravik {
namespace {

constexpr uint32_t kConnectRetryMs = 5000;
constexpr uint32_t kPowerPeriodMs = 10000;
constexpr uint32_t kReceiverCheckMs = 3000;
constexpr uint32_t kReceiverFirstCheckMs = 2000;
constexpr uint32_t kCableFrameMs = 5;
constexpr uint32_t kReceiverFrameMs = 500;
constexpr int kFailureWrap = 20;

std::string TooltipOf(const std::string& set) {
    return set + "_name_text";
}

}  // namespace

CDeviceOptionUI::CDeviceOptionUI() {
    ApplyImages("unknow_device");
}

CDeviceOptionUI::~CDeviceOptionUI() {
    if (device_)
        device_->BindTab(nullptr);
}

void* CDeviceOptionUI::GetInterface(const std::string& name) {
    if (name == "DeviceOption")
        return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

std::string CDeviceOptionUI::ImageSetOf(int displayKind, int variant) {
    switch (displayKind) {
        case 1:
            return "kb_device";
        case 2:
            return "ms_device";
        case 3:
            return variant == 0 ? "hard_mp_device" : variant == 1 ? "soft_mp_device" : "";
        case 4:
        case 7:
            return "hd_device";
        case 5:
            return "hub_device";
        default:
            return "unknow_device";
    }
}

void CDeviceOptionUI::ApplyImages(const std::string& set) {
    const std::string base = "common/device_ico/" + set;
    normal_ = base + "_normal.png";
    selected_ = base + "_selected.png";
    synchroNormal_ = base + "_synchro_normal.png";
    synchroSelected_ = base + "_synchro_selected.png";
    if (ui::COptionUI* option = OptionButton()) {
        option->SetAttribute("normalimage", "file='" + normal_ + "'");
        option->SetAttribute("disabledimage", "file='" + normal_ + "'");
        option->SetAttribute("selectedimage", "file='" + selected_ + "'");
        const std::string key = TooltipOf(set);
        option->SetToolTip(ui::CResourceManager::GetInstance().GetText(key).value_or(key));
    }
}

void CDeviceOptionUI::SetKind(int displayKind, int variant) {
    const std::string set = ImageSetOf(displayKind, variant);
    if (set.empty())
        return;  // a mouse pad of another variant keeps what it has
    displayKind_ = displayKind;
    variant_ = variant;
    ApplyImages(set);
}

void CDeviceOptionUI::BindPage(const std::string& tabLayoutName, int pageIndex) {
    pageSwitch_ = tabLayoutName;
    pageIndex_ = pageIndex;
}

void CDeviceOptionUI::BindPowerPage(const std::string& name, int index) {
    powerPage_ = name;
    powerIndex_ = index;
}

void CDeviceOptionUI::SetDevice(COrvaneUSBDevice* device) {
    if (device_ == device)
        return;
    COrvaneUSBDevice* old = device_;
    device_ = device;
    if (old && old->GetTab() == this)
        old->BindTab(nullptr);
    if (device && device->GetTab() != this)
        device->BindTab(this);
}

ui::COptionUI* CDeviceOptionUI::OptionButton() {
    if (!option_ && GetManager())
        option_ =
            dynamic_cast<ui::COptionUI*>(GetManager()->FindSubControlByName(this, "device_select"));
    if (!option_) {
        // Before the tab joins a window: its own subtree.
        option_ = dynamic_cast<ui::COptionUI*>(
            FindFirst([](ui::CControlUI* c) { return c->GetName() == "device_select"; }));
    }
    return option_;
}

ui::COptionUI* CDeviceOptionUI::SynchroButton() {
    if (!synchro_) {
        synchro_ = dynamic_cast<ui::COptionUI*>(
            FindFirst([](ui::CControlUI* c) { return c->GetName() == "synchro_device_select"; }));
    }
    return synchro_;
}

bool CDeviceOptionUI::IsOptionSelected() {
    ui::COptionUI* o = OptionButton();
    return o && o->IsSelected();
}

void CDeviceOptionUI::SendTabMessage(int lParam) {
    if (device_ && device_->GetMainWindow())
        ui::SendMessage(device_->GetMainWindow(), kMsgDeviceTab,
                        static_cast<uint64_t>(device_->GetOptionRow()), lParam);
}

void CDeviceOptionUI::DoEvent(ui::TEventUI& event) {
    if (event.type == ui::UIEvent::Timer && event.pSender == this) {
        OnTimer(static_cast<uint32_t>(event.wParam));
        return;
    }
    CHorizontalLayoutUI::DoEvent(event);
}

void CDeviceOptionUI::OnTimer(uint32_t id) {
    KillTimer(id);
    COrvaneUSBDevice* device = device_;
    if (!device)
        return;
    DeviceLink& link = device->Link();
    switch (id) {
        case kTimerLightFrame:
            device->SendLightFrame();
            if (IsOptionSelected() && device->GetWindowActive() && selectPanel_)
                selectPanel_->Invalidate();
            if (link.IsOpen())
                SetTimer(kTimerLightFrame, link.ReceiverMode() ? kReceiverFrameMs : kCableFrameMs);
            break;
        case kTimerConnect:
            if (link.ReceiverMode() && link.IsOpen()) {
                if (!device->IsReceiverLinkAlive()) {
                    if (++failures_ >= kFailureWrap)
                        failures_ = 0;
                    if (IsVisible())
                        SendTabMessage(0);
                    SetTimer(kTimerConnect, kConnectRetryMs);
                    return;
                }
                SendTabMessage(1);
            }
            device->ReadFromDevice();
            failures_ = 0;
            SetTimer(kTimerLightFrame, kCableFrameMs);
            if (link.ReceiverMode())
                SetTimer(kTimerReceiverCheck, kReceiverFirstCheckMs);
            break;
        case kTimerRefreshProfile:
            device->RefreshProfileBlock();
            break;
        case kTimerReserved1:
            device->ReservedPoll1();
            break;
        case kTimerReserved2:
            device->ReservedPoll2();
            break;
        case kTimerPower:
            device->PollPowerStatus();
            if (device->HasPowerPanel())
                SetTimer(kTimerPower, kPowerPeriodMs);
            break;
        case kTimerReceiverCheck:
            if (!link.ReceiverMode())
                break;
            if (device->IsReceiverLinkAlive()) {
                // The device answers again after a silence: show it and read it afresh.
                if (!IsVisible()) {
                    SendTabMessage(1);
                    device->ReadFromDevice();
                    if (device->HasPowerPanel())
                        device->PollPowerStatus();
                }
            } else if (IsVisible()) {
                SendTabMessage(0);
            }
            if (link.ReceiverMode() && link.IsOpen())
                SetTimer(kTimerReceiverCheck, kReceiverCheckMs);
            break;
        default:
            break;
    }
}

}  // namespace dravik
