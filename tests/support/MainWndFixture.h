#pragma once
// The real main window on the program's skin, with emulated devices on a private virtual bus:
// discovery runs its scan thread and the window handles arrivals as the program does.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/ControlRegistry.h"
#include "app/MainWnd.h"
#include "app/RegisteredMessageTable.h"
#include "devices/OrvaneDevices.h"
#include "discovery/DeviceOption.h"
#include "platform/Clock.h"
#include "sim/SimTestBus.h"
#include "support/TempDir.h"
#include "ui/DialogBuilder.h"
#include "ui/ResourceManager.h"
#include "ui/Window.h"

namespace dravik::test {

class MainWndFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::ResetQuit();
        RegisterStaticMessages();
        RegisterProductIdentityMessage();
        RegisterGuidMessages();
        ui::CControlFactory::GetInstance().Clear();
        RegisterControlClasses();
        auto& rm = ui::CResourceManager::GetInstance();
        rm.SetResourcePath(DRAVIK_SKIN_DIR);
        ASSERT_TRUE(rm.LoadResource("res.xml"));
        setenv("XDG_DATA_HOME", (home.Path() / "data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (home.Path() / "run").c_str(), 1);
    }
    void TearDown() override {
        if (wnd && wnd->GetHWND())
            wnd->DestroyWindow();
        wnd.reset();
        ui::ResetQuit();
        ui::CControlFactory::GetInstance().Clear();
    }
    // Creates the window; it runs discovery from its "windowinit" on.
    void Start() {
        wnd = std::make_unique<CMainWnd>();
        wnd->SetBroadcaster([this](const std::string& name, uint64_t w, int64_t l) {
            broadcasts.emplace_back(name, w, l);
        });
        ASSERT_TRUE(wnd->Create(0, "Dravik", ui::WS_POPUP | ui::WS_VISIBLE, 0, 0, 0, 800, 572));
        ASSERT_TRUE(PumpUntil([&] { return wnd->ThreadSlot(kScanThreadSlot) != nullptr; }, 2000));
        Pump(150);  // the first scan pass
    }
    static bool PumpUntil(const std::function<bool()>& done, uint32_t ms) {
        const uint64_t end = platform::NowMs() + ms;
        while (platform::NowMs() < end) {
            if (done())
                return true;
            ui::PumpMessages(5);
        }
        return done();
    }
    static void Pump(uint32_t ms) {
        PumpUntil([] { return false; }, ms);
    }

    DeviceDiscovery& Disc() { return wnd->Discovery(); }
    CDeviceOptionUI* Tab(const std::string& kindName) {
        return dynamic_cast<CDeviceOptionUI*>(
            wnd->GetPaintManager().FindControl("device_option_" + kindName));
    }
    bool TabVisible(const std::string& kindName) {
        CDeviceOptionUI* t = Tab(kindName);
        return t && t->IsVisible();
    }
    bool TabSelected(const std::string& kindName) {
        CDeviceOptionUI* t = Tab(kindName);
        return t && t->IsVisible() && t->IsOptionSelected();
    }
    COrvaneUSBDevice* Mouse() { return Disc().Mice().empty() ? nullptr : Disc().Mice()[0]; }
    COrvaneUSBDevice* Keyboard() {
        return Disc().Keyboards().empty() ? nullptr : Disc().Keyboards()[0];
    }
    DeviceEntry Row(size_t r) { return Disc().List().Entry(r); }
    int64_t Send(uint32_t msg, uint64_t w, int64_t l) {
        return ui::SendMessage(wnd->GetHWND(), msg, w, l);
    }

    TempDir home;
    SimTestBus sim;
    std::unique_ptr<CMainWnd> wnd;
    std::vector<std::tuple<std::string, uint64_t, int64_t>> broadcasts;
};

}  // namespace dravik::test
