#include <gtest/gtest.h>

#include <algorithm>

#include "discovery/DeviceScan.h"
#include "discovery/DeviceTables.h"
#include "platform/Trace.h"
#include "support/MainWndFixture.h"

using namespace dravik;
using dravik::test::MainWndFixture;

namespace {

TEST(DeviceTablesTest, PathsParseCaseInsensitiveHexAndMissingPartsAreZero) {
    struct Case {
        const char* path;
        uint16_t vid, pid, mi, col;
    } cases[] = {
        {R"(\\?\hid#vid_320f&pid_226e&mi_01&col02#virt-1-1-1)", 0x320F, 0x226E, 1, 2},
        {R"(\\?\HID#VID_0C76&PID_1630&MI_03#virt-2-0-0)", 0x0C76, 0x1630, 3, 0},
        {R"(\\?\hid#vid_320f&pid_0000&mi_0a&col04#x)", 0x320F, 0x0000, 10, 4},
        {"garbage", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        PathIdentity id = ParseDevicePath(c.path);
        EXPECT_EQ(id.vendorId, c.vid) << c.path;
        EXPECT_EQ(id.productId, c.pid) << c.path;
        EXPECT_EQ(id.interfaceNumber, c.mi) << c.path;
        EXPECT_EQ(id.collectionNumber, c.col) << c.path;
    }
}

TEST(DeviceTablesTest, PartnersAreMutualAndOptionRowsMatchTheirCanonicalRows) {
    const auto& rows = SupportedDevices();
    ASSERT_EQ(rows.size(), 11u);
    for (size_t r = 0; r < rows.size(); ++r)
        if (rows[r].hasPartner) {
            EXPECT_EQ(rows[rows[r].partnerRow].partnerRow, r) << r;
            EXPECT_EQ(CableKindOf(rows[r].kind), CableKindOf(rows[rows[r].partnerRow].kind));
        }
    ASSERT_EQ(DeviceOptions().size(), DevicePages().size());
}

// The scan pass on its own: claims, the one-entry-per-interface rule and liveness.
TEST(DeviceScanTest, OneInterfaceBindsOneEntryAndVanishedPathsAreReleased) {
    test::SimTestBus sim;
    DeviceList list;
    list.Reset();
    std::vector<std::string> log;
    int firstPass = 0;
    DeviceScanner scanner(
        list, {[&](int r) { log.push_back("+" + std::to_string(r)); },
               [&](int r) { log.push_back("-" + std::to_string(r)); }, [&] { ++firstPass; }});
    auto kb = sim.Plug("keyboard");
    ASSERT_TRUE(scanner.Pass());
    ASSERT_TRUE(scanner.Pass());  // the receiver rows share the values but not the interface
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (std::vector<std::string>{"+0", "+1"}));
    EXPECT_EQ(firstPass, 1);
    auto kb2 = sim.Plug("keyboard");
    ASSERT_TRUE(scanner.Pass());
    EXPECT_EQ(list.Entry(2).kind, kKindKeyboardReceiver);
    EXPECT_TRUE(list.Entry(2).active);
    EXPECT_TRUE(list.Entry(3).active);
    EXPECT_NE(list.Entry(2).path, list.Entry(0).path);
    kb->Unplug();
    log.clear();
    ASSERT_TRUE(scanner.Pass());
    ASSERT_TRUE(scanner.Pass());
    // The first keyboard's rows are released; the second keeps the rows it is bound to.
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (std::vector<std::string>{"-0", "-1"}));
    EXPECT_TRUE(list.Entry(2).active);
    EXPECT_EQ(firstPass, 1);
}

class DiscoveryTest : public MainWndFixture {};

TEST_F(DiscoveryTest, CableAloneBindsCommandAndNotificationRowsWithOneTab) {
    Start();
    auto mouse = sim.Plug("mouse");
    ASSERT_TRUE(PumpUntil([&] { return TabVisible("mouse"); }, 2000));
    EXPECT_TRUE(Row(4).active);
    EXPECT_TRUE(Row(5).active);
    EXPECT_FALSE(Row(6).active);
    EXPECT_EQ(Disc().CountVisibleTabs(), 1);
    EXPECT_TRUE(TabSelected("mouse"));
    ASSERT_NE(Mouse(), nullptr);
    EXPECT_TRUE(Mouse()->Link().IsOpen());
    EXPECT_FALSE(Mouse()->Link().ReceiverMode());
    EXPECT_EQ(Mouse()->Link().ChunkSize(), 56);
    EXPECT_EQ(Mouse()->Link().Wired().DevicePath(), Row(4).path);
    EXPECT_TRUE(Mouse()->NotificationOpen(false));
    EXPECT_TRUE(Mouse()->ListenerRunning(false));
    EXPECT_TRUE(wnd->IsVisible());  // arrival restores the window
}

TEST_F(DiscoveryTest, CableTakesOverFromTheReceiverAndHandsBack) {
    Start();
    auto receiver = sim.Plug("mouse-receiver");
    // Through the receiver the tab appears once the mouse behind it answers.
    ASSERT_TRUE(PumpUntil([&] { return TabVisible("mouse"); }, 3000));
    EXPECT_TRUE(Mouse()->Link().ReceiverMode());
    EXPECT_EQ(Mouse()->Link().ChunkSize(), 24);
    auto cable = sim.Plug("mouse", receiver->Memory());
    ASSERT_TRUE(PumpUntil([&] { return !Mouse()->Link().ReceiverMode(); }, 2000));
    EXPECT_EQ(Mouse()->Link().ChunkSize(), 56);
    EXPECT_TRUE(Mouse()->Link().IsOpen());
    EXPECT_EQ(Disc().CountVisibleTabs(), 1);
    EXPECT_EQ(Disc().TabCount(), 2);  // mouse and keyboard pages only: no second mouse tab
    cable->Unplug();
    ASSERT_TRUE(PumpUntil([&] { return Mouse()->Link().ReceiverMode(); }, 2000));
    EXPECT_EQ(Mouse()->Link().ChunkSize(), 24);
    EXPECT_TRUE(Mouse()->Link().IsOpen());
    EXPECT_TRUE(TabVisible("mouse"));
    EXPECT_FALSE(Row(4).active);
    EXPECT_TRUE(Row(6).active);
}

TEST_F(DiscoveryTest, UnplugSelectedSelectsNextVisibleThenOverlayStaysOnPageZero) {
    Start();
    auto mouse = sim.Plug("mouse");
    ASSERT_TRUE(PumpUntil([&] { return TabSelected("mouse"); }, 2000));
    auto kb = sim.Plug("keyboard");
    auto pad = sim.Plug("mousepad");
    ASSERT_TRUE(PumpUntil([&] { return TabVisible("keyboard") && TabVisible("MousePad"); }, 2000));
    EXPECT_TRUE(TabSelected("mouse"));
    mouse->Unplug();
    ASSERT_TRUE(PumpUntil([&] { return !TabVisible("mouse"); }, 2000));
    EXPECT_TRUE(TabSelected("keyboard"));
    EXPECT_FALSE(Mouse()->Link().IsOpen());
    auto* pages =
        dynamic_cast<ui::CTabLayoutUI*>(wnd->GetPaintManager().FindControl("device_switch"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->GetCurSel(), Tab("keyboard")->GetPageIndex());
    kb->Unplug();
    ASSERT_TRUE(PumpUntil([&] { return !TabVisible("keyboard"); }, 2000));
    EXPECT_TRUE(TabSelected("MousePad"));
    pad->Unplug();
    ASSERT_TRUE(PumpUntil([&] { return Disc().CountVisibleTabs() == 0; }, 2000));
    EXPECT_EQ(pages->GetCurSel(), 0);
    EXPECT_TRUE(wnd->GetPaintManager().FindControl("No_device_Link")->IsVisible());
    EXPECT_EQ(Disc().SelectedDevice(), nullptr);
}

TEST_F(DiscoveryTest, SecondIdenticalMouseIsClaimedOnlyAfterTheFirstLeaves) {
    Start();
    auto first = sim.Plug("mouse");
    ASSERT_TRUE(PumpUntil([&] { return TabVisible("mouse"); }, 2000));
    const std::string firstPath = Row(4).path;
    auto second = sim.Plug("mouse");
    Pump(300);
    EXPECT_EQ(Row(4).path, firstPath);
    EXPECT_EQ(Disc().CountVisibleTabs(), 1);
    first->Unplug();
    ASSERT_TRUE(PumpUntil([&] { return Row(4).active && Row(4).path != firstPath; }, 2000));
    EXPECT_EQ(Row(4).path, sim.CommandPath(*second));
    ASSERT_TRUE(PumpUntil([&] { return TabVisible("mouse"); }, 2000));
    EXPECT_TRUE(Mouse()->Link().IsOpen());
}

TEST_F(DiscoveryTest, KeyboardClaimsCableRowFirstAndReceiverRowSecond) {
    Start();
    auto first = sim.Plug("keyboard");
    ASSERT_TRUE(PumpUntil([&] { return Row(0).active && Row(1).active; }, 2000));
    EXPECT_FALSE(Row(2).active);
    auto second = sim.Plug("keyboard-receiver");
    ASSERT_TRUE(PumpUntil([&] { return Row(2).active && Row(3).active; }, 2000));
    EXPECT_EQ(Row(0).path, sim.CommandPath(*first));
    EXPECT_EQ(Row(2).path, sim.CommandPath(*second));
    // The receiver row arrived second: the cable stays in use.
    EXPECT_FALSE(Keyboard()->Link().ReceiverMode());
    EXPECT_EQ(Keyboard()->Link().Wired().DevicePath(), Row(0).path);
}

TEST_F(DiscoveryTest, ReceiverDeviceAsleepHidesTheTabUntilItAnswersAgain) {
    Start();
    auto receiver = sim.Plug("mouse-receiver");
    ASSERT_TRUE(PumpUntil([&] { return TabVisible("mouse"); }, 3000));
    receiver->SetDeviceAwake(false);
    ASSERT_TRUE(PumpUntil([&] { return !TabVisible("mouse"); }, 4000));
    EXPECT_TRUE(Row(6).active);  // the receiver itself is still there
    EXPECT_TRUE(Mouse()->Link().IsOpen());
    receiver->SetDeviceAwake(true);
    ASSERT_TRUE(PumpUntil([&] { return TabVisible("mouse"); }, 4000));
    EXPECT_TRUE(TabSelected("mouse"));
}

TEST_F(DiscoveryTest, NotificationSettingsChangedReachesTheTab) {
    Start();
    auto mouse = sim.Plug("mouse");
    ASSERT_TRUE(PumpUntil([&] { return Mouse() && Mouse()->ListenerRunning(false); }, 2000));
    platform::TraceCapture trace;
    mouse->Notify(0x0401);
    ASSERT_TRUE(
        PumpUntil([&] { return trace.Contains("接收到自动添加设备的同步信息要求"); }, 2000));
    mouse->Unplug();
    ASSERT_TRUE(PumpUntil([&] { return !Mouse()->ListenerRunning(false); }, 2000));
    EXPECT_TRUE(trace.Contains("线程退出：：对象处于激发状态"));
    EXPECT_TRUE(trace.Contains("MS 设备同步线程设定退出"));
}

}  // namespace
