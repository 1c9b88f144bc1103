#include "app/MainWnd.h"

#include <strings.h>

#include "app/ControlRegistry.h"
#include "app/RegisteredMessageTable.h"
#include "controls/AboutWnd.h"
#include "controls/DeviceKeyButton.h"
#include "devices/OrvaneDevices.h"
#include "discovery/DeviceOption.h"
#include "discovery/DeviceScan.h"
#include "discovery/DiscoveryMessages.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/InstanceMessenger.h"
#include "platform/JsonFile.h"
#include "platform/Trace.h"
#include "ui/ListControls.h"
#include "ui/MenuWnd.h"
#include "ui/Screen.h"

namespace dravik {
namespace {

const char* const kTitleButtonNames[9] = {"closebtn", "maxbtn",       "restorebtn",
                                          "minbtn",   "skinbtn",      "gamemodebtn",
                                          "cloudbtn", "smarteyesbtn", "setbtn"};
enum TitleButton { kClose, kMax, kRestore, kMin, kSkin, kGameMode, kCloud, kSmartEyes, kSet };

bool Contains(const std::vector<uint32_t>& ids, uint32_t msg) {
    return msg != 0 && std::find(ids.begin(), ids.end(), msg) != ids.end();
}

}  // namespace

MenuPlacement TrayMenuPlacement(ui::Point cursor, ui::Rect taskbar) {
    MenuPlacement p{cursor, ui::eMenuAlignment_Left | ui::eMenuAlignment_Top};
    const int width = taskbar.Width(), height = taskbar.Height();
    if (taskbar.left == 0 && taskbar.top == 0) {
        if (height < width) {
            p.point.y = height + 1;
            p.alignment = 12;
        } else if (width < height) {
            p.point.x = width + 1;
            p.alignment = 18;
        }
    } else if (taskbar.left == 0 && taskbar.top > 0) {
        p.point.y = taskbar.top - 20;
        p.alignment = 24;
    } else if (taskbar.left >= 1 && taskbar.top == 0) {
        p.point.x = taskbar.left - 1;
        p.alignment = 24;
    }
    return p;
}

int DpiForMonitor(ui::Size monitor) {
    return monitor.cx > 1500 && monitor.cy > 960 ? 144 : 96;
}

CMainWnd::CMainWnd()
    : discovery_(DiscoveryHost{&pm_, this, 0, [this] { RestoreAndActivate(); },
                               [this] { CloseChildWindows(); },
                               [this] {
                                   if (!hookRunning_)
                                       return false;
                                   hookRunning_ = false;  // input hook off, capture ended
                                   return true;
                               },
                               nullptr}) {
    BuildRoutes();
}

CMainWnd::~CMainWnd() {
    TearDown();
}

void CMainWnd::InitWindow() {
    platform::Trace("InitWindow");
    ui::CResourceManager::GetInstance().SetTextQueryInterface(this);
    ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
    for (size_t i = 0; i < titleButtons_.size(); ++i)
        titleButtons_[i] = pm_.FindControl(kTitleButtonNames[i]);
    SetIcon(kMainIconResource);
    tray_.Create(GetHWND(), kMainIconResource, platform::kProductIdentity, kTrayIconMessage);
}

ui::CControlUI* CMainWnd::CreateControl(const std::string& tag) {
    return CreateMainLayoutControl(tag, &pm_);
}

// --- routing tables -----------------------------------------------------------------------

void CMainWnd::BuildRoutes() {
    auto& c = clickRoutes_;
    c.Exact("closebtn", "main window", [this](ui::TNotifyUI&, int) {
        CloseChildWindows();
        ShowWindow(false);
        SetPollingPausedAll(1);
    });
    c.Exact("nodevice_ok_btn", "main window", [this](ui::TNotifyUI&, int) { ShowWindow(false); });
    c.Exact("control_light_status", "main window",
            [this](ui::TNotifyUI&, int) { ToggleLightControl(); });
    c.Exact("minbtn", "main window", [this](ui::TNotifyUI&, int) { SetMinimized(true); });
    c.Exact("maxbtn", "main window", [this](ui::TNotifyUI&, int) { SetMinimized(false); });
    c.Exact("restorebtn", "main window", [this](ui::TNotifyUI&, int) { SetMinimized(false); });
    c.Exact("skinbtn", "skin frame");
    c.Exact("setbtn", "settings window");
    c.Exact("default_btn", "profile list");
    c.Exact("reset_repeat_btn", "keyboard settings");
    for (const char* n :
         {"device_add_btn", "device_sub_btn", "device_copy_btn", "device_import_btn",
          "device_export_btn", "device_reset_btn", "device_profile_edit_save_btn"})
        c.Exact(n, "profile list");
    for (const char* n :
         {"key_butt_keysave", "key_butt_keydefalut", "key_butt_keycancel", "key_butt_prosave"})
        c.Exact(n, "key-assignment editor");
    for (const char* n :
         {"macro_btn_starredio", "macro_btn_stopredio", "macro_btn_name_add", "macro_btn_name_sub",
          "macro_btn_name_edit", "macro_btn_save", "macro_btn_cancel", "macro_btn_export",
          "macro_btn_import", "macro_btn_up", "macro_btn_down", "macro_btn_uptop",
          "macro_btn_downbottom", "macro_btn_delete", "macro_btn_deleteall"})
        c.Exact(n, "macro editor");
    for (const char* n : {"macro_inset_moveleftkey_btn", "macro_inset_moverightkey_btn",
                          "macro_inset_moveupkey_btn", "macro_inset_movedownkey_btn"})
        c.Exact(n, "macro editor", {}, true);
    for (const char* n : {"shootdate_save_btn", "shootdate_reset_btn", "shootdate_import_btn",
                          "shootdate_export_btn", "bullet_selected_prev", "bullet_selected_next"})
        c.Exact(n, "recoil editor");
    c.Exact("custom_bright_color_btn", "lighting editor");
    c.Exact("custom_off_color_btn", "lighting editor");
    c.Exact("deng_same_mode", "synchronised lighting");
    c.Exact("hs_EQ_btn_save", "headset editors");
    c.Exact("hs_EQ_btn_delete", "headset editors");
    c.Exact("profile_fun_spread_btn", "profile bar", {}, true);
    c.Exact("device_select_prev", "main window",
            [this](ui::TNotifyUI&, int) { discovery_.SelectAdjacentTab(-1); });
    c.Exact("device_select_next", "main window",
            [this](ui::TNotifyUI&, int) { discovery_.SelectAdjacentTab(+1); });
    c.Exact("Close_bkColor_btn", "audio lighting");
    c.Exact("music_setting_btn", "audio lighting");
    c.Prefix("key_", "key-assignment editor / keyboard paint");
    c.Prefix("color_option_", "lighting editor");
    c.Prefix("audiocolor_option_", "audio lighting");
    c.Prefix("windowdeviceset_", "mouse performance page");
    c.Prefix("DPI_color_option_", "mouse performance page");

    auto& s = selectRoutes_;
    s.Exact("device_select", "main window",
            [this](ui::TNotifyUI&, int) { discovery_.OnTabSelected(); });
    const std::pair<const char*, int> functionTabs[] = {
        {"deng_Op_tab", 1},   {"key_Op_tab", 2},        {"macro_Op_tab", 3},
        {"system_Op_tab", 4}, {"cursor_Op_tab", 5},     {"6533_voice_Op_tab", 6},
        {"magic_Op_tab", 7},  {"Virtual7.1_Op_tab", 8}, {"otherset_Op_tab", 9}};
    for (const auto& tab : functionTabs) {
        const int page = tab.second;
        s.Exact(tab.first, "device page (function page)", [this, page](ui::TNotifyUI&, int) {
            if (COrvaneUSBDevice* d = SelectedDevice())
                d->SelectFunctionPage(page);
        });
    }
    for (const char* n :
         {"DPI_enable_check_", "DPI_select_check_", "Silent_Altitude_option_",
          "Linear_Calibration_option_", "Ripple_option_", "mouse_device_seting_option_"})
        s.Prefix(n, "mouse performance page");
    for (const char* n : {"pointer_precision_check", "scrolls_page_check"})
        s.Exact(n, "mouse performance page");
    s.Prefix("polling_rate_option_", "mouse performance page / keyboard settings");
    s.Prefix("repeat_delay_check_", "keyboard settings");
    for (const char* n : {"winlockflag_option", "wflag_option", "6flag_option"})
        s.Exact(n, "keyboard settings");
    s.Prefix("shoot_gun_op_", "recoil editor");
    s.Prefix("bullet_op_", "recoil editor");
    s.Exact("bullet_x_check", "recoil editor");
    s.Exact("bullet_y_check", "recoil editor");
    s.Prefix("magic_option_", "headset editors");
    s.Prefix("6533_eq_option_", "headset editors");
    for (const char* n : {"magic_enable_option", "6533_MicIn_option", "6533_MicMoniter_option"})
        s.Exact(n, "headset editors");
    s.Prefix("key_ComBox_check_", "key-assignment editor");
    for (const char* n : {"deng_FXL_check", "deng_FXR_check", "deng_7color_check",
                          "deng_7audiocolor_check", "audio_BkColor_check", "audio_FgColor_check"})
        s.Exact(n, "lighting editor");

    auto& v = valueRoutes_;
    v.Exact("deng_light_slider", "lighting editor");
    v.Exact("deng_speed_slider", "lighting editor");
    for (const char* n : {"R_light_slider", "G_light_slider", "B_light_slider"})
        v.Exact(n, "audio lighting");
    v.Prefix("DPI_slider_", "mouse performance page");
    for (const char* n : {"double_click_slider", "pointer_speed_slider", "scroll_speed_slider"})
        v.Exact(n, "mouse performance page");
    v.Exact("repeat_rate_slider", "keyboard settings");
    v.Exact("6533_MicIn_slider", "headset editors");
    v.Exact("6533_MicMoniter_slider", "headset editors");
    v.Prefix("6533_eq_hz_slider_", "headset editors");

    moveValueRoutes_.Prefix("DPI_slider_", "mouse performance page");

    auto& k = killFocusRoutes_;
    k.Prefix("DPI_edit_", "mouse performance page");
    for (const char* n : {"deng_edit_R", "deng_edit_G", "deng_edit_B", "deng_audioedit_R",
                          "deng_audioedit_G", "deng_audioedit_B"})
        k.Exact(n, "lighting editor");
    for (const char* n : {"bullet_delay_eidt", "bullet_x_eidt", "bullet_y_eidt"})
        k.Exact(n, "recoil editor");
    for (const char* n :
         {"keyset_keyboard_text_edit", "keyset_macro_cycle_edit", "keyset_mousefire_interval_edit",
          "keyset_mousefire_num_edit", "keyset_mouseswing_delay_edit", "keyset_mouseswing_num_edit",
          "keyset_mouseswing_speed_edit", "keyset_mousewheel_delay_edit",
          "keyset_mousewheel_num_edit", "keyset_mousewheel_speed_edit"})
        k.Exact(n, "key-assignment editor");
    k.Exact("macro_delay", "macro editor");

    auto& cb = comboRoutes_;
    cb.Exact("device_profile_combo", "profile list",
             [this](ui::TNotifyUI&, int) { ui::SetTimer(GetHWND(), kTimerProfileSwitch, 400); });
    for (const char* n : {"light_combo_modeSelect", "light_combo_custommodeSelect",
                          "light_combo_ZZCCmodeSelect", "light_combo_audiomodeSelect"})
        cb.Exact(n, "lighting editor");
    cb.Exact("keyset_function_combo", "key-assignment editor");
    cb.Exact("keyset_macro_over_combo", "key-assignment editor");
    for (const char* n : {"Anti_Shake_combo_timeSelect", "ble_sleep1_combo", "ble_sleep2_combo",
                          "device_sleep1_combo", "device_sleep2_combo"})
        cb.Exact(n, "mouse performance page (mouse selected)");
    cb.Exact("macro_name_list", "macro editor");
    cb.Exact("custom_eq_name_combo", "headset editors");
}

void CMainWnd::OnClick(ui::TNotifyUI&) {
    // Clicks go through the click routes in Notify.
}

void CMainWnd::Notify(ui::TNotifyUI& msg) {
    const std::string sender = msg.pSender ? msg.pSender->GetName() : std::string();
    if (msg.sType != "timer")
        platform::Trace("notify %s %s", msg.sType.c_str(), sender.c_str());
    const std::string& type = msg.sType;
    if (type == "windowinit") {
        StartupContinuation();
    } else if (type == "windowsize") {
        if (sender == "root" && displayChanged_) {
            displayChanged_ = false;
            DpiSetup();
        }
    } else if (type == "click") {
        clickRoutes_.Dispatch(msg, false);
    } else if (type == "selectchanged") {
        selectRoutes_.Dispatch(msg, true);
    } else if (type == "valuechanged") {
        valueRoutes_.Dispatch(msg, true);
    } else if (type == "movevaluechanged") {
        moveValueRoutes_.Dispatch(msg, true);
    } else if (type == "killfocus") {
        killFocusRoutes_.Dispatch(msg, true);
    } else if (type == "itemselect") {
        comboRoutes_.Dispatch(msg, true);
    } else if (type == "click_select_end") {
        OnDragSelectionEnd(msg);
    } else if (type == "click_wpremove" || type == "click_wpedit") {
        return;  // the library's own handling is skipped for these
    }
    WindowImplBase::Notify(msg);
}

void CMainWnd::OnDragSelectionEnd(ui::TNotifyUI& msg) {
    if (!msg.pSender || msg.pSender->GetName() != "mouse_device_key_light")
        return;
    COrvaneUSBDevice* device = SelectedDevice();
    auto* panel = dynamic_cast<ui::CContainerUI*>(msg.pSender);
    if (!device || !panel)
        return;
    const int lights = device->GetLightCount();
    std::vector<int> marks(static_cast<size_t>(lights), 0);
    bool anySelected = false;
    for (int i = 0; i < panel->GetCount(); ++i) {
        auto* button = dynamic_cast<CDeviceKeyButtonUI*>(panel->GetItemAt(i));
        if (!button || button->GetClass() != "DeviceKeyButton")
            continue;
        auto [head, n] = SplitNumberedName(button->GetName());
        if (strcasecmp(head.c_str(), "light_") != 0 || n < 0)
            std::tie(head, n) = SplitNumberedName(button->GetUserData());
        if (strcasecmp(head.c_str(), "light_") != 0 || n < 0 || n >= lights)
            continue;
        const bool selected = button->IsMarqueeSelected() != 0;
        anySelected = anySelected || selected;
        marks[static_cast<size_t>(n)] = selected || !button->IsVisible() ? 1 : 0;
    }
    if (!anySelected || std::find(marks.begin(), marks.end(), 0) != marks.end())
        return;
    // The main window's profile name is empty: the file is ".json" in the product folder.
    const auto file = platform::UserDataFolder() / ".json";
    if (platform::ReadJsonFile(file).isNull())
        return;
    device->LoadCurrentProfile();
    device->RefreshPage();
    device->WriteToDevice(0, 0, 1, screen_.cx, screen_.cy);
    device->LoadFromProfile();
}

// --- start-up -----------------------------------------------------------------------------

void CMainWnd::StartupContinuation() {
    Broadcast(kGuidMessageNames[1], 1, 1);
    if (applyLanguage_)
        applyLanguage_(-1);
    discovery_.SetWindow(GetHWND());
    discovery_.Init();
    discovery_.CreateStartupPages();
    screen_ = ui::ScreenSize();
    ShowWindow(false);
    StartThreads();
    ui::SetTimer(GetHWND(), kTimerDpiSetup, 100);
}

void CMainWnd::StartThreads() {
    const ui::HWND hwnd = GetHWND();
    const uint32_t identity = Messages().productIdentity;
    DeviceList* list = &discovery_.List();
    threads_[kScanThreadSlot] = std::make_unique<platform::WorkerThread>("device-scan");
    threads_[kScanThreadSlot]->Start([hwnd, identity, list](platform::WorkerThread& self) {
        ScanSink sink;
        sink.arrived = [hwnd](int row) {
            ui::SendMessageChecked(hwnd, kMsgDeviceArrived, static_cast<uint64_t>(row), 0);
        };
        sink.removed = [hwnd](int row) {
            ui::SendMessageChecked(hwnd, kMsgDeviceRemoved, static_cast<uint64_t>(row), 0);
        };
        sink.firstPassDone = [hwnd, identity] {
            if (identity)
                ui::PostMessage(hwnd, identity, 0, 0);
        };
        DeviceScanner scanner(*list, sink);
        scanner.Run(self);
    });
}

void CMainWnd::TearDown() {
    if (tornDown_)
        return;
    tornDown_ = true;
    for (auto& t : threads_)
        if (t)
            t->StopEvent().Set();
    for (size_t slot = 0; slot < threads_.size(); ++slot) {
        if (!threads_[slot]) {
            platform::Trace("错误\n%d", static_cast<int>(slot));
            continue;
        }
        threads_[slot]->Stop(kThreadStopBoundMs, "所有对象处于激发状态\n",
                             "所有对象处于非激发状态，超时\n");
        threads_[slot].reset();
    }
}

// --- window states ------------------------------------------------------------------------

void CMainWnd::RestoreAndActivate() {
    if (ui::CControlUI* overlay = pm_.FindControl("No_device_Link"))
        overlay->SetVisible(true);
    for (auto* list : {&discovery_.Mice(), &discovery_.Keyboards()})
        for (COrvaneUSBDevice* d : *list)
            d->SetPollingPaused(0);
    SetMinimized(false);
    ShowWindow(true);
    SetTopmost(true);
    platform::SleepMs(10);
    SetTopmost(false);
}

void CMainWnd::DpiSetup() {
    const bool wasShown = IsVisible() && !IsMinimized();
    if (!wasShown)
        SetMinimized(false);
    const ui::Rect monitor = ui::MonitorRectOf(GetHWND());  // the monitor the window is on
    dpi_ = DpiForMonitor({monitor.Width(), monitor.Height()});
    ui::CPaintManagerUI::SetAllDPI(96);
    ResizeClient(1000, 640);
    ui::CPaintManagerUI::SetAllDPI(dpi_);
    ResizeClient(1000 * dpi_ / 96, 640 * dpi_ / 96);
    CenterWindow();
    ShowWindow(wasShown, false);
}

void CMainWnd::CloseChildWindows() {
    if (aboutWindow_ && ui::IsWindow(aboutWindow_))
        if (auto* w = ui::WindowFromHandle(aboutWindow_))
            w->Close(ui::IDCANCEL);
}

void CMainWnd::SetWindowActiveAll(int on) {
    for (COrvaneUSBDevice* d : discovery_.LightDevices())
        d->SetWindowActive(on);
}

void CMainWnd::SetPollingPausedAll(int on) {
    for (auto* list : {&discovery_.Mice(), &discovery_.Keyboards()})
        for (COrvaneUSBDevice* d : *list)
            d->SetPollingPaused(on);
}

void CMainWnd::ToggleTray() {
    if (ui::CControlUI* overlay = pm_.FindControl("No_device_Link")) {
        if (discovery_.CountVisibleTabs() == 0)
            overlay->SetVisible(true);
        else if (discovery_.LinkConfirmed())
            overlay->SetVisible(false);
    }
    CloseChildWindows();
    if (IsVisible() && !IsMinimized()) {
        ShowWindow(false);
        SetPollingPausedAll(1);
        return;
    }
    DpiSetup();
    SetMinimized(false);
    ShowWindow(true);
    SetTopmost(true);
    platform::SleepMs(10);
    SetTopmost(false);
    pm_.Invalidate();
    SetPollingPausedAll(0);
    pm_.NeedUpdate();
}

void CMainWnd::OpenTrayMenu() {
    const ui::Size screen = ui::ScreenSize();
    // No taskbar is known here: the menu opens at the screen's corner where a tray sits.
    MenuPlacement place = TrayMenuPlacement({screen.cx - 1, screen.cy - 1}, ui::Rect{});
    auto* menu = new ui::CMenuWnd;
    menu->Init("menu.xml", place.point, &pm_, place.alignment);
}

void CMainWnd::Broadcast(const std::string& name, uint64_t w, int64_t l) {
    if (broadcast_) {
        broadcast_(name, w, l);
        return;
    }
    platform::InstancePacket packet;
    packet.name = name;
    packet.wParam = w;
    packet.lParam = l;
    platform::InstanceMessenger(platform::RuntimeFolder()).Broadcast(packet);
}

void CMainWnd::ApplyLightControl(int on) {
    lightControl_ = on;
    if (ui::CControlUI* status = pm_.FindControl("control_light_status"))
        status->SetText(on ? "控制灯光" : "不控制灯光");
    for (COrvaneUSBDevice* d : discovery_.LightDevices())
        d->SetLightControl(on);
}

void CMainWnd::ToggleLightControl() {
    const int on = lightControl_ ? 0 : 1;
    Broadcast(kGuidMessageNames[1], 1, on);
    ApplyLightControl(on);
}

void CMainWnd::SetLightControlFromOutside(int on) {
    ApplyLightControl(on ? 1 : 0);
}

// --- game mode ----------------------------------------------------------------------------

void CMainWnd::SelectModeItem(int index) {
    if (auto* modes = dynamic_cast<ui::CComboUI*>(pm_.FindControl("light_combo_modeSelect")))
        modes->SelectItem(index, false, false);
}

void CMainWnd::CommitLight(COrvaneUSBDevice* device, const LightInfo& info) {
    device->StoreLightInfo(info);
    device->SaveProfile();
    device->LoadFromProfile();
    device->WriteToDevice(0, 0, 1, screen_.cx, screen_.cy);
}

void CMainWnd::OnGameMessage(uint64_t wParam, int64_t lParam) {
    COrvaneUSBDevice* device = SelectedDevice();
    auto* common = dynamic_cast<COrvaneDeviceCommon*>(device);
    if (common && wParam <= 2) {
        device->SetSyncActive(false);
        SelectModeItem(static_cast<int>(lParam));
        LightInfo info = common->GetLightInfo();
        if (wParam == 0) {
            info.oldLedMode = info.selectItem;
            if (info.oldLedMode == 0 || info.oldLedMode > 20)
                info.oldLedMode = 1;
        }
        info.selectItem = static_cast<uint8_t>(lParam & 0xFF);
        CommitLight(device, info);
    }
    ui::SetTimer(GetHWND(), kTimerGameModeEnd, 5000);
    gameTimerPending_ = true;
}

void CMainWnd::EndGameMode() {
    gameTimerPending_ = false;
    COrvaneUSBDevice* device = SelectedDevice();
    auto* common = dynamic_cast<COrvaneDeviceCommon*>(device);
    if (!common)
        return;
    device->SetSyncActive(false);
    LightInfo info = common->GetLightInfo();
    SelectModeItem(info.oldLedMode);
    info.selectItem = info.oldLedMode;
    CommitLight(device, info);
}

// --- messages -----------------------------------------------------------------------------

void CMainWnd::OnTimer(uint32_t id) {
    ui::KillTimer(GetHWND(), id);
    switch (id) {
        case kTimerDpiSetup:
            DpiSetup();
            pm_.Invalidate();
            break;
        case kTimerTrayMenu:
            OpenTrayMenu();
            break;
        case kTimerProfileSwitch:
            break;  // the profile list switches profiles here
        case kTimerGameModeEnd:
            EndGameMode();
            break;
        default:
            break;
    }
}

int64_t CMainWnd::HandleCustomMessage(uint32_t msg, uint64_t wParam, int64_t lParam,
                                      bool& handled) {
    handled = true;
    const RegisteredMessageTable& reg = Messages();
    if (msg == reg.productIdentity && msg != 0) {
        platform::Trace("软件标示 %d，%xd%xd", static_cast<int>(msg), static_cast<unsigned>(wParam),
                        static_cast<unsigned>(lParam));
        RestoreAndActivate();
        return 0;
    }
    if (msg != 0 && msg == reg.lightSet) {
        if (wParam == 1 && (lParam == 0 || lParam == 1))
            SetLightControlFromOutside(static_cast<int>(lParam));
        return 0;
    }
    if (msg != 0 && (msg == reg.lightState || msg == reg.lightDataQuery))
        return 0;  // the settings window and the music lighting take these
    if (Contains(reg.hookMessages, msg)) {
        if (!systemAwake_)
            return 0;
        const size_t index =
            static_cast<size_t>(std::find(reg.hookMessages.begin(), reg.hookMessages.end(), msg) -
                                reg.hookMessages.begin());
        if (std::string(kHookMessageNames[index]) == "WM_HOOK_KEY_HITKEY_MSG")
            return 0;
        if (std::string(kHookMessageNames[index]) == "WM_HOOK_KEY_MSMACRO_MSG")
            platform::Trace("WM_HOOK_KEY_MSMACRO");
        ++hookDispatched_;  // key capture and the macro recorder take them from here
        return 0;
    }
    if (Contains(reg.gameMessages, msg)) {
        if (systemAwake_)
            OnGameMessage(wParam, lParam);
        return 0;
    }
    switch (msg) {
        case ui::WM_ACTIVATE:
            windowActive_ = wParam != 0;
            SetWindowActiveAll(windowActive_);
            handled = false;
            return 0;
        case ui::WM_MOUSEHOVER:
            platform::Trace("鼠标移入");
            windowHovered_ = 1;
            SetWindowActiveAll(1);
            handled = false;
            return 0;
        case ui::WM_MOUSELEAVE:
            platform::Trace("鼠标移出");
            windowHovered_ = 0;
            SetWindowActiveAll(0);
            handled = false;
            return 0;
        case kWmPowerBroadcast:
            if (wParam == kPbtApmSuspend) {
                systemAwake_ = false;
                for (COrvaneUSBDevice* d : discovery_.LightDevices())
                    d->SetLightControl(0);
            } else if (wParam == kPbtApmResumeAutomatic) {
                systemAwake_ = true;
                for (COrvaneUSBDevice* d : discovery_.LightDevices())
                    d->SetLightControl(lightControl_);
            }
            return 0;
        case kMsgShowSettingProgress:
            if (ui::CControlUI* p = pm_.FindControl("setting_progress"))
                p->SetVisible(true);
            return 0;
        case kMsgLanguageChanged:
            if (applyLanguage_)
                applyLanguage_(static_cast<int>(wParam));
            for (auto* list : {&discovery_.Mice(), &discovery_.Keyboards()})
                for (COrvaneUSBDevice* d : *list)
                    if (auto* common = dynamic_cast<COrvaneDeviceCommon*>(d))
                        common->BuildPage();
            return 0;
        case kMsgDeviceArrived:
            discovery_.OnArrival(wParam);
            return 0;
        case kMsgDeviceRemoved:
            discovery_.OnRemoval(wParam);
            return 0;
        case kMsgOpenSettings:
        case kMsgUpdateNoticeGone:
        case kMsgNoEffect:
        case kMsgUpdateState:
        case kMsgDeviceValue:
        case kMsgPowerStatus:
            return 0;  // the settings window and update check take these; 0xD00-0xD02 do nothing
        case kMsgDeviceTab:
            discovery_.OnDeviceTab(wParam, lParam);
            return 0;
        case kMsgDeviceLinkConfirmed:
            discovery_.OnLinkConfirmed(wParam);
            return 0;
        case kTrayIconMessage:
            if (lParam == ui::WM_LBUTTONUP)
                ToggleTray();
            else if (lParam == ui::WM_RBUTTONUP)
                ui::SetTimer(GetHWND(), kTimerTrayMenu, 10);
            return 0;
        case kMsgInputHook:
            hookRunning_ = wParam == 1;
            return 0;
        case ui::kMenuCommandMessage: {
            auto* cmd = reinterpret_cast<const ui::MenuCommand*>(lParam);
            if (cmd && cmd->name == "exit") {
                CloseChildWindows();
                Close(ui::IDOK);
            } else if (cmd && cmd->name == "about_menu") {
                CAboutWnd::Open(GetHWND(), aboutWindow_);
            }
            return 0;
        }
        case kMsgDpiTrace:
            platform::Trace("界面 DPI 1发生变化");
            return 0;
        case kWmDpiChanged:
            pm_.SetDPI(static_cast<int>(wParam & 0xFFFF));
            CenterWindow();
            pm_.NeedUpdate();
            platform::Trace("界面 DPI 发生变化");
            return 0;
        case ui::WM_COPYDATA:
            return 0;  // audio buffers for the music lighting
        case ui::WM_DISPLAYCHANGE:
            platform::Trace("显示器分辨率发生变化");
            displayChanged_ = true;
            DpiSetup();
            return 0;
        case ui::WM_KEYDOWN:
        case 0x0104:  // WM_SYSKEYDOWN
            return 0;
        case ui::WM_TIMER:
            if (wParam == kTimerDpiSetup || wParam == kTimerTrayMenu ||
                wParam == kTimerProfileSwitch || wParam == kTimerGameModeEnd) {
                OnTimer(static_cast<uint32_t>(wParam));
                return 0;
            }
            break;
        case ui::WM_DESTROY:
            platform::Trace("退出测试");
            ShowWindow(false);
            TearDown();
            tray_.Remove();
            ui::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    handled = false;
    return 0;
}

int64_t CMainWnd::OnDestroy(bool& handled) {
    tray_.Remove();
    ui::PostQuitMessage(0);
    handled = false;
    return 0;
}

}  // namespace dravik
