#pragma once
// COrvaneUSBDevice: the base of every device page. It is at once a page of the main window (a
// horizontal layout built from the device's page layout) and the owner of one physical device:
// its command link, its notification channel with up to two listener threads, its identity in
// the device list, its key and light buttons, the state of the software light effects and the
// names of its data files. The device classes override the virtual operations below.
#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <json/value.h>

#include "devices/LightTables.h"
#include "discovery/DeviceTables.h"
#include "hid/DeviceLink.h"
#include "platform/WorkerThread.h"
#include "profiles/ProfileRecords.h"
#include "ui/Container.h"
#include "ui/NotifyPump.h"

namespace dravik {

class CDeviceOptionUI;
class CMpDevicePowerUI;

inline constexpr size_t kMaxLights = 170;
inline constexpr size_t kLightFrameSize = 511;
inline constexpr size_t kHitRingSize = 23;
inline constexpr uint16_t kNotifySettingsChanged = 0x0401;
inline constexpr uint32_t kNotificationStopBoundMs = 500;

using LightFrame = std::array<uint8_t, kLightFrameSize>;

class COrvaneUSBDevice : public ui::CHorizontalLayoutUI, public ui::CNotifyPump {
  public:
    COrvaneUSBDevice();
    ~COrvaneUSBDevice() override;

    std::string GetClass() const override { return "OrvaneUSBDevice"; }
    void* GetInterface(const std::string& name) override;

    // Setters used once at page creation, in this order.
    void SetPageLayout(const std::string& path) { pageLayout_ = path; }
    void SetMainWindow(uint32_t hwnd) { mainWindow_ = hwnd; }
    void SetKeyCount(int count);
    void SetLightCount(int count);
    void SetOptionRow(int row) { optionRow_ = row; }
    void SetHasPowerPanel(int has);
    void SetProfileName(const std::string& name) { profileName_ = name; }
    void SetKindName(const std::string& name) { kindName_ = name; }
    void SetPowerPanel(CMpDevicePowerUI* panel);
    void SetDeviceEntry(const DeviceEntry& entry);
    void SetLightLibraryName(const std::string& name) { lightLibraryName_ = name; }
    // The mouse takes the page table's "Extra" value; the others ignore it.
    virtual void SetExtra(int /*extra*/) {}

    uint32_t GetMainWindow() const { return mainWindow_; }
    int GetOptionRow() const { return optionRow_; }
    int GetKind() const { return kind_; }
    int GetRole() const { return role_; }
    int GetKeyCount() const { return static_cast<int>(keyButtons_.size()); }
    int GetLightCount() const { return static_cast<int>(lightButtons_.size()); }
    int HasPowerPanel() const { return hasPowerPanel_; }
    const DeviceEntry& GetDeviceEntry() const { return entry_; }
    const std::string& GetKindName() const { return kindName_; }
    const std::string& GetPageLayout() const { return pageLayout_; }
    const std::string& GetLightLibraryName() const { return lightLibraryName_; }
    const std::string& GetProfileNameField() const { return profileName_; }
    CMpDevicePowerUI* GetPowerPanel() const { return powerPanel_; }
    CDeviceOptionUI* GetTab() const { return tab_; }
    void BindTab(CDeviceOptionUI* tab);
    ui::CControlUI* GetSelectPanel() const { return selectPanel_; }
    ui::CControlUI* GetKeyButton(int i) const;
    ui::CControlUI* GetLightButton(int i) const;

    int GetLightControl() const { return lightControl_.load(); }
    // Stores the flag; setting it to 1 on a keyboard by cable (kind 1) also tells the device to
    // resume light control.
    void SetLightControl(int on);
    int GetWindowActive() const { return windowActive_.load(); }
    void SetWindowActive(int on) { windowActive_.store(on); }
    int GetPollingPaused() const { return pollingPaused_.load(); }
    // Only a device with a power panel pauses its polling.
    void SetPollingPaused(int on);
    bool SyncActive() const { return link_.SyncActive(); }
    void SetSyncActive(bool on) { link_.SetSyncActive(on); }

    DeviceLink& Link() { return link_; }
    DeviceLink& NotificationLink() { return notifyLink_; }

    // Data paths: DefaultData/<kind name>.Json beside the program, and the per-user folder of
    // the kind (created on demand).
    std::filesystem::path DefaultDataFile() const;
    std::filesystem::path UserDataFolder() const;

    // Virtual operations, in slot order.
    virtual void InitPage();
    virtual void* LoadFromProfile() { return nullptr; }
    virtual void EffectBreathing();
    virtual void EffectBreathingFourColours();
    virtual void EffectStatic();
    virtual void EffectSpectrum();
    virtual void EffectBlink();
    virtual void EffectBlinkFourColours();
    virtual void EffectOff();
    // Assembles the current frame into frame (while light control is 1); the base sends nothing.
    virtual int32_t SendLightFrame();
    virtual void SetZoneColor(int index, uint32_t value);
    virtual uint32_t GetZoneColor(int index) const;
    virtual int32_t ReadFromDevice() { return 0; }
    virtual int32_t RefreshProfileBlock() { return 0; }
    virtual int32_t ReservedPoll1() { return 0; }
    virtual int32_t ReservedPoll2() { return 0; }
    virtual int32_t PollPowerStatus() { return 0; }
    virtual bool IsReceiverLinkAlive() { return true; }
    virtual int32_t LoadCurrentProfile() { return 0; }
    virtual int32_t RefreshPage() { return 0; }
    virtual int32_t RepairMacroKeys() { return 0; }
    virtual int32_t RestoreDefaults() { return 0; }
    virtual std::vector<int> CollectMacroList() { return {}; }
    virtual int32_t WriteKeyImage(int /*bank*/, const void* /*keys*/) { return 0; }
    virtual int32_t WriteKeys(int /*bank*/) { return 0; }
    virtual int32_t WriteMacros() { return 0; }
    virtual int32_t WriteToDevice(int, int, int, int, int) { return 0; }
    virtual int32_t LoadLightResources() { return 0; }
    virtual void SetKeyMap(const std::map<int, int>& map) { maps_[2] = map; }
    virtual void MusicDecay(int index, int mode);
    virtual void MusicMarkPeaks();
    virtual void MusicRotate(int direction);
    virtual void MusicClear();
    virtual void SelectFunctionPage(int type);
    virtual int GetFunctionPage() const { return functionPage_; }
    virtual void SetProfileFiles() {}
    virtual std::string GetProfileName() const { return {}; }
    virtual void SaveProfile() {}
    virtual void SelectDevice(int modelIndex) { modelIndex_ = modelIndex; }
    virtual int GetDeviceIndex() const { return modelIndex_; }
    virtual void StoreLightInfo(const LightInfo& info);
    virtual void StoreAudioLightInfo(int a, int b, int c);
    virtual std::array<int, 3> ReadAudioLightInfo() const;
    virtual void SetSelectedItem(int index) { selectedItem_ = index; }
    virtual void ReservedKeyboard1(int, int) {}
    virtual void ReservedKeyboard2(int, int) {}

    LightInfo CurrentLightInfo() const;
    int GetSelectedItem() const { return selectedItem_; }
    const LightFrame& LastFrame() const { return frame_; }
    uint8_t MusicLevel(int index) const;
    void SetMusicLevel(int index, uint8_t level);
    bool HitFlag(int position) const;
    void SetHitFlag(int position, bool on);
    // The clock the blink effects read (the coarse tick count unless a test sets one).
    void SetTickSource(std::function<uint32_t()> ticks) { ticks_ = std::move(ticks); }

    // The notification channel. kind is the notification entry's kind: the device's cable kind
    // opens the wired channel, its receiver kind the receiver channel.
    bool OpenNotification(const std::string& path, int kind);
    void CloseNotification(int kind);
    // Closes the wired and the receiver channel; device classes call it first in their
    // destructors, so that no listener runs while the object is taken apart.
    void CloseAllNotifications();
    bool NotificationOpen(bool receiver) const;
    bool ListenerRunning(bool receiver) const;

  protected:
    // Events of the notification interface other than "settings changed" (0x0401); called on
    // the listener thread.
    virtual void OnNotificationCode(uint16_t /*code*/) {}
    // Subclasses route their page's notifications through this pump's handler table.
    void RegisterAsNotifier();
    void MapPageButtons();
    ui::CControlUI* FindInPage(const std::string& name) const;
    // Asks the UI thread to start tab timer id (a listener thread's way to reach its tab).
    void ArmTabTimerFromWorker(uint32_t id, uint32_t elapseMs);

    class PageNotifier : public ui::INotifyUI {
      public:
        explicit PageNotifier(COrvaneUSBDevice& owner) : owner_(owner) {}
        void Notify(ui::TNotifyUI& msg) override;

      private:
        COrvaneUSBDevice& owner_;
    };

    DeviceLink link_;
    DeviceLink notifyLink_;
    std::string pageLayout_, profileName_, lightLibraryName_, kindName_;
    DeviceEntry entry_;
    int kind_ = 0;
    int role_ = 0;
    int optionRow_ = -1;
    int modelIndex_ = 0;
    uint32_t mainWindow_ = 0;
    CDeviceOptionUI* tab_ = nullptr;
    CMpDevicePowerUI* powerPanel_ = nullptr;
    ui::CControlUI* selectPanel_ = nullptr;
    ui::CControlUI* functionSwitch_ = nullptr;
    ui::CControlUI* keyFunctionSwitch_ = nullptr;
    ui::CControlUI* lightEditor_ = nullptr;
    ui::CControlUI* profileBar_ = nullptr;
    int functionPage_ = 1;
    int selectedItem_ = -1;
    int hasPowerPanel_ = 0;
    std::vector<ui::CControlUI*> keyButtons_;
    std::vector<ui::CControlUI*> lightButtons_;
    // One entry per light: R in bits 0-7, G 8-15, B 16-23, level 24-31. Sized at page creation
    // before any thread runs; entries are written by the light threads without a lock.
    std::unique_ptr<std::atomic<uint32_t>[]> zone_;
    size_t zoneSize_ = 0;
    std::vector<LightListEntry> lightList_;
    std::array<std::map<int, int>, 3> maps_;
    mutable std::mutex lightInfoMutex_;  // the light settings are read by the light threads
    LightInfo lightInfo_;
    uint8_t stepCounter_ = 0;
    uint8_t colorIndex_ = 0;
    uint8_t blinkOn_ = 0;
    uint32_t lastBlinkTick_ = 0;
    std::atomic<int> lightControl_{1};
    std::atomic<int> windowActive_{1};
    std::atomic<int> pollingPaused_{0};
    std::array<uint8_t, kMaxLights> musicLevels_{};
    std::array<uint8_t, kHitRingSize> hitRing_{};
    std::array<Json::Value, 3> documents_;
    std::recursive_mutex dataLock1_, dataLock2_;
    std::array<int, 3> audioLight_{};
    LightFrame frame_{};
    std::function<uint32_t()> ticks_;

  private:
    void FillAll(Rgb color, uint8_t level);
    void ListenerBody(platform::WorkerThread& self, bool receiver);
    HidDevice& NotificationDevice(bool receiver);
    std::recursive_mutex& NotificationLock(bool receiver);

    PageNotifier notifier_{*this};
    std::atomic<bool> wiredNotifyOpen_{false};
    std::atomic<bool> receiverNotifyOpen_{false};
    std::unique_ptr<platform::WorkerThread> wiredListener_;
    std::unique_ptr<platform::WorkerThread> receiverListener_;
    // Lives on the UI thread; a task queued by a listener checks it before touching the tab.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace dravik
