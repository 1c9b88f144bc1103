#include "devices/OrvaneUSBDevice.h"

#include <algorithm>
#include <cctype>

#include "controls/DeviceKeyButton.h"
#include "discovery/DeviceOption.h"
#include "discovery/MpDevicePower.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/Trace.h"
#include "protocol/CommandSet.h"
#include "ui/PaintManager.h"
#include "ui/Window.h"

namespace dravik {
namespace {

// "light_12" → {"light_", 12}; a name without trailing digits gives number -1.
std::pair<std::string, int> SplitName(const std::string& name) {
    size_t end = name.size();
    size_t start = end;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(name[start - 1])))
        --start;
    if (start == end || end - start > 6)
        return {name, -1};
    return {name.substr(0, start), std::stoi(name.substr(start))};
}

uint32_t PackEntry(Rgb c, uint8_t level) {
    return uint32_t{c.r} | uint32_t{c.g} << 8 | uint32_t{c.b} << 16 | uint32_t{level} << 24;
}

}  // namespace

COrvaneUSBDevice::COrvaneUSBDevice() {
    ticks_ = [] { return platform::TickCount(); };
}

COrvaneUSBDevice::~COrvaneUSBDevice() {
    *alive_ = false;
    CloseAllNotifications();
    if (tab_)
        tab_->SetDevice(nullptr);
    if (powerPanel_)
        powerPanel_->SetOwner(nullptr);
    if (GetManager())
        GetManager()->RemoveNotifier(&notifier_);
}

void* COrvaneUSBDevice::GetInterface(const std::string& name) {
    if (name == "OrvaneUSBDevice")
        return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

void COrvaneUSBDevice::SetKeyCount(int count) {
    keyButtons_.assign(static_cast<size_t>(std::max(count, 0)), nullptr);
}

void COrvaneUSBDevice::SetLightCount(int count) {
    size_t n = static_cast<size_t>(std::clamp(count, 0, static_cast<int>(kMaxLights)));
    lightButtons_.assign(n, nullptr);
    zone_ = std::make_unique<std::atomic<uint32_t>[]>(n);
    for (size_t i = 0; i < n; ++i)
        zone_[i].store(0);
    zoneSize_ = n;
    lightList_.assign(n, LightListEntry{});
}

void COrvaneUSBDevice::SetHasPowerPanel(int has) {
    hasPowerPanel_ = has;
    if (powerPanel_)
        powerPanel_->ShowPowerLayout(has != 0);
}

void COrvaneUSBDevice::SetPowerPanel(CMpDevicePowerUI* panel) {
    powerPanel_ = panel;
    if (panel) {
        panel->SetOwner(this);
        // The has-power-panel setter runs before the panel is known; apply it now as well.
        panel->ShowPowerLayout(hasPowerPanel_ != 0);
    }
}

void COrvaneUSBDevice::SetDeviceEntry(const DeviceEntry& entry) {
    entry_ = entry;
    kind_ = entry.kind;
    role_ = entry.role;
}

void COrvaneUSBDevice::BindTab(CDeviceOptionUI* tab) {
    if (tab_ && tab_ != tab)
        tab_->SetDevice(nullptr);
    tab_ = tab;
    if (tab && tab->GetDevice() != this)
        tab->SetDevice(this);
}

ui::CControlUI* COrvaneUSBDevice::GetKeyButton(int i) const {
    return i >= 0 && static_cast<size_t>(i) < keyButtons_.size() ? keyButtons_[i] : nullptr;
}

ui::CControlUI* COrvaneUSBDevice::GetLightButton(int i) const {
    return i >= 0 && static_cast<size_t>(i) < lightButtons_.size() ? lightButtons_[i] : nullptr;
}

void COrvaneUSBDevice::SetLightControl(int on) {
    lightControl_.store(on);
    if (on == 1 && kind_ == kKindKeyboard)
        ResumeLightControl(link_);
}

void COrvaneUSBDevice::SetPollingPaused(int on) {
    if (hasPowerPanel_)
        pollingPaused_.store(on);
}

std::filesystem::path COrvaneUSBDevice::DefaultDataFile() const {
    return platform::ProgramFolder() / "DefaultData" / (kindName_ + ".Json");
}

std::filesystem::path COrvaneUSBDevice::UserDataFolder() const {
    return platform::UserDataFolder(kindName_);
}

// --- page ---------------------------------------------------------------------------------

void COrvaneUSBDevice::InitPage() {
    MapPageButtons();
}

void COrvaneUSBDevice::MapPageButtons() {
    if (pageLayout_.empty()) {
        SetKeyCount(0);
        SetLightCount(0);
        return;
    }
    selectPanel_ = nullptr;
    for (CControlUI* child : items_) {
        if (child->GetClass() == "SelectPanel") {
            selectPanel_ = child;
            break;
        }
    }
    auto* panel = dynamic_cast<ui::CContainerUI*>(selectPanel_);
    if (!panel)
        return;  // the key and light vectors stay empty slots
    for (int i = 0; i < panel->GetCount(); ++i) {
        auto* button = dynamic_cast<CDeviceKeyButtonUI*>(panel->GetItemAt(i));
        if (!button || button->GetClass() != "DeviceKeyButton")
            continue;
        auto [prefix, number] = SplitName(button->GetName());
        if (number < 0)
            continue;
        if (prefix == "key_" && static_cast<size_t>(number) < keyButtons_.size()) {
            keyButtons_[number] = button;
        } else if (prefix == "light_" && static_cast<size_t>(number) < lightButtons_.size()) {
            lightButtons_[number] = button;
            button->SetLightColor(0xFFFFFF, 255, true);
        }
    }
}

void COrvaneUSBDevice::RegisterAsNotifier() {
    if (GetManager())
        GetManager()->AddNotifier(&notifier_);
}

void COrvaneUSBDevice::PageNotifier::Notify(ui::TNotifyUI& msg) {
    ui::CPaintManagerUI* pm = owner_.GetManager();
    if (!msg.pSender || !pm || msg.pSender->GetName().empty())
        return;
    if (pm->FindSubControlByName(&owner_, msg.pSender->GetName()) != msg.pSender)
        return;
    platform::Trace("测试成功   、n");
    owner_.NotifyPump(msg);
}

ui::CControlUI* COrvaneUSBDevice::FindInPage(const std::string& name) const {
    if (!GetManager())
        return nullptr;
    return GetManager()->FindSubControlByName(const_cast<COrvaneUSBDevice*>(this), name);
}

void COrvaneUSBDevice::SelectFunctionPage(int type) {
    functionPage_ = type;
    if (!functionSwitch_)
        functionSwitch_ = FindInPage("device_function_switch");
    if (!keyFunctionSwitch_)
        keyFunctionSwitch_ = FindInPage("device_key_function_switch");
    int keyPage = -1;
    switch (type) {
        case 2:
        case 6:
            keyPage = 1;
            break;
        case 4:
            if (kind_ != kKindKeyboard && kind_ != kKindMouse)
                keyPage = 2;
            break;
        case 7:
            keyPage = 2;
            break;
        case 3:
        case 8:
        case 5:
        case 9:
            break;  // pages of the device class's own switch
        default:
            keyPage = 0;
            break;
    }
    if (keyPage < 0)
        return;
    if (auto* fs = dynamic_cast<ui::CTabLayoutUI*>(functionSwitch_))
        fs->SelectItem(0);
    if (auto* kfs = dynamic_cast<ui::CTabLayoutUI*>(keyFunctionSwitch_))
        kfs->SelectItem(keyPage);
}

// --- lights -------------------------------------------------------------------------------

LightInfo COrvaneUSBDevice::CurrentLightInfo() const {
    std::lock_guard lock(lightInfoMutex_);
    return lightInfo_;
}

void COrvaneUSBDevice::StoreLightInfo(const LightInfo& info) {
    std::lock_guard lock(lightInfoMutex_);
    lightInfo_ = info;
}

void COrvaneUSBDevice::StoreAudioLightInfo(int a, int b, int c) {
    audioLight_ = {a, b, c};
}

std::array<int, 3> COrvaneUSBDevice::ReadAudioLightInfo() const {
    return audioLight_;
}

void COrvaneUSBDevice::SetZoneColor(int index, uint32_t value) {
    if (index >= 0 && static_cast<size_t>(index) < zoneSize_)
        zone_[index].store(value, std::memory_order_relaxed);
}

uint32_t COrvaneUSBDevice::GetZoneColor(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= zoneSize_)
        return 0;
    return zone_[index].load(std::memory_order_relaxed);
}

void COrvaneUSBDevice::FillAll(Rgb color, uint8_t level) {
    const uint32_t v = PackEntry(color, level);
    for (size_t i = 0; i < zoneSize_; ++i)
        zone_[i].store(v, std::memory_order_relaxed);
}

void COrvaneUSBDevice::EffectBreathing() {
    const LightInfo li = CurrentLightInfo();
    stepCounter_ = Step(li.fx, 128, stepCounter_, 1);
    if (stepCounter_ == 0) {
        colorIndex_ = static_cast<uint8_t>(colorIndex_ + 16);
        if (colorIndex_ >= 192)
            colorIndex_ = 0;
    }
    Rgb c = li.multiColor ? ColorWheel()[colorIndex_ % 192] : Rgb{li.red, li.green, li.blue};
    FillAll(c, static_cast<uint8_t>(BreathCurve()[stepCounter_ % 128] * LevelOf(li.light) / 256));
}

void COrvaneUSBDevice::EffectBreathingFourColours() {
    const LightInfo li = CurrentLightInfo();
    stepCounter_ = Step(li.fx, 128, stepCounter_, 1);
    // The colour index may come from another effect with a larger range; anything past the
    // four colours starts again at the first.
    if (colorIndex_ >= kFourColors.size())
        colorIndex_ = 0;
    if (stepCounter_ == 0 && ++colorIndex_ >= kFourColors.size())
        colorIndex_ = 0;
    FillAll(kFourColors[colorIndex_],
            static_cast<uint8_t>(BreathCurve()[stepCounter_ % 128] * LevelOf(li.light) / 256));
}

void COrvaneUSBDevice::EffectStatic() {
    const LightInfo li = CurrentLightInfo();
    FillAll({li.red, li.green, li.blue}, LevelOf(li.light));
}

void COrvaneUSBDevice::EffectSpectrum() {
    const LightInfo li = CurrentLightInfo();
    stepCounter_ = Step(li.fx, 192, stepCounter_, 1);
    FillAll(ColorWheel()[stepCounter_ % 192], LevelOf(li.light));
}

void COrvaneUSBDevice::EffectBlink() {
    const LightInfo li = CurrentLightInfo();
    const uint32_t now = ticks_();
    const uint32_t period = kStepThresholds[std::min<size_t>(li.speed, 14)] * 200u;
    if (now - lastBlinkTick_ >= period) {
        blinkOn_ = !blinkOn_;
        lastBlinkTick_ = now;
        stepCounter_ = static_cast<uint8_t>(stepCounter_ + 16);
        if (stepCounter_ >= 192)
            stepCounter_ = 0;
    }
    if (!blinkOn_) {
        FillAll({}, 0);
        return;
    }
    Rgb c = li.multiColor ? ColorWheel()[stepCounter_ % 192] : Rgb{li.red, li.green, li.blue};
    FillAll(c, LevelOf(li.light));
}

void COrvaneUSBDevice::EffectBlinkFourColours() {
    const LightInfo li = CurrentLightInfo();
    const uint32_t now = ticks_();
    const uint32_t period = kStepThresholds[std::min<size_t>(li.speed, 14)] * 200u;
    if (stepCounter_ >= kFourColors.size())
        stepCounter_ = 0;
    if (now - lastBlinkTick_ >= period) {
        blinkOn_ = !blinkOn_;
        lastBlinkTick_ = now;
        if (++stepCounter_ >= kFourColors.size())
            stepCounter_ = 0;
    }
    if (!blinkOn_) {
        FillAll({}, 0);
        return;
    }
    FillAll(kFourColors[stepCounter_], LevelOf(li.light));
}

void COrvaneUSBDevice::EffectOff() {
    FillAll({}, 0);
}

int32_t COrvaneUSBDevice::SendLightFrame() {
    if (lightControl_.load() != 1)
        return 0;
    frame_.fill(0);
    const size_t n = std::min(zoneSize_, kMaxLights);
    for (size_t i = 0; i < n; ++i) {
        const uint32_t e = zone_[i].load(std::memory_order_relaxed);
        const uint8_t bytes[3] = {static_cast<uint8_t>(e), static_cast<uint8_t>(e >> 8),
                                  static_cast<uint8_t>(e >> 16)};
        const uint8_t level = static_cast<uint8_t>(e >> 24);
        auto* button = dynamic_cast<CDeviceKeyButtonUI*>(GetLightButton(static_cast<int>(i)));
        if (button && button->IsVisible())
            button->SetLightColor(
                uint32_t{bytes[0]} | uint32_t{bytes[2]} << 8 | uint32_t{bytes[1]} << 16, level,
                true);
        for (size_t k = 0; k < 3; ++k)
            frame_[i * 3 + k] = static_cast<uint8_t>((bytes[k] * level) >> 8);
    }
    return 1;
}

// --- music helpers --------------------------------------------------------------------------

uint8_t COrvaneUSBDevice::MusicLevel(int index) const {
    return index >= 0 && static_cast<size_t>(index) < kMaxLights ? musicLevels_[index] : 0;
}

void COrvaneUSBDevice::SetMusicLevel(int index, uint8_t level) {
    if (index >= 0 && static_cast<size_t>(index) < kMaxLights)
        musicLevels_[index] = level;
}

bool COrvaneUSBDevice::HitFlag(int position) const {
    return position >= 0 && static_cast<size_t>(position) < kHitRingSize && hitRing_[position];
}

void COrvaneUSBDevice::SetHitFlag(int position, bool on) {
    if (position >= 0 && static_cast<size_t>(position) < kHitRingSize)
        hitRing_[position] = on ? 1 : 0;
}

void COrvaneUSBDevice::MusicDecay(int index, int mode) {
    if (index < 0 || static_cast<size_t>(index) >= kMaxLights)
        return;
    const int v = musicLevels_[index];
    if (v == 0)
        return;
    // Rows: 144-255, 128-143, 112-127, 96-111, 80-95, 64-79, 32-63, 17-31, 1-16.
    static constexpr int kLower[9] = {144, 128, 112, 96, 80, 64, 32, 17, 1};
    static constexpr int kMode0[9] = {40, 40, 30, 30, 30, 30, 15, 8, 1};
    static constexpr int kMode29[9] = {45, 40, 35, 30, 25, 20, 10, 5, 1};
    static constexpr int kOther[9] = {40, 40, 30, 30, 30, 30, 10, 8, 1};
    const int* step = mode == 0 ? kMode0 : mode == 29 ? kMode29 : kOther;
    int row = 0;
    while (row < 8 && v < kLower[row])
        ++row;
    musicLevels_[index] = static_cast<uint8_t>(std::max(v - step[row], 0));
}

void COrvaneUSBDevice::MusicMarkPeaks() {
    for (size_t pos = 0; pos <= 8; ++pos)
        if (hitRing_[pos])
            musicLevels_[pos] = 255;
}

void COrvaneUSBDevice::MusicRotate(int direction) {
    if (direction)
        std::rotate(hitRing_.rbegin(), hitRing_.rbegin() + 1, hitRing_.rend());
    else
        std::rotate(hitRing_.begin(), hitRing_.begin() + 1, hitRing_.end());
}

void COrvaneUSBDevice::MusicClear() {
    musicLevels_.fill(0);
    hitRing_.fill(0);
}

// --- notification channel -----------------------------------------------------------------

HidDevice& COrvaneUSBDevice::NotificationDevice(bool receiver) {
    return receiver ? notifyLink_.Receiver() : notifyLink_.Wired();
}

std::recursive_mutex& COrvaneUSBDevice::NotificationLock(bool receiver) {
    return receiver ? notifyLink_.SpareLock() : notifyLink_.ExchangeLock();
}

bool COrvaneUSBDevice::NotificationOpen(bool receiver) const {
    return receiver ? receiverNotifyOpen_.load() : wiredNotifyOpen_.load();
}

bool COrvaneUSBDevice::ListenerRunning(bool receiver) const {
    const auto& t = receiver ? receiverListener_ : wiredListener_;
    return t && t->Running();
}

bool COrvaneUSBDevice::OpenNotification(const std::string& path, int kind) {
    const uint16_t cable = CableKindOf(static_cast<uint16_t>(kind_));
    bool receiver = false;
    if (kind == cable)
        receiver = false;
    else if (IsReceiverKind(static_cast<uint16_t>(kind)) &&
             CableKindOf(static_cast<uint16_t>(kind)) == cable)
        receiver = true;
    else
        return false;
    // A listener still reading the old interface stops before the interface is reopened.
    CloseNotification(kind);
    bool ok = false;
    {
        std::lock_guard lock(NotificationLock(receiver));
        HidDevice& dev = NotificationDevice(receiver);
        dev.Close();
        ok = dev.Open(path, true, true, true, false);
        (receiver ? receiverNotifyOpen_ : wiredNotifyOpen_).store(ok);
    }
    if (!ok)
        return false;
    auto& slot = receiver ? receiverListener_ : wiredListener_;
    slot = std::make_unique<platform::WorkerThread>(receiver ? "notify-receiver" : "notify-wired");
    slot->Start([this, receiver](platform::WorkerThread& self) { ListenerBody(self, receiver); });
    return true;
}

void COrvaneUSBDevice::ListenerBody(platform::WorkerThread& self, bool receiver) {
    HidDevice& dev = NotificationDevice(receiver);
    const std::atomic<bool>& open = receiver ? receiverNotifyOpen_ : wiredNotifyOpen_;
    std::vector<uint8_t> report;
    while (!self.SleepOrStop(1)) {
        if (!open.load())
            continue;
        report.assign(std::max<size_t>(dev.Caps().inputReportByteLength, 3), 0);
        uint32_t got = 0;
        if (!dev.Read(report.data(), static_cast<uint32_t>(report.size()), &got,
                      kInfiniteTimeout) ||
            got < 3)
            continue;
        dev.UnpackInputReport(report.data(), got);
        platform::Trace("接收到自动添加设备的同步信息要求  TEST");
        const uint16_t code = static_cast<uint16_t>(report[1] | report[2] << 8);
        if (code == kNotifySettingsChanged) {
            platform::Trace("接收到自动添加设备的同步信息要求");
            ArmTabTimerFromWorker(1002, 50);
        } else {
            OnNotificationCode(code);
        }
    }
    platform::Trace("MS 设备同步线程设定退出");
}

void COrvaneUSBDevice::CloseNotification(int kind) {
    const bool receiver = IsReceiverKind(static_cast<uint16_t>(kind));
    auto& slot = receiver ? receiverListener_ : wiredListener_;
    HidDevice& dev = NotificationDevice(receiver);
    if (slot) {
        slot->StopEvent().Set();
        dev.Abort();  // ends a read that waits for the next report
        slot->Stop(kNotificationStopBoundMs, "线程退出：：对象处于激发状态\n",
                   "线程退出：：对象处于非激发状态，超时\n");
        slot.reset();
    }
    std::lock_guard lock(NotificationLock(receiver));
    (receiver ? receiverNotifyOpen_ : wiredNotifyOpen_).store(false);
    dev.Close();
}

void COrvaneUSBDevice::CloseAllNotifications() {
    CloseNotification(kKindMouse);
    CloseNotification(kKindMouseReceiver);
}

void COrvaneUSBDevice::ArmTabTimerFromWorker(uint32_t id, uint32_t elapseMs) {
    std::shared_ptr<bool> alive = alive_;
    ui::PostTask([this, alive, id, elapseMs] {
        if (*alive && tab_)
            tab_->SetTimer(id, elapseMs);
    });
}

}  // namespace dravik
