#include <gtest/gtest.h>

#include <set>

#include "app/ControlRegistry.h"
#include "controls/DeviceKeyButton.h"
#include "devices/LightTables.h"
#include "devices/OrvaneDevices.h"
#include "platform/Clock.h"
#include "platform/Trace.h"
#include "sim/SimTestBus.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManager.h"

using namespace dravik;

namespace {

TEST(LightTablesTest, TablesHaveTheirFixedShape) {
    EXPECT_EQ(ColorWheel()[0], (Rgb{255, 1, 0}));
    EXPECT_EQ(ColorWheel()[191], (Rgb{255, 0, 0}));
    EXPECT_EQ(ColorWheel()[64], (Rgb{0, 255, 1}));
    EXPECT_EQ(ColorWheel()[127], (Rgb{0, 0, 255}));
    EXPECT_EQ(BreathCurve()[63], 255);
    EXPECT_EQ(BreathCurve()[64], 255);
    EXPECT_EQ(BreathCurve()[127], 0);
    EXPECT_EQ(WaveCurve()[47], 255);
    EXPECT_EQ(WaveCurve()[95], 22);
}

TEST(LightTablesTest, StepWrapsForwardToZeroAndBackwardBelowTheLimit) {
    struct Case {
        uint8_t direction, limit, value, delta, expected;
    } cases[] = {
        {1, 128, 126, 1, 127}, {1, 128, 127, 1, 0}, {0, 128, 0, 1, 127},  {0, 128, 5, 1, 4},
        {1, 192, 191, 1, 0},   {0, 192, 0, 1, 191}, {1, 192, 180, 16, 0}, {0, 192, 10, 16, 176},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Step(c.direction, c.limit, c.value, c.delta), c.expected)
            << int(c.direction) << " " << int(c.limit) << " " << int(c.value);
}

// A device page built from layout text, as discovery builds it from the page file.
class PageBuilder : public ui::IDialogBuilderCallback {
  public:
    ui::CControlUI* CreateControl(const std::string& tag) override {
        return CreateMainLayoutControl(tag, nullptr);
    }
};

std::string MousePageXml(const std::string& extraButtons = "") {
    std::string xml = "<Window><OrvaneMouseDevice><SelectPanel name=\"mouse_device_key_light\">";
    for (int i = 0; i < 11; ++i)
        xml += "<DeviceKeyButton name=\"key_" + std::to_string(i) + "\"/>";
    for (int i = 0; i < 15; ++i)
        xml += "<DeviceKeyButton name=\"light_" + std::to_string(i) + "\"/>";
    xml += extraButtons + "</SelectPanel></OrvaneMouseDevice></Window>";
    return xml;
}

class DeviceBaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::CControlFactory::GetInstance().Clear();
        RegisterControlClasses();
    }
    void TearDown() override { ui::CControlFactory::GetInstance().Clear(); }

    std::unique_ptr<COrvaneUSBDevice> BuildMouse(const std::string& extra = "") {
        PageBuilder callback;
        ui::CDialogBuilder builder;
        auto* root = builder.CreateFromText(MousePageXml(extra), &callback);
        auto* device = dynamic_cast<COrvaneUSBDevice*>(root);
        EXPECT_NE(device, nullptr) << builder.LastError();
        if (!device) {
            delete root;
            return nullptr;
        }
        device->SetPageLayout("XML\\DeviceXml\\mousedevice.xml");
        device->SetKeyCount(11);
        device->SetLightCount(15);
        DeviceEntry e = SupportedDevices()[4];
        device->SetDeviceEntry(e);
        device->InitPage();
        return std::unique_ptr<COrvaneUSBDevice>(device);
    }
};

TEST_F(DeviceBaseTest, PageButtonsMapByNameAndNumberWithinTheCounts) {
    auto device = BuildMouse(
        "<DeviceKeyButton name=\"light_15\"/><DeviceKeyButton name=\"key_\"/>"
        "<DeviceKeyButton name=\"other_3\"/>");
    ASSERT_TRUE(device);
    EXPECT_EQ(device->GetClass(), "OrvaneMouseDevice");
    ASSERT_NE(device->GetSelectPanel(), nullptr);
    std::set<ui::CControlUI*> seen;
    for (int i = 0; i < 11; ++i) {
        ASSERT_NE(device->GetKeyButton(i), nullptr) << i;
        EXPECT_EQ(device->GetKeyButton(i)->GetName(), "key_" + std::to_string(i));
        seen.insert(device->GetKeyButton(i));
    }
    for (int i = 0; i < 15; ++i) {
        auto* light = dynamic_cast<CDeviceKeyButtonUI*>(device->GetLightButton(i));
        ASSERT_NE(light, nullptr) << i;
        EXPECT_EQ(light->GetName(), "light_" + std::to_string(i));
        EXPECT_EQ(light->GetLightColor(), 0xFFFFFFu);
        EXPECT_EQ(light->GetLightLevel(), 255);
        seen.insert(light);
    }
    EXPECT_EQ(seen.size(), 26u);
    EXPECT_EQ(device->GetLightButton(15), nullptr);
    EXPECT_EQ(device->GetKeyButton(-1), nullptr);
}

TEST_F(DeviceBaseTest, EmptyLayoutPathClearsTheButtonsAndZoneIndicesOutsideReadZero) {
    auto device = BuildMouse();
    ASSERT_TRUE(device);
    device->SetZoneColor(3, 0x11223344);
    EXPECT_EQ(device->GetZoneColor(3), 0x11223344u);
    for (int bad : {-1, 15, 1000})
        EXPECT_EQ(device->GetZoneColor(bad), 0u) << bad;
    device->SetZoneColor(15, 5);  // ignored
    device->SetPageLayout("");
    device->InitPage();
    EXPECT_EQ(device->GetLightCount(), 0);
    EXPECT_EQ(device->GetKeyCount(), 0);
    EXPECT_EQ(device->GetZoneColor(3), 0u);
}

TEST_F(DeviceBaseTest, LightFramePacksButtonColoursAndScalesByLevel) {
    auto device = BuildMouse();
    ASSERT_TRUE(device);
    // R 0x10, G 0x80, B 0xF0, level 0x80 on light 2.
    device->SetZoneColor(2, 0x80F08010u);
    device->GetLightButton(5)->SetVisible(false);
    device->SetZoneColor(5, 0xFF0000FFu);
    EXPECT_EQ(device->SendLightFrame(), 1);
    auto* b2 = dynamic_cast<CDeviceKeyButtonUI*>(device->GetLightButton(2));
    EXPECT_EQ(b2->GetLightColor(), 0x80F010u);  // R | B << 8 | G << 16
    EXPECT_EQ(b2->GetLightLevel(), 0x80);
    const LightFrame& f = device->LastFrame();
    EXPECT_EQ(f[6], 0x10 * 0x80 >> 8);
    EXPECT_EQ(f[7], 0x80 * 0x80 >> 8);
    EXPECT_EQ(f[8], 0xF0 * 0x80 >> 8);
    EXPECT_EQ(f[15], 0xFE);  // hidden buttons keep their colour, the frame still carries it
    auto* b5 = dynamic_cast<CDeviceKeyButtonUI*>(device->GetLightButton(5));
    EXPECT_EQ(b5->GetLightColor(), 0xFFFFFFu);
    device->SetLightControl(0);
    device->SetZoneColor(2, 0);
    EXPECT_EQ(device->SendLightFrame(), 0);
    EXPECT_EQ(device->LastFrame()[6], 0x10 * 0x80 >> 8);  // nothing assembled
}

TEST_F(DeviceBaseTest, BlinkFlipsAfterItsSpeedsPeriod) {
    auto device = BuildMouse();
    ASSERT_TRUE(device);
    for (auto [speed, period] : {std::pair<int, uint32_t>{4, 1400}, {0, 5600}, {2, 3600}}) {
        uint32_t now = 100000;
        device->SetTickSource([&now] { return now; });
        LightInfo li;
        li.speed = static_cast<uint8_t>(speed);
        li.light = 4;
        li.red = 200;
        device->StoreLightInfo(li);
        device->EffectBlink();  // long since the last flip: flips now
        const uint32_t first = device->GetZoneColor(0);
        now += period - 1;
        device->EffectBlink();
        EXPECT_EQ(device->GetZoneColor(0), first) << speed;
        now += 1;
        device->EffectBlink();
        EXPECT_NE(device->GetZoneColor(0), first) << speed;
    }
}

TEST_F(DeviceBaseTest, BreathingMultiColourShowsTwelveColoursOnePerCycle) {
    auto device = BuildMouse();
    ASSERT_TRUE(device);
    LightInfo li;
    li.multiColor = 1;
    li.fx = 1;
    li.light = 4;
    device->StoreLightInfo(li);
    std::vector<uint32_t> colours;
    for (int cycle = 0; cycle < 13; ++cycle) {
        for (int step = 0; step < 128; ++step)
            device->EffectBreathing();
        colours.push_back(device->GetZoneColor(0) & 0xFFFFFF);
    }
    for (int i = 0; i < 12; ++i) {
        const Rgb c = ColorWheel()[((i + 1) * 16) % 192];
        EXPECT_EQ(colours[i], uint32_t{c.r} | uint32_t{c.g} << 8 | uint32_t{c.b} << 16) << i;
    }
    EXPECT_EQ(colours[12], colours[0]);
}

TEST_F(DeviceBaseTest, FourColourEffectsStayInsideTheirTableAfterAnotherEffect) {
    auto device = BuildMouse();
    ASSERT_TRUE(device);
    LightInfo li;
    li.light = 4;
    li.multiColor = 1;
    li.fx = 1;
    device->StoreLightInfo(li);
    for (int i = 0; i < 500; ++i)
        device->EffectBreathing();  // colour index well past four
    for (int i = 0; i < 300; ++i) {
        device->EffectBreathingFourColours();
        const uint32_t rgb = device->GetZoneColor(0) & 0xFFFFFF;
        bool known = false;
        for (const Rgb& c : kFourColors)
            known = known || rgb == (uint32_t{c.r} | uint32_t{c.g} << 8 | uint32_t{c.b} << 16);
        EXPECT_TRUE(known || (device->GetZoneColor(0) >> 24) == 0) << i;
    }
    for (int i = 0; i < 200; ++i)
        device->EffectSpectrum();  // position well past four
    uint32_t now = 0;
    device->SetTickSource([&now] { return now; });
    for (int i = 0; i < 20; ++i) {
        now += 10000;
        device->EffectBlinkFourColours();
    }
}

TEST_F(DeviceBaseTest, MusicDecayFollowsItsCurvesAndNeverGoesBelowZero) {
    auto device = BuildMouse();
    ASSERT_TRUE(device);
    struct Case {
        int mode;
        uint8_t from, to;
    } cases[] = {{29, 150, 105}, {29, 20, 15}, {29, 16, 15}, {0, 40, 25}, {0, 150, 110},
                 {7, 40, 30},    {0, 1, 0},    {29, 0, 0},   {5, 17, 9},  {0, 255, 215}};
    for (const auto& c : cases) {
        device->SetMusicLevel(4, c.from);
        device->MusicDecay(4, c.mode);
        EXPECT_EQ(device->MusicLevel(4), c.to) << c.mode << " " << int(c.from);
    }
    for (int mode : {0, 29, 3})
        for (int v = 0; v < 256; ++v) {
            device->SetMusicLevel(0, static_cast<uint8_t>(v));
            device->MusicDecay(0, mode);
            EXPECT_LE(device->MusicLevel(0), v);
            if (v > 0) {
                EXPECT_LT(device->MusicLevel(0), v);
            }
        }
}

TEST_F(DeviceBaseTest, RingRotatesBothWaysAndMarksPeaks) {
    auto device = BuildMouse();
    ASSERT_TRUE(device);
    device->SetHitFlag(22, true);
    device->MusicRotate(1);
    EXPECT_TRUE(device->HitFlag(0));
    EXPECT_FALSE(device->HitFlag(22));
    device->MusicRotate(0);
    device->MusicRotate(0);
    EXPECT_TRUE(device->HitFlag(21));
    device->SetHitFlag(3, true);
    device->MusicMarkPeaks();
    EXPECT_EQ(device->MusicLevel(3), 255);
    EXPECT_EQ(device->MusicLevel(21), 0);  // past the nine marked positions
    device->MusicClear();
    EXPECT_EQ(device->MusicLevel(3), 0);
    EXPECT_FALSE(device->HitFlag(21));
}

TEST_F(DeviceBaseTest, ResumeLightControlOnlyForTheCableKeyboard) {
    test::SimTestBus sim;
    for (auto [name, row, expectResume] :
         {std::tuple<const char*, size_t, bool>{"keyboard", 0, true}, {"mouse", 4, false}}) {
        auto sd = sim.Plug(name);
        auto device = BuildMouse();
        ASSERT_TRUE(device);
        device->SetDeviceEntry(SupportedDevices()[row]);
        ASSERT_TRUE(device->Link().Attach(sim.CommandPath(*sd), false));
        device->SetLightControl(0);
        device->SetLightControl(1);
        size_t resumes = 0;
        for (const auto& r : sd->Requests())
            resumes += r[3] == 0x1C;
        EXPECT_EQ(resumes, expectResume ? 1u : 0u) << name;
        sd->Unplug();
    }
}

TEST_F(DeviceBaseTest, NotificationListenerBlockedInAReadStopsWithinItsBound) {
    test::SimTestBus sim;
    auto mouse = sim.Plug("mouse");
    auto device = BuildMouse();
    ASSERT_TRUE(device);
    const std::string path = sim.PathsOf(*mouse, 0).back();  // col03: notifications
    ASSERT_TRUE(device->OpenNotification(path, kKindMouse));
    EXPECT_FALSE(device->OpenNotification(path, kKindKeyboard));  // not this device's kind
    platform::SleepMs(30);  // the listener now waits in its read
    platform::TraceCapture trace;
    const uint64_t start = platform::NowMs();
    device->CloseNotification(kKindMouse);
    EXPECT_LT(platform::NowMs() - start, 500u);
    EXPECT_TRUE(trace.Contains("线程退出：：对象处于激发状态"));
    EXPECT_FALSE(device->NotificationOpen(false));
    EXPECT_FALSE(device->ListenerRunning(false));
}

TEST_F(DeviceBaseTest, FunctionPagesSelectTheKeyFunctionSwitch) {
    PageBuilder callback;
    ui::CDialogBuilder builder;
    ui::CPaintManagerUI pm;
    auto* device = dynamic_cast<COrvaneUSBDevice*>(builder.CreateFromText(
        "<Window><OrvaneKeyboardDevice><TabLayout name=\"device_function_switch\">"
        "<TabLayout name=\"device_key_function_switch\"><Control/><Control/><Control/></TabLayout>"
        "<Control/></TabLayout></OrvaneKeyboardDevice></Window>",
        &callback));
    ASSERT_NE(device, nullptr);
    std::unique_ptr<COrvaneUSBDevice> owner(device);
    pm.AttachDialog(owner.release());
    device->SetDeviceEntry(SupportedDevices()[0]);
    auto* fs = dynamic_cast<ui::CTabLayoutUI*>(pm.FindControl("device_function_switch"));
    auto* kfs = dynamic_cast<ui::CTabLayoutUI*>(pm.FindControl("device_key_function_switch"));
    struct Case {
        int type, keyPage;  // -1: the key-function switch is left alone
    } cases[] = {{2, 1}, {6, 1}, {7, 2}, {1, 0}, {0, 0}, {3, -1}, {5, -1}, {4, -1}, {9, -1}};
    for (const auto& c : cases) {
        fs->SelectItem(1);
        kfs->SelectItem(2);
        device->SelectFunctionPage(c.type);
        EXPECT_EQ(device->GetFunctionPage(), c.type);
        EXPECT_EQ(kfs->GetCurSel(), c.keyPage < 0 ? 2 : c.keyPage) << c.type;
        EXPECT_EQ(fs->GetCurSel(), c.keyPage < 0 ? 1 : 0) << c.type;
    }
}

}  // namespace
