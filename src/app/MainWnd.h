#pragma once
// CMainWnd: the program's only top-level window. It owns the device list, the device pages and
// tabs (through discovery), the worker threads, the tray icon and the menus, and it is the
// switchboard through which notifications, private and registered messages reach their owners.
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "app/NotifyRoutes.h"
#include "discovery/DeviceDiscovery.h"
#include "platform/WorkerThread.h"
#include "profiles/ProfileRecords.h"
#include "ui/ResourceManager.h"
#include "ui/TrayIcon.h"
#include "ui/WindowImplBase.h"

namespace dravik {

inline constexpr uint32_t kTrayIconMessage = 0x401;
inline constexpr uint32_t kMainIconResource = 107;
inline constexpr uint32_t kMsgShowSettingProgress = 0xC00;
inline constexpr uint32_t kMsgLanguageChanged = 0xC11;
inline constexpr uint32_t kMsgOpenSettings = 0xC15;
inline constexpr uint32_t kMsgUpdateNoticeGone = 0xC16;
inline constexpr uint32_t kMsgNoEffect = 0xD02;
inline constexpr uint32_t kMsgUpdateState = 0xD04;
inline constexpr uint32_t kMsgInputHook = 0x41E;
inline constexpr uint32_t kMsgDpiTrace = 0x4C8;
inline constexpr uint32_t kWmPowerBroadcast = 0x0218;
inline constexpr uint32_t kWmDpiChanged = 0x02E0;
inline constexpr uint64_t kPbtApmSuspend = 4;
inline constexpr uint64_t kPbtApmResumeAutomatic = 18;
inline constexpr uint32_t kTimerDpiSetup = 1011;
inline constexpr uint32_t kTimerTrayMenu = 1032;
inline constexpr uint32_t kTimerProfileSwitch = 1055;
inline constexpr uint32_t kTimerGameModeEnd = 1066;
inline constexpr size_t kThreadSlots = 20;
inline constexpr size_t kScanThreadSlot = 0;
inline constexpr uint32_t kThreadStopBoundMs = 1000;

// Where the tray menu opens: from the cursor and the taskbar's rectangle, a point and the menu
// alignment flags (left 2, top 4, right 8, bottom 16).
struct MenuPlacement {
    ui::Point point;
    uint32_t alignment;
};
MenuPlacement TrayMenuPlacement(ui::Point cursor, ui::Rect taskbar);

// 144 on a monitor wider than 1500 and higher than 960 pixels, else 96.
int DpiForMonitor(ui::Size monitor);

class CMainWnd : public ui::WindowImplBase, public ui::IQueryControlText {
  public:
    CMainWnd();
    ~CMainWnd() override;

    std::string GetWindowClassName() const override { return "MainWnd"; }
    std::string GetSkinFile() override { return "XML_MAIN"; }
    void InitWindow() override;
    ui::CControlUI* CreateControl(const std::string& tag) override;
    void Notify(ui::TNotifyUI& msg) override;
    int64_t HandleCustomMessage(uint32_t msg, uint64_t wParam, int64_t lParam,
                                bool& handled) override;
    void OnClick(ui::TNotifyUI& msg) override;
    std::optional<std::string> QueryControlText(const std::string&, const std::string&) override {
        return std::nullopt;
    }

    // Shows the window from hidden, minimised or tray state and brings it to the front.
    void RestoreAndActivate();
    void DpiSetup();
    void CloseChildWindows();
    void ToggleTray();
    // The light-control toggle (broadcast) and the outside request (no broadcast).
    void ToggleLightControl();
    void SetLightControlFromOutside(int on);
    int LightControl() const { return lightControl_; }
    int Dpi() const { return dpi_; }
    bool SystemAwake() const { return systemAwake_; }

    const ui::TrayIcon& Tray() const { return tray_; }
    DeviceDiscovery& Discovery() { return discovery_; }
    COrvaneUSBDevice* SelectedDevice() const { return discovery_.SelectedDevice(); }
    const RouteTable& ClickRoutes() const { return clickRoutes_; }
    const RouteTable& SelectRoutes() const { return selectRoutes_; }
    const RouteTable& ValueRoutes() const { return valueRoutes_; }
    const RouteTable& MoveValueRoutes() const { return moveValueRoutes_; }
    const RouteTable& KillFocusRoutes() const { return killFocusRoutes_; }
    const RouteTable& ComboRoutes() const { return comboRoutes_; }
    platform::WorkerThread* ThreadSlot(size_t slot) { return threads_[slot].get(); }
    // How many input-hook messages reached their handlers (they are dropped while suspended).
    int HookMessagesDispatched() const { return hookDispatched_; }
    bool GameModeTimerPending() const { return gameTimerPending_; }

    // The language is applied through this hook at "windowinit" and on message 0xC11.
    // Applies a language: -1 at start (the stored one), else the index the user chose.
    void SetLanguageHook(std::function<void(int)> apply) { applyLanguage_ = std::move(apply); }
    // How registered messages are broadcast to other programs (name, wParam, lParam); by
    // default through the instance sockets.
    using Broadcaster = std::function<void(const std::string&, uint64_t, int64_t)>;
    void SetBroadcaster(Broadcaster b) { broadcast_ = std::move(b); }

  protected:
    int64_t OnDestroy(bool& handled) override;

  private:
    void BuildRoutes();
    void StartupContinuation();
    void StartThreads();
    void TearDown();
    void OnTimer(uint32_t id);
    void OnGameMessage(uint64_t wParam, int64_t lParam);
    void EndGameMode();
    void CommitLight(COrvaneUSBDevice* device, const LightInfo& info);
    void SelectModeItem(int index);
    void OnDragSelectionEnd(ui::TNotifyUI& msg);
    void OpenTrayMenu();
    void ApplyLightControl(int on);
    void SetWindowActiveAll(int on);
    void SetPollingPausedAll(int on);
    void Broadcast(const std::string& name, uint64_t w, int64_t l);

    ui::TrayIcon tray_;
    ui::HWND aboutWindow_ = 0;  // the open About window, 0 when none
    DeviceDiscovery discovery_;
    std::array<std::unique_ptr<platform::WorkerThread>, kThreadSlots> threads_;
    RouteTable clickRoutes_, selectRoutes_, valueRoutes_, moveValueRoutes_, killFocusRoutes_,
        comboRoutes_;
    std::array<ui::CControlUI*, 9> titleButtons_{};
    std::function<void(int)> applyLanguage_;
    Broadcaster broadcast_;
    int lightControl_ = 1;
    int windowActive_ = 0;
    int windowHovered_ = 0;
    bool displayChanged_ = false;
    int dpi_ = 96;
    bool systemAwake_ = true;
    bool hookRunning_ = false;
    int hookDispatched_ = 0;
    bool gameTimerPending_ = false;
    bool tornDown_ = false;
    ui::Size screen_;
};

}  // namespace dravik
