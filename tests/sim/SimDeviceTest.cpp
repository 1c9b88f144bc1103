// The emulated devices seen from the host at the byte level: identities and collections, wire
// answers, notifications, LED reports, faults and the saved memory document.
#include <gtest/gtest.h>

#include <fstream>

#include "hid/HidDevice.h"
#include "platform/Clock.h"
#include "platform/JsonFile.h"
#include "sim/SimTestBus.h"
#include "support/TempDir.h"

using namespace dravik;
using dravik::sim::Area;
using dravik::sim::Fault;
using dravik::test::Hex;
using dravik::test::Report64;
using Bytes = std::vector<uint8_t>;

namespace {

class SimDeviceTest : public ::testing::Test {
  protected:
    // Writes one report to the command collection and reads the answer (empty on time-out).
    Bytes Ask(sim::SimDevice& device, const Bytes& request, uint32_t timeoutMs = 200) {
        HidDevice hid;
        EXPECT_TRUE(hid.Open(simBus.CommandPath(device), true, true, true, false));
        uint32_t n = 0;
        EXPECT_TRUE(hid.Write(request.data(), static_cast<uint32_t>(request.size()), &n, 1000));
        Bytes answer(64, 0);
        if (!hid.Read(answer.data(), 64, &n, timeoutMs))
            return {};
        answer.resize(n);
        return answer;
    }

    test::SimTestBus simBus;
};

}  // namespace

TEST_F(SimDeviceTest, IdentitiesAndCollectionsMatchTheSupportedDevices) {
    const struct {
        const char* name;
        uint16_t vid, pid;
        const char* command;  // path fragment of the command collection
        uint16_t commandPage, commandUsage;
        const char* notify;  // path fragment of the notification collection
        size_t paths;
    } cases[] = {
        {"mouse", 0x320F, 0x226E, "vid_320f&pid_226e&mi_01&col02#", 0xFF1C, 0x92,
         "vid_320f&pid_226e&mi_00&col03#", 5},
        {"mouse-receiver", 0x320F, 0x226F, "vid_320f&pid_226f&mi_01&col02#", 0xFF1C, 0x92,
         "vid_320f&pid_226f&mi_00&col03#", 5},
        {"keyboard", 0x320F, 0x0000, "vid_320f&pid_0000&mi_01&col04#", 0xFF1C, 0x92,
         "vid_320f&pid_0000&mi_00&col03#", 7},
        {"keyboard-receiver", 0x320F, 0x0000, "vid_320f&pid_0000&mi_01&col04#", 0xFF1C, 0x92,
         "vid_320f&pid_0000&mi_00&col03#", 7},
        {"mousepad", 0x320F, 0x1004, "vid_320f&pid_1004&mi_01&col04#", 0xFF1C, 0x92,
         "vid_320f&pid_1004&mi_00&col03#", 7},
        {"headset", 0x0C76, 0x1630, "vid_0c76&pid_1630&mi_03#", 0x000C, 0x01,
         "vid_0c76&pid_1630&mi_03#", 1},
    };
    ASSERT_EQ(sim::SimDeviceNames().size(), std::size(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto device = simBus.Plug(c.name);
        ASSERT_TRUE(device);
        HidDevice enumerator;
        ASSERT_TRUE(enumerator.Enumerate());
        std::vector<std::string> paths;
        while (const char* p = enumerator.NextPath())
            paths.push_back(p);
        EXPECT_EQ(paths.size(), c.paths);
        auto find = [&](const char* fragment) {
            for (const auto& p : paths)
                if (p.find(fragment) != std::string::npos)
                    return p;
            return std::string();
        };
        HidDevice command, notify;
        ASSERT_TRUE(command.Open(find(c.command), true, true, true, false));
        EXPECT_EQ(command.Attributes().vendorId, c.vid);
        EXPECT_EQ(command.Attributes().productId, c.pid);
        EXPECT_EQ(command.Caps().usagePage, c.commandPage);
        EXPECT_EQ(command.Caps().usage, c.commandUsage);
        EXPECT_EQ(command.Caps().inputReportByteLength, 64);
        EXPECT_EQ(command.Caps().outputReportByteLength, 64);
        ASSERT_TRUE(notify.Open(find(c.notify), true, true, true, false));
        EXPECT_EQ(notify.Caps().usagePage, 0x000C);
        EXPECT_EQ(notify.Caps().usage, 0x01);
        device->Unplug();
    }
    EXPECT_EQ(sim::MakeSimDevice("toaster"), nullptr);
}

TEST_F(SimDeviceTest, FactoryMemoryOfEveryKind) {
    const struct {
        const char* name;
        const char* info;  // leading bytes of the information block
        size_t imageBytes;
        const char* power;
    } cases[] = {
        {"mouse", "aa 55 30 01 00 10 20 04 00 04 31 32 72 00 64 00", 48, "50"},
        {"mouse-receiver", "aa 55 30 01 00 10 20 04 00 04 31 32 72 00 64 00", 48, "50"},
        {"keyboard", "aa 55 30 01 00 68 20 04 00", 312, "6402"},
        {"keyboard-receiver", "aa 55 30 01 00 68 20 04 00", 312, "6402"},
        {"mousepad", "aa 55 30 01 00 0f 00 04 00", 45, ""},
        {"headset", "aa 55 30 01 00 0d 00 04 00", 39, "6402"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto memory = sim::MakeFactoryMemory(c.name);
        ASSERT_TRUE(memory);
        auto info = memory->Bytes(Area::Info);
        ASSERT_EQ(info.size(), 34u);
        auto lead = Hex(c.info);
        EXPECT_EQ(Bytes(info.begin(), info.begin() + lead.size()), lead);
        EXPECT_EQ(3u * info[5], c.imageBytes);
        EXPECT_EQ(sim::ToTrimmedHex(memory->Bytes(Area::Power)), c.power);
        EXPECT_EQ(memory->Bytes(Area::Profile)[0], 0);  // active profile 0
    }
}

TEST_F(SimDeviceTest, AnswersOnTheWire) {
    auto mouse = simBus.Plug("mouse");
    // Power status, 2 bytes at 0: 80 %, on battery. Answer checksum: 1a + 02 + 50 = 0x6c.
    EXPECT_EQ(Ask(*mouse, Report64("04 1c 00 1a 02 00 00 00")),
              Report64("04 6c 00 1a 02 00 00 00 50 00"));
    // A damaged checksum, an address beyond the area, an over-long length and an unknown
    // command are refused with status 0xFF and change nothing.
    EXPECT_EQ(Ask(*mouse, Report64("04 00 00 01"))[7], 0xFF);
    EXPECT_FALSE(mouse->SessionOpen());
    EXPECT_EQ(Ask(*mouse, Report64("04 0b 00 05 02 00 04 00"))[7], 0xFF);  // 2 bytes at 1024
    EXPECT_EQ(Ask(*mouse, Report64("04 08 01 05 02 fe 03 00"))[7], 0x00);  // 1022..1023: inside
    EXPECT_EQ(Ask(*mouse, Report64("04 09 01 05 03 fe 03 00"))[7], 0xFF);  // 1022..1024
    EXPECT_EQ(Ask(*mouse, Report64("04 3e 00 05 39 00 00 00"))[7], 0xFF);  // 57 bytes
    EXPECT_EQ(Ask(*mouse, Report64("04 55 00 55"))[7], 0xFF);
    EXPECT_EQ(Ask(*mouse, Report64("04 0f 00 0a 05 00 00 00"))[7], 0xFF);  // the mouse has no banks
    // Sessions and light control are acknowledged with status 0.
    EXPECT_EQ(Ask(*mouse, Report64("04 01 00 01")), Report64("04 01 00 01"));
    EXPECT_TRUE(mouse->SessionOpen());
    EXPECT_EQ(Ask(*mouse, Report64("04 1c 00 1c")), Report64("04 1c 00 1c"));
    EXPECT_EQ(mouse->LightControlResumed(), 1);
    // A profile write lands at its address; the answer echoes the header with status 0.
    EXPECT_EQ(Ask(*mouse, Report64("04 93 00 06 02 80 00 00 05 06")),
              Report64("04 88 00 06 02 80 00 00"));
    auto profile = mouse->Memory()->Bytes(Area::Profile);
    EXPECT_EQ(profile[128], 5);
    EXPECT_EQ(profile[129], 6);
}

TEST_F(SimDeviceTest, ReceiverAnswersForItsSleepingDevice) {
    auto receiver = simBus.Plug("mouse-receiver");
    EXPECT_EQ(Ask(*receiver, Report64("04 aa 00 aa")), Report64("04 a9 01 aa 00 00 00 00 ff"));
    receiver->SetDeviceAwake(false);
    EXPECT_EQ(Ask(*receiver, Report64("04 aa 00 aa")), Report64("04 aa 00 aa"));
    EXPECT_EQ(Ask(*receiver, Report64("04 01 00 01")), Report64("04 aa 00 aa"));
    EXPECT_FALSE(receiver->SessionOpen());
}

TEST_F(SimDeviceTest, FaultsHitTheChosenRequests) {
    auto mouse = simBus.Plug("mouse");
    Fault late;
    late.kind = Fault::Kind::Delay;
    late.command = 0x02;
    late.delayMs = 150;
    mouse->InjectFault(late);
    Fault echo;
    echo.kind = Fault::Kind::WrongEcho;
    echo.command = 0x01;
    echo.skip = 1;
    echo.value = 0x33;
    mouse->InjectFault(echo);

    EXPECT_EQ(Ask(*mouse, Report64("04 01 00 01"))[3], 0x01);  // skipped
    EXPECT_EQ(Ask(*mouse, Report64("04 01 00 01"))[3], 0x33);  // hit
    EXPECT_EQ(Ask(*mouse, Report64("04 01 00 01"))[3], 0x01);  // used up
    EXPECT_TRUE(Ask(*mouse, Report64("04 02 00 02"), 50).empty());
    EXPECT_EQ(Ask(*mouse, Report64("04 02 00 02"), 500)[3], 0x02);

    Fault silent;
    silent.kind = Fault::Kind::NoAnswer;
    mouse->InjectFault(silent);
    EXPECT_TRUE(Ask(*mouse, Report64("04 01 00 01"), 100).empty());
    mouse->InjectFault(silent);
    mouse->ClearFaults();
    EXPECT_FALSE(Ask(*mouse, Report64("04 01 00 01")).empty());
}

TEST_F(SimDeviceTest, NotificationsArriveOnTheNotificationCollection) {
    for (const char* name : {"mouse", "keyboard", "mousepad", "headset"}) {
        SCOPED_TRACE(name);
        auto device = simBus.Plug(name);
        auto paths = simBus.PathsOf(*device, device->Identity().notifyInterface);
        HidDevice notify;
        // The consumer collection is the third of interface 0, or the headset's only one.
        ASSERT_TRUE(notify.Open(paths.size() == 1 ? paths[0] : paths[2], true, true, true, false));
        ASSERT_TRUE(device->Notify(0x0401));
        uint8_t report[8] = {};
        uint32_t n = 0;
        ASSERT_TRUE(notify.Read(report, sizeof report, &n, 500));
        ASSERT_EQ(n, 3u);
        EXPECT_EQ(report[0], device->Identity().notifyReportId);
        EXPECT_EQ(report[1] + 256 * report[2], 0x0401);
        ASSERT_TRUE(notify.UnpackInputReport(report, n));
        // A profile switch as the mouse and keyboard report it: 0x1123.
        ASSERT_TRUE(device->SendNotification({device->Identity().notifyReportId, 0x23, 0x11}));
        ASSERT_TRUE(notify.Read(report, sizeof report, &n, 500));
        EXPECT_EQ(report[1] + 256 * report[2], 0x1123);
        device->Unplug();
        EXPECT_FALSE(device->Notify(0x0401));
    }
}

TEST_F(SimDeviceTest, HeadsetKeepsItsLastTwelveLedReportsInOrder) {
    auto headset = simBus.Plug("headset");
    HidDevice raw;
    ASSERT_TRUE(raw.Open(simBus.CommandPath(*headset), true, true, true, false));
    for (uint8_t i = 1; i <= 13; ++i) {
        Bytes report(17, 0);
        report[0] = 0xFF;
        report[1] = i % 2 ? 0x22 : 0x44;
        report[2] = static_cast<uint8_t>(0xA9 + i);
        report[4] = i;
        ASSERT_TRUE(raw.SetOutputReport(report.data(), 17));
    }
    auto frame = headset->Memory()->Bytes(Area::Frame);
    ASSERT_EQ(frame.size(), 12u * 17u);
    for (size_t k = 0; k < 12; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(frame[k * 17], 0xFF);
        EXPECT_EQ(frame[k * 17 + 4], k + 2);  // the first report fell out
    }
    // Command reports on the same collection are still answered.
    HidDevice command;
    ASSERT_TRUE(command.Open(simBus.CommandPath(*headset), true, true, true, false));
    auto request = Report64("04 05 00 05");
    uint32_t n = 0;
    ASSERT_TRUE(command.Write(request.data(), 64, &n, 1000));
    Bytes answer(64);
    ASSERT_TRUE(command.Read(answer.data(), 64, &n, 500));
    EXPECT_EQ(answer[3], 0x05);
}

TEST_F(SimDeviceTest, MemoryDocumentSavesTrimmedHexAndLoadsBack) {
    auto mouse = sim::MakeSimDevice("mouse");
    auto pad = sim::MakeSimDevice("mousepad");
    auto state = sim::SimStateToJson({mouse, pad});
    ASSERT_EQ(state["devices"].size(), 2u);
    const Json::Value& m = state["devices"][0];
    EXPECT_EQ(m["kind"].asString(), "mouse");
    EXPECT_EQ(m["vid"].asInt(), 0x320F);
    EXPECT_EQ(m["pid"].asInt(), 0x226E);
    EXPECT_EQ(m["areas"]["info"].asString(), "aa5530010010200400043132720064");
    EXPECT_EQ(m["areas"]["power"].asString(), "50");
    EXPECT_EQ(m["areas"]["macro"].asString(), "");
    EXPECT_EQ(m["areas"].getMemberNames(),
              (std::vector<std::string>{"image", "info", "macro", "power", "profile", "shoot"}));
    EXPECT_EQ(state["devices"][1]["areas"].getMemberNames(),
              (std::vector<std::string>{"info", "power", "profile"}));

    // A shorter area reads as zeros after its end; upper case is accepted; malformed hex, unknown
    // areas and areas the device lacks are skipped.
    Json::Value edited = state;
    edited["devices"][0]["areas"]["power"] = "07";
    edited["devices"][0]["areas"]["image"] = "ABcd";
    edited["devices"][0]["areas"]["profile"] = "0g";
    edited["devices"][0]["areas"]["banks"] = "01";
    edited["devices"][0]["areas"]["flash"] = "01";
    edited["devices"][1]["areas"]["info"] = "aa55";
    test::TempDir dir;
    ASSERT_TRUE(platform::WriteJsonFile(dir / "state.json", edited));
    auto mouse2 = sim::MakeSimDevice("mouse");
    auto pad2 = sim::MakeSimDevice("mousepad");
    ASSERT_TRUE(sim::LoadSimState(dir / "state.json", {pad2, mouse2}));
    Bytes power(56, 0);
    power[0] = 7;
    EXPECT_EQ(mouse2->Memory()->Bytes(Area::Power), power);
    auto image = mouse2->Memory()->Bytes(Area::Image);
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 3), (Bytes{0xAB, 0xCD, 0x00}));
    EXPECT_EQ(mouse2->Memory()->Bytes(Area::Profile), mouse->Memory()->Bytes(Area::Profile));
    EXPECT_EQ(sim::ToTrimmedHex(pad2->Memory()->Bytes(Area::Info)), "aa55");

    // Saved again it is the same document; a wrong product id leaves the device alone.
    ASSERT_TRUE(sim::SaveSimState(dir / "again.json", {mouse2, pad2}));
    auto again = platform::ReadJsonFile(dir / "again.json");
    EXPECT_EQ(again["devices"][0]["areas"]["image"].asString(), "abcd");
    again["devices"][0]["pid"] = 0x226F;
    auto mouse3 = sim::MakeSimDevice("mouse");
    EXPECT_TRUE(sim::ApplySimState(again, {mouse3}));
    EXPECT_EQ(mouse3->Memory()->Bytes(Area::Image), mouse->Memory()->Bytes(Area::Image));
    EXPECT_FALSE(sim::ApplySimState(Json::Value("devices"), {mouse3}));
    EXPECT_FALSE(sim::LoadSimState(dir / "missing.json", {mouse3}));
}

TEST_F(SimDeviceTest, ReceiverMadeWithItsDeviceMemoryReachesTheSameDevice) {
    auto mouse = simBus.Plug("mouse");
    auto receiver = simBus.Plug("mouse-receiver", mouse->Memory());
    EXPECT_EQ(Ask(*receiver, Report64("04 93 00 06 02 80 00 00 05 06"))[7], 0);
    EXPECT_EQ(Ask(*mouse, Report64("04 87 00 05 02 80 00 00")),
              Report64("04 92 00 05 02 80 00 00 05 06"));
}
