#include "discovery/DeviceDiscovery.h"

#include "devices/OrvaneUSBDevice.h"
#include "discovery/DeviceOption.h"
#include "discovery/DiscoveryMessages.h"
#include "discovery/MpDevicePower.h"
#include "platform/Clock.h"
#include "platform/Trace.h"
#include "protocol/CommandSet.h"
#include "ui/BasicControls.h"
#include "ui/Window.h"

namespace dravik {
namespace {

constexpr const char* kTabStrip = "device_select_layout";
constexpr const char* kPageSwitch = "device_switch";
constexpr const char* kPowerSwitch = "device_power_switch";
constexpr const char* kOverlay = "No_device_Link";
constexpr int kReceiverQueryTries = 26;
constexpr uint32_t kReceiverQuerySleepMs = 50;

}  // namespace

ui::CControlUI* DeviceDiscovery::Find(const std::string& name) const {
    return host_.manager ? host_.manager->FindControl(name) : nullptr;
}

void DeviceDiscovery::Init() {
    list_.Reset();
}

int DeviceDiscovery::CanonicalRowOf(const DeviceEntry& e) const {
    const auto rows = list_.Snapshot();
    for (size_t r = 0; r < rows.size(); ++r)
        if (rows[r].vendorId == e.vendorId && rows[r].productId == e.productId &&
            rows[r].kind == e.kind && rows[r].role == kRoleCommand)
            return static_cast<int>(r);
    return -1;
}

int DeviceDiscovery::CommandRowOf(int row) const {
    const auto rows = list_.Snapshot();
    if (row < 0 || static_cast<size_t>(row) >= rows.size())
        return -1;
    int r = row;
    if (rows[r].role != kRoleCommand)
        r = CanonicalRowOf(rows[r]);
    if (r < 0)
        return -1;
    const DeviceEntry& e = rows[r];
    if (IsReceiverKind(e.kind) && e.hasPartner && e.partnerRow < rows.size() &&
        rows[e.partnerRow].hasPartner && rows[e.partnerRow].partnerRow == r)
        return e.partnerRow;
    return r;
}

int DeviceDiscovery::RowOfIdentity(const DeviceEntry& identity) const {
    const auto rows = list_.Snapshot();
    for (size_t r = 0; r < rows.size(); ++r)
        if (rows[r].SameIdentity(identity))
            return static_cast<int>(r);
    return -1;
}

std::vector<COrvaneUSBDevice*>* DeviceDiscovery::ListOfKind(int kind) {
    switch (CableKindOf(static_cast<uint16_t>(kind))) {
        case kKindKeyboard:
            return &keyboards_;
        case kKindMouse:
            return &mice_;
        case kKindMousePad:
            return &pads_;
        case kKindHeadset:
            return &headsets_;
        default:
            return nullptr;
    }
}

std::vector<COrvaneUSBDevice*> DeviceDiscovery::AllDevices() const {
    std::vector<COrvaneUSBDevice*> all;
    for (const auto* v : {&mice_, &keyboards_, &pads_, &headsets_})
        all.insert(all.end(), v->begin(), v->end());
    return all;
}

std::vector<COrvaneUSBDevice*> DeviceDiscovery::LightDevices() const {
    std::vector<COrvaneUSBDevice*> all;
    for (const auto* v : {&mice_, &pads_, &keyboards_})
        all.insert(all.end(), v->begin(), v->end());
    return all;
}

COrvaneUSBDevice* DeviceDiscovery::DeviceOfRow(int commandRow) const {
    if (commandRow < 0)
        return nullptr;
    const DeviceEntry identity = list_.Entry(static_cast<size_t>(commandRow));
    for (COrvaneUSBDevice* d : AllDevices())
        if (d->GetDeviceEntry().SameIdentity(identity))
            return d;
    return nullptr;
}

// --- tabs ---------------------------------------------------------------------------------

int DeviceDiscovery::TabCount() const {
    auto* strip = dynamic_cast<ui::CContainerUI*>(Find(kTabStrip));
    return strip ? strip->GetCount() : 0;
}

CDeviceOptionUI* DeviceDiscovery::TabAt(int index) const {
    auto* strip = dynamic_cast<ui::CContainerUI*>(Find(kTabStrip));
    return strip ? dynamic_cast<CDeviceOptionUI*>(strip->GetItemAt(index)) : nullptr;
}

int DeviceDiscovery::TabIndexOf(const CDeviceOptionUI* tab) const {
    for (int i = 0; i < TabCount(); ++i)
        if (TabAt(i) == tab)
            return i;
    return -1;
}

int DeviceDiscovery::TabIndexOfOptionRow(int optionRow) const {
    for (int i = 0; i < TabCount(); ++i) {
        CDeviceOptionUI* tab = TabAt(i);
        if (tab && tab->GetDevice() && tab->GetDevice()->GetOptionRow() == optionRow)
            return i;
    }
    return -1;
}

int DeviceDiscovery::CountVisibleTabs() const {
    int n = 0;
    for (int i = 0; i < TabCount(); ++i)
        if (CDeviceOptionUI* tab = TabAt(i); tab && tab->IsVisible())
            ++n;
    return n;
}

COrvaneUSBDevice* DeviceDiscovery::SelectedDevice() const {
    for (int i = 0; i < TabCount(); ++i) {
        CDeviceOptionUI* tab = TabAt(i);
        if (tab && tab->IsVisible() && tab->IsOptionSelected())
            return tab->GetDevice();
    }
    return nullptr;
}

void DeviceDiscovery::ShowTab(int index, bool visible, bool select) {
    CDeviceOptionUI* tab = TabAt(index);
    if (!tab)
        return;
    tab->SetVisible(visible);
    if (select) {
        if (auto* pages = dynamic_cast<ui::CTabLayoutUI*>(Find(kPageSwitch)))
            pages->SelectItem(tab->GetPageIndex());
        if (ui::CControlUI* power = Find(kPowerSwitch)) {
            if (tab->GetPowerPageIndex() < 0) {
                power->SetVisible(false);
            } else {
                power->SetVisible(true);
                if (auto* powerPages = dynamic_cast<ui::CTabLayoutUI*>(power))
                    powerPages->SelectItem(tab->GetPowerPageIndex());
            }
        }
    }
    COrvaneUSBDevice* device = tab->GetDevice();
    if (device && device->HasPowerPanel() && device->Link().IsOpen())
        tab->SetTimer(kTimerPower, 50);
    if (ui::COptionUI* option = tab->OptionButton())
        option->Selected(select);
    AfterVisibilityChange();
}

void DeviceDiscovery::AfterVisibilityChange() {
    const int visible = CountVisibleTabs();
    if (visible == 0) {
        if (auto* power = dynamic_cast<ui::CTabLayoutUI*>(Find(kPowerSwitch)))
            power->SelectItem(0);
        if (auto* pages = dynamic_cast<ui::CTabLayoutUI*>(Find(kPageSwitch)))
            pages->SelectItem(0);
    }
    if (ui::CControlUI* overlay = Find(kOverlay))
        overlay->SetVisible(true);
    const bool several = visible > 1;
    if (host_.severalDevices)
        host_.severalDevices(several);
    if (!several)
        for (COrvaneUSBDevice* d : AllDevices())
            d->SetSyncActive(false);
    int marked = 0;
    for (int i = 0; i < TabCount(); ++i) {
        CDeviceOptionUI* tab = TabAt(i);
        if (tab && tab->IsVisible() && tab->SynchroButton() && tab->SynchroButton()->IsSelected())
            ++marked;
    }
    if (marked < 2)
        for (int i = 0; i < TabCount(); ++i)
            if (CDeviceOptionUI* tab = TabAt(i); tab && tab->SynchroButton())
                tab->SynchroButton()->Selected(false, false);
}

void DeviceDiscovery::HideTab(int index) {
    CDeviceOptionUI* tab = TabAt(index);
    if (!tab)
        return;
    int picked = -1;
    if (tab->IsVisible() && tab->IsOptionSelected()) {
        if (host_.closeChildWindows)
            host_.closeChildWindows();
        if (host_.endKeyCapture)
            host_.endKeyCapture();
        for (int i = 0; i < TabCount(); ++i)
            if (i != index && TabAt(i) && TabAt(i)->IsVisible()) {
                picked = i;
                break;
            }
    }
    ShowTab(index, false, false);
    if (picked >= 0)
        ShowTab(picked, true, true);
}

void DeviceDiscovery::SelectAdjacentTab(int direction) {
    int current = -1;
    for (int i = 0; i < TabCount(); ++i)
        if (TabAt(i) && TabAt(i)->IsVisible() && TabAt(i)->IsOptionSelected()) {
            current = i;
            break;
        }
    if (current < 0)
        return;
    for (int i = current + direction; i >= 0 && i < TabCount(); i += direction)
        if (TabAt(i) && TabAt(i)->IsVisible()) {
            ShowTab(i, true, true);
            return;
        }
}

void DeviceDiscovery::OnTabSelected() {
    for (int i = 0; i < TabCount(); ++i) {
        CDeviceOptionUI* tab = TabAt(i);
        if (!tab || !tab->IsOptionSelected())
            continue;
        selectedIndex_ = i;
        selectedKind_ = tab->GetDisplayKind();
        selectedVariant_ = tab->GetVariant();
        if (ui::CControlUI* power = Find(kPowerSwitch)) {
            if (tab->GetPowerPageIndex() < 0) {
                power->SetVisible(false);
            } else {
                power->SetVisible(true);
                if (auto* pages = dynamic_cast<ui::CTabLayoutUI*>(power))
                    pages->SelectItem(tab->GetPowerPageIndex());
            }
        }
        return;
    }
}

void DeviceDiscovery::OnDeviceTab(uint64_t optionRow, int64_t state) {
    const int index = TabIndexOfOptionRow(static_cast<int>(optionRow));
    if (index < 0)
        return;
    if (state == 0) {
        HideTab(index);
    } else if (state == 1 && !TabAt(index)->IsVisible()) {
        ShowTab(index, true, CountVisibleTabs() == 0);
    }
}

void DeviceDiscovery::OnLinkConfirmed(uint64_t confirmed) {
    linkConfirmed_ = confirmed != 0;
    if (ui::CControlUI* overlay = Find(kOverlay))
        overlay->SetVisible(confirmed == 0);
}

// --- pages --------------------------------------------------------------------------------

void DeviceDiscovery::CreateStartupPages() {
    CreatePage(4, 0);
    CreatePage(0, 0);
}

COrvaneUSBDevice* DeviceDiscovery::CreatePage(int canonicalRow, int variant) {
    if (canonicalRow < 0 || static_cast<size_t>(canonicalRow) >= list_.Size())
        return nullptr;
    DeviceEntry identity = list_.Entry(static_cast<size_t>(canonicalRow));
    if (IsReceiverKind(identity.kind) && identity.hasPartner)
        identity = list_.Entry(identity.partnerRow);
    const uint16_t kind = CableKindOf(identity.kind);
    int k = -1;
    const auto& options = DeviceOptions();
    for (size_t i = 0; i < options.size(); ++i)
        if (options[i].vendorId == identity.vendorId &&
            options[i].productId == identity.productId && options[i].kind == kind &&
            options[i].variant == variant) {
            k = static_cast<int>(i);
            break;
        }
    auto* tabs = dynamic_cast<ui::CContainerUI*>(Find(kTabStrip));
    auto* pages = dynamic_cast<ui::CContainerUI*>(Find(kPageSwitch));
    auto* powers = dynamic_cast<ui::CContainerUI*>(Find(kPowerSwitch));
    if (k < 0 || !tabs || !pages || !powers)
        return nullptr;
    const DeviceOptionRow& option = options[k];
    const DevicePageRow& pageRow = DevicePages()[k];

    ui::CDialogBuilder powerBuilder, tabBuilder, pageBuilder;
    ui::CControlUI* powerRoot =
        powerBuilder.Create(kPowerPanelLayout, "", host_.callback, host_.manager);
    ui::CControlUI* tabRoot =
        tabBuilder.Create(option.tabLayout, "", host_.callback, host_.manager);
    ui::CControlUI* pageRoot =
        pageBuilder.Create(pageRow.pageLayout, "", host_.callback, host_.manager);
    auto* power = dynamic_cast<CMpDevicePowerUI*>(powerRoot);
    auto* tab = dynamic_cast<CDeviceOptionUI*>(tabRoot);
    auto* device = dynamic_cast<COrvaneUSBDevice*>(pageRoot);
    if (!power || !tab || !device) {
        platform::Trace("device page %s could not be built", option.kindName);
        delete powerRoot;
        delete tabRoot;
        delete pageRoot;
        return nullptr;
    }

    powers->Add(power);
    power->SetKind(option.kind, option.variant);
    powerPanels_.push_back(power);

    device->SetManager(host_.manager, nullptr, false);
    device->SetPageLayout(pageRow.pageLayout);
    device->SetMainWindow(host_.window);
    device->SetKeyCount(pageRow.keyCount);
    device->SetLightCount(pageRow.lightCount);
    device->SetOptionRow(k);
    device->SetHasPowerPanel(pageRow.hasPowerPanel);
    if (kind == kKindMouse)
        device->SetExtra(pageRow.extra);
    device->SetProfileName("");
    device->SetKindName(option.kindName);
    device->SetPowerPanel(power);
    device->SetDeviceEntry(identity);
    device->SelectDevice(option.modelIndex);
    device->SetLightLibraryName(pageRow.lightLibrary);
    device->InitPage();
    pages->Add(device);
    if (auto* list = ListOfKind(kind))
        list->push_back(device);

    tabs->Add(tab);
    tab->SetName(std::string("device_option_") + option.kindName);
    if (ui::COptionUI* button = tab->OptionButton())
        button->SetGroup(option.tabGroup);
    tab->BindPage(kPageSwitch, pages->GetItemIndex(device));
    tab->BindPowerPage(option.powerSwitchLayout, powers->GetItemIndex(power));
    tab->SetKind(option.kind, option.variant);
    tab->SetVisible(false);
    if (ui::CControlUI* label = host_.manager->FindSubControlByName(tab, "device_name"))
        label->SetText(option.kindName);
    device->BindTab(tab);
    tab->SetSelectPanel(device->GetSelectPanel());
    return device;
}

// --- arrival and removal ------------------------------------------------------------------

void DeviceDiscovery::OnArrival(uint64_t row) {
    if (row >= list_.Size())
        return;
    const DeviceEntry e = list_.Entry(row);
    const int d = CanonicalRowOf(e);
    const int commandRow = CommandRowOf(static_cast<int>(row));
    switch (e.kind) {
        case kKindKeyboard:
        case kKindKeyboardReceiver:
            platform::Trace("添加一个键盘设备");
            break;
        case kKindMouse:
        case kKindMouseReceiver:
            platform::Trace("添加一个鼠标设备");
            break;
        case kKindMousePad:
        case kKindHeadset:
            platform::Trace("添加一个鼠标垫设备");
            break;
        default:
            return;
    }
    if (!DeviceOfRow(commandRow))
        CreatePage(d, 0);
    if (e.kind == kKindMousePad || e.kind == kKindHeadset)
        ArriveWired(static_cast<int>(row), e);
    else
        ArriveLinked(static_cast<int>(row), e);
    if (host_.restoreAndActivate)
        host_.restoreAndActivate();
}

bool DeviceDiscovery::PartnerBound(int row, const DeviceEntry& e) const {
    if (!e.hasPartner)
        return false;
    const DeviceEntry partner = list_.Entry(e.partnerRow);
    return partner.hasPartner && partner.partnerRow == row && partner.active &&
           !partner.path.empty();
}

void DeviceDiscovery::ArriveLinked(int row, const DeviceEntry& e) {
    const int commandRow = CommandRowOf(row);
    COrvaneUSBDevice* device = DeviceOfRow(commandRow);
    if (!device)
        return;
    if (e.role == kRoleNotification) {
        device->OpenNotification(e.path, e.kind);
        return;
    }
    if (PartnerBound(row, e)) {
        if (!IsReceiverKind(e.kind))
            Switch(device, true);
        return;  // the cable stays in use when the receiver comes second
    }
    DeviceLink& link = device->Link();
    if (!link.IsOpen() && link.Attach(e.path, IsReceiverKind(e.kind)))
        device->SetDeviceEntry(list_.Entry(static_cast<size_t>(commandRow)));
    if (!link.IsOpen())
        return;  // the tab stays hidden until the interface can be opened
    CDeviceOptionUI* tab = device->GetTab();
    const int index = TabIndexOf(tab);
    if (!tab || index < 0)
        return;
    const bool otherVisible = CountVisibleTabs() - (tab->IsVisible() ? 1 : 0) > 0;
    if (!IsReceiverKind(e.kind))
        ShowTab(index, true, !otherVisible);
    tab->SetTimer(kTimerConnect, 500);
}

void DeviceDiscovery::ArriveWired(int row, const DeviceEntry& e) {
    COrvaneUSBDevice* device = DeviceOfRow(CommandRowOf(row));
    if (!device)
        return;
    if (e.role == kRoleNotification) {
        device->OpenNotification(e.path, e.kind);
        return;
    }
    DeviceLink& link = device->Link();
    if (!link.IsOpen()) {
        // No mode is selected: these links keep their initial chunk size.
        std::lock_guard lock(link.ExchangeLock());
        if (link.Wired().Open(e.path, true, true, true, false))
            link.SetOpen(true);
    }
    if (!link.IsOpen())
        return;
    CDeviceOptionUI* tab = device->GetTab();
    const int index = TabIndexOf(tab);
    if (!tab || index < 0)
        return;
    const bool otherVisible = CountVisibleTabs() - (tab->IsVisible() ? 1 : 0) > 0;
    ShowTab(index, true, !otherVisible);
    tab->SetTimer(kTimerConnect, 500);
}

void DeviceDiscovery::OnRemoval(uint64_t row) {
    if (row >= list_.Size())
        return;
    const DeviceEntry e = list_.Entry(row);
    COrvaneUSBDevice* device = DeviceOfRow(CommandRowOf(static_cast<int>(row)));
    if (!device)
        return;
    if (e.role == kRoleNotification) {
        device->CloseNotification(e.kind);
        return;
    }
    if (PartnerBound(row, e)) {
        if (!IsReceiverKind(e.kind))
            Switch(device, false);
        return;
    }
    device->Link().SetSuspended(false);
    device->Link().Detach();
    HideTab(TabIndexOf(device->GetTab()));
    if (e.kind == kKindMouse || e.kind == kKindMouseReceiver)
        platform::Trace("鼠标设备丢失");
    else if (e.kind == kKindKeyboard || e.kind == kKindKeyboardReceiver)
        platform::Trace("键盘设备丢失");
}

bool DeviceDiscovery::Switch(COrvaneUSBDevice* device, bool toCable) {
    const int cableRow = RowOfIdentity(device->GetDeviceEntry());
    if (cableRow < 0)
        return false;
    const DeviceEntry cable = list_.Entry(static_cast<size_t>(cableRow));
    if (!cable.hasPartner)
        return false;
    const std::string path = toCable ? cable.path : list_.Entry(cable.partnerRow).path;
    DeviceLink& link = device->Link();
    bool ok = false;
    {
        std::lock_guard lock(link.ExchangeLock());
        link.SetOpen(false);
        HidDevice& hid = toCable ? link.Wired() : link.Receiver();
        hid.Close();
        ok = hid.Open(path, true, true, true, false);
    }
    if (!ok)
        return false;
    link.SetOpen(true);
    link.SetMode(toCable ? 1 : 2);
    CDeviceOptionUI* tab = device->GetTab();
    if (!toCable) {
        if (device->HasPowerPanel()) {
            for (int i = 0; i < kReceiverQueryTries; ++i) {
                if (QueryReceiverLink(link))
                    break;
                platform::Trace("获取2.4G模式失败");
                platform::SleepMs(kReceiverQuerySleepMs);
            }
            device->PollPowerStatus();
        }
        if (tab)
            tab->SetTimer(kTimerReceiverCheck, 2000);
    } else {
        if (tab)
            tab->SetTimer(kTimerConnect, 500);
        ui::SendMessage(host_.window, kMsgDeviceTab, static_cast<uint64_t>(device->GetOptionRow()),
                        1);
        if (device->HasPowerPanel())
            device->PollPowerStatus();
    }
    return true;
}

}  // namespace dravik
