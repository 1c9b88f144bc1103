#include <gtest/gtest.h>

#include "platform/RegisteredMessages.h"
#include "platform/Trace.h"
#include "support/MainWndFixture.h"
#include "ui/BasicControls.h"
#include "ui/Screen.h"

using namespace dravik;
using dravik::test::MainWndFixture;

namespace {

TEST(TrayMenuPlacementTest, FollowsTheTaskbarEdge) {
    struct Case {
        ui::Rect taskbar;
        ui::Point point;
        uint32_t alignment;
    } cases[] = {
        {{0, 0, 1920, 40}, {500, 41}, 12},         // along the top
        {{0, 0, 60, 1080}, {61, 300}, 18},         // along the left
        {{0, 1040, 1920, 1080}, {500, 1020}, 24},  // along the bottom
        {{1860, 0, 1920, 1080}, {1859, 300}, 24},  // along the right
        {{0, 0, 0, 0}, {500, 300}, 6},             // no taskbar known
    };
    for (const auto& c : cases) {
        MenuPlacement p = TrayMenuPlacement({500, 300}, c.taskbar);
        EXPECT_EQ(p.point, c.point) << c.taskbar.left << "," << c.taskbar.top;
        EXPECT_EQ(p.alignment, c.alignment);
    }
}

TEST(DpiTest, LargeMonitorsGet144) {
    EXPECT_EQ(DpiForMonitor({1920, 1080}), 144);
    EXPECT_EQ(DpiForMonitor({1366, 768}), 96);
    EXPECT_EQ(DpiForMonitor({1500, 1080}), 96);
    EXPECT_EQ(DpiForMonitor({1920, 960}), 96);
}

class MainWndTest : public MainWndFixture {
  protected:
    void Notify(const std::string& type, const std::string& name) {
        ui::CControlUI sender;
        sender.SetName(name);
        ui::TNotifyUI msg;
        msg.sType = type;
        msg.pSender = &sender;
        wnd->Notify(msg);
    }
    std::vector<std::string> Owners(const RouteTable& t, const std::string& name, bool firstOnly) {
        std::vector<std::string> out;
        for (const auto& m : t.Lookup(name, firstOnly))
            out.push_back(t.Rows()[m.row].owner + "#" + std::to_string(m.number));
        return out;
    }
};

TEST_F(MainWndTest, RoutesMatchNamesPrefixesAndCase) {
    Start();
    struct Case {
        const RouteTable* table;
        const char* name;
        bool firstOnly;
        std::vector<std::string> owners;
    } cases[] = {
        {&wnd->ClickRoutes(), "key_7", false, {"key-assignment editor / keyboard paint#7"}},
        {&wnd->ClickRoutes(), "KEY_7", false, {"key-assignment editor / keyboard paint#7"}},
        {&wnd->ClickRoutes(), "key_Op_tab", false, {}},
        {&wnd->ClickRoutes(), "DPI_color_option_2", false, {"mouse performance page#2"}},
        {&wnd->ClickRoutes(), "color_option_2", false, {"lighting editor#2"}},
        {&wnd->ClickRoutes(), "MACRO_BTN_SAVE", false, {"macro editor#-1"}},
        {&wnd->ClickRoutes(), "macro_inset_moveleftkey_btn", false, {"macro editor#-1"}},
        {&wnd->ClickRoutes(), "MACRO_INSET_MOVELEFTKEY_BTN", false, {}},
        {&wnd->ClickRoutes(), "profile_fun_spread_BTN", false, {}},
        {&wnd->SelectRoutes(), "Key_Op_Tab", true, {"device page (function page)#-1"}},
        {&wnd->SelectRoutes(), "DPI_enable_check_3", true, {"mouse performance page#3"}},
        {&wnd->SelectRoutes(), "DPI_enable_check_", true, {}},
        {&wnd->ValueRoutes(), "DPI_slider_4", true, {"mouse performance page#4"}},
        {&wnd->ValueRoutes(), "6533_eq_hz_slider_9", true, {"headset editors#9"}},
        {&wnd->MoveValueRoutes(), "DPI_slider_1", true, {"mouse performance page#1"}},
        {&wnd->KillFocusRoutes(), "DPI_edit_0", true, {"mouse performance page#0"}},
        {&wnd->ComboRoutes(), "Device_Profile_Combo", true, {"profile list#-1"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Owners(*c.table, c.name, c.firstOnly), c.owners) << c.name;
}

TEST_F(MainWndTest, TabRoutesSelectFunctionPagesAndNeighbours) {
    Start();
    auto mouse = sim.Plug("mouse");
    auto kb = sim.Plug("keyboard");
    ASSERT_TRUE(PumpUntil([&] { return TabVisible("mouse") && TabVisible("keyboard"); }, 2000));
    ASSERT_EQ(wnd->SelectedDevice(), Mouse());
    Notify("selectchanged", "KEY_op_tab");
    EXPECT_EQ(Mouse()->GetFunctionPage(), 2);
    Notify("selectchanged", "system_Op_tab");
    EXPECT_EQ(Mouse()->GetFunctionPage(), 4);
    Notify("click", "device_select_prev");  // at the first tab: nothing
    EXPECT_EQ(wnd->SelectedDevice(), Mouse());
    Notify("click", "device_select_next");
    EXPECT_EQ(wnd->SelectedDevice(), Keyboard());
    Notify("click", "device_select_next");  // no wrap-around
    EXPECT_EQ(wnd->SelectedDevice(), Keyboard());
    EXPECT_EQ(Disc().SelectedTabIndex(), Disc().TabIndexOf(Tab("keyboard")));
}

TEST_F(MainWndTest, LightControlToggleBroadcastsAndOutsideRequestDoesNot) {
    Start();
    auto kb = sim.Plug("keyboard");
    ASSERT_TRUE(PumpUntil([&] { return TabVisible("keyboard"); }, 2000));
    ASSERT_EQ(broadcasts.size(), 1u);  // the start-up announcement (1, 1)
    EXPECT_EQ(broadcasts[0], std::make_tuple(std::string(kGuidMessageNames[1]), 1ull, 1ll));
    auto* status = wnd->GetPaintManager().FindControl("control_light_status");
    Notify("click", "control_light_status");
    EXPECT_EQ(wnd->LightControl(), 0);
    EXPECT_EQ(status->GetText(), "不控制灯光");
    ASSERT_EQ(broadcasts.size(), 2u);
    EXPECT_EQ(broadcasts[1], std::make_tuple(std::string(kGuidMessageNames[1]), 1ull, 0ll));
    EXPECT_EQ(Keyboard()->GetLightControl(), 0);
    EXPECT_EQ(Mouse()->GetLightControl(), 0);
    kb->ClearRequests();
    const uint32_t bf17 = Messages().lightSet;
    Send(bf17, 0, 1);  // wParam must be 1
    EXPECT_EQ(wnd->LightControl(), 0);
    Send(bf17, 1, 1);
    EXPECT_EQ(wnd->LightControl(), 1);
    EXPECT_EQ(status->GetText(), "控制灯光");
    EXPECT_EQ(broadcasts.size(), 2u);
    EXPECT_EQ(Keyboard()->GetLightControl(), 1);
    size_t resumes = 0;
    for (const auto& r : kb->Requests())
        resumes += r[3] == 0x1C;
    EXPECT_EQ(resumes, 1u);  // the cable keyboard resumes its light control
}

TEST_F(MainWndTest, SuspendDropsGameAndHookMessagesUntilResume) {
    Start();
    auto mouse = sim.Plug("mouse");
    ASSERT_TRUE(PumpUntil([&] { return TabVisible("mouse"); }, 2000));
    const uint32_t hook = Messages().hookMessages[0];
    const uint32_t hitKey = Messages().hookMessages[1];  // WM_HOOK_KEY_HITKEY_MSG is ignored
    const uint32_t game = Messages().gameMessages[2];
    Send(kWmPowerBroadcast, kPbtApmSuspend, 0);
    EXPECT_FALSE(wnd->SystemAwake());
    EXPECT_EQ(Mouse()->GetLightControl(), 0);
    Send(hook, 0, 0);
    Send(game, 1, 3);
    EXPECT_EQ(wnd->HookMessagesDispatched(), 0);
    EXPECT_FALSE(wnd->GameModeTimerPending());
    Send(kWmPowerBroadcast, kPbtApmResumeAutomatic, 0);
    EXPECT_EQ(Mouse()->GetLightControl(), 1);
    Send(hook, 0, 0);
    Send(hitKey, 0, 0);
    Send(game, 1, 3);
    EXPECT_EQ(wnd->HookMessagesDispatched(), 1);
    EXPECT_TRUE(wnd->GameModeTimerPending());
}

TEST_F(MainWndTest, GameModeKeepsTheOldModeAndReturnsToIt) {
    Start();
    auto mouse = sim.Plug("mouse");
    ASSERT_TRUE(PumpUntil([&] { return TabSelected("mouse"); }, 2000));
    auto* common = dynamic_cast<COrvaneDeviceCommon*>(Mouse());
    ASSERT_NE(common, nullptr);
    struct Case {
        uint8_t mode;
        uint64_t wParam;
        uint8_t old;   // expected OldLedmode afterwards
        uint8_t back;  // the mode after the timer
    } cases[] = {{25, 0, 1, 1}, {7, 0, 7, 7}, {0, 0, 1, 1}, {7, 1, 9, 9}};
    const uint32_t game = Messages().gameMessages[0];
    for (const auto& c : cases) {
        LightInfo li;
        li.selectItem = c.mode;
        li.oldLedMode = 9;
        Mouse()->StoreLightInfo(li);
        Send(game, c.wParam, 0x103);  // only the low byte is the mode
        EXPECT_EQ(common->GetLightInfo().selectItem, 3) << int(c.mode);
        EXPECT_EQ(common->GetLightInfo().oldLedMode, c.old) << int(c.mode);
        Send(ui::WM_TIMER, kTimerGameModeEnd, 0);
        EXPECT_EQ(common->GetLightInfo().selectItem, c.back) << int(c.mode);
    }
    LightInfo before = common->GetLightInfo();
    Send(game, 3, 5);  // another wParam changes nothing, the timer still starts
    EXPECT_EQ(common->GetLightInfo(), before);
    EXPECT_TRUE(wnd->GameModeTimerPending());
}

TEST_F(MainWndTest, GameMessageWithoutSelectedDeviceChangesNothing) {
    Start();
    Send(Messages().gameMessages[0], 0, 3);
    EXPECT_TRUE(wnd->GameModeTimerPending());
    Send(ui::WM_TIMER, kTimerGameModeEnd, 0);
    EXPECT_FALSE(wnd->GameModeTimerPending());
}

TEST_F(MainWndTest, DpiFollowsTheMonitorOnDisplayChange) {
    Start();
    ui::SetScreenSize({1366, 768});
    Send(ui::WM_DISPLAYCHANGE, 0, 0);
    EXPECT_EQ(wnd->Dpi(), 96);
    ui::SetScreenSize({1920, 1080});
    Send(ui::WM_DISPLAYCHANGE, 0, 0);
    EXPECT_EQ(wnd->Dpi(), 144);
    EXPECT_EQ(wnd->GetPaintManager().GetDPI(), 144);
}

TEST_F(MainWndTest, TrayToggleHidesAndRestores) {
    Start();
    ASSERT_TRUE(PumpUntil([&] { return wnd->IsVisible(); }, 2000));
    Send(kTrayIconMessage, 0, ui::WM_LBUTTONUP);
    EXPECT_FALSE(wnd->IsVisible());
    Send(kTrayIconMessage, 0, ui::WM_LBUTTONUP);
    EXPECT_TRUE(wnd->IsVisible());
    EXPECT_FALSE(wnd->IsTopmost());
}

TEST_F(MainWndTest, TearDownStopsEveryThreadWithinItsBound) {
    Start();
    auto mouse = sim.Plug("mouse");
    ASSERT_TRUE(PumpUntil([&] { return Mouse() && Mouse()->ListenerRunning(false); }, 2000));
    platform::TraceCapture trace;
    const uint64_t start = platform::NowMs();
    wnd->DestroyWindow();
    EXPECT_LT(platform::NowMs() - start, 1000u);
    EXPECT_TRUE(trace.Contains("退出测试"));
    EXPECT_TRUE(trace.Contains("抓取设备线程设定退出"));
    EXPECT_EQ(trace.Count("所有对象处于激发状态"), 1u);  // slot 0; the others hold no thread
    EXPECT_FALSE(trace.Contains("超时"));
    EXPECT_EQ(wnd->ThreadSlot(kScanThreadSlot), nullptr);
}

}  // namespace
