#include "app/Startup.h"

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/AppScriptHost.h"
#include "app/ControlRegistry.h"
#include "app/DemoDevices.h"
#include "app/Language.h"
#include "app/MainWnd.h"
#include "app/Options.h"
#include "app/PrivateFonts.h"
#include "app/RegisteredMessageTable.h"
#include "hidio/HidrawBackend.h"
#include "hidio/VirtualBus.h"
#include "platform/Folders.h"
#include "platform/InstanceLock.h"
#include "platform/InstanceMessenger.h"
#include "platform/RegisteredMessages.h"
#include "platform/SettingsStore.h"
#include "platform/Trace.h"
#include "ui/ResourceManager.h"
#include "ui/ScriptRunner.h"
#include "ui/SdlBackend.h"
#include "ui/Window.h"

#ifndef DRAVIK_VERSION
#define DRAVIK_VERSION "0.0.0"
#endif

namespace dravik {
namespace {

// SIGINT and SIGTERM end the message loop as closing the window would.
class SignalWatcher {
  public:
    SignalWatcher() {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGINT);
        sigaddset(&set, SIGTERM);
        sigaddset(&set, SIGUSR1);
        pthread_sigmask(SIG_BLOCK, &set, nullptr);
        thread_ = std::thread([set] {
            int sig = 0;
            sigwait(&set, &sig);
            if (sig == SIGUSR1)
                return;  // our own wake-up at exit
            ui::PostQuitMessage(0);
        });
    }
    ~SignalWatcher() {
        pthread_kill(thread_.native_handle(), SIGUSR1);
        thread_.join();
    }

  private:
    std::thread thread_;
};

// Instance messages arrive on the messenger's thread and are posted to the main window by name.
void ForwardInstanceMessages(platform::InstanceMessenger& messenger, ui::HWND main) {
    messenger.Listen("", [main](const platform::InstancePacket& p) {
        std::string name = p.name.empty() ? std::to_string(p.id) : p.name;
        platform::Trace("instance message %s wParam %llu lParam %lld", name.c_str(),
                        static_cast<unsigned long long>(p.wParam),
                        static_cast<long long>(p.lParam));
        if (p.kind != platform::InstancePacket::Kind::Message)
            return;
        uint32_t id = p.name.empty() ? p.id : platform::RegisterMessage(p.name);
        if (id)
            ui::PostMessage(main, id, p.wParam, p.lParam);
    });
}

}  // namespace

int RunProgram(const std::vector<std::string>& args) {
    std::string error;
    auto options = ParseOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "dravik: %s\n%s", error.c_str(), UsageText().c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::printf("dravik %s\n", DRAVIK_VERSION);
        return 0;
    }

    RegisterStaticMessages();
    PrivateFonts fonts;
    fonts.Load(platform::ProgramFolder());

    uint32_t identity = RegisterProductIdentityMessage();
    platform::Trace("软件标示：%d", static_cast<int>(identity));
    if (identity < platform::kFirstRegisteredMessage || identity > platform::kLastRegisteredMessage)
        return 0;

    const auto runtime = platform::RuntimeFolder();
    platform::InstanceLock lock;
    platform::InstanceMessenger messenger(runtime);
    if (lock.Acquire(runtime) == platform::InstanceLock::Result::AlreadyRunning) {
        platform::InstancePacket wake;
        wake.name = platform::kProductIdentity;
        wake.wParam = 0;
        wake.lParam = 1;
        messenger.Broadcast(wake);
        return 0;
    }

    // UI resources: plain files under "skin/" beside the program, indexed by res.xml.
    auto& resources = ui::CResourceManager::GetInstance();
    resources.SetResourcePath(platform::ProgramFolder() / "skin");
    if (!resources.LoadResource("res.xml"))
        platform::Trace("resource index res.xml not found under %s",
                        resources.GetResourcePath().c_str());
    RegisterControlClasses();
    RegisterGuidMessages();

    // Devices: real ones through hidraw, emulated ones on the virtual bus (--demo, scripts).
    auto bus = std::make_shared<hidio::VirtualBus>();
    hidio::SetHidBackends({std::make_shared<hidio::HidrawBackend>(), bus});
    DemoDevices demo(bus);
    if (options->demo) {
        std::vector<std::string> names = options->demoDevices;
        if (names.empty())
            names.assign(std::begin(kDefaultDemoDevices), std::end(kDefaultDemoDevices));
        for (const auto& name : names) {
            if (auto err = demo.Plug(name)) {
                std::fprintf(stderr, "dravik: --demo: %s\n", err->c_str());
                return 2;
            }
        }
    }
    if (!options->simState.empty() && std::filesystem::exists(options->simState) &&
        !demo.Load(options->simState)) {
        std::fprintf(stderr, "dravik: --sim-state: %s is not a device-state document\n",
                     options->simState.c_str());
        return 2;
    }

    // With a display the windows are real; without one, or with --headless, they stay in memory.
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    std::string noDisplay;
    if (!options->headless && ((x11 && *x11) || (wayland && *wayland))) {
        if (auto sdl = ui::CreateSdlBackend(&noDisplay))
            ui::SetDisplayBackend(std::move(sdl));
        else
            std::fprintf(stderr, "dravik: no display (%s); running headless\n", noDisplay.c_str());
    }
    if (std::string(ui::CurrentBackend().Name()) == "headless" && options->script.empty())
        std::fprintf(stderr,
                     "dravik: running headless (no display); the devices are served until "
                     "Ctrl+C\n");

    int status = 0;
    {
        SignalWatcher signals;
        auto* main = new CMainWnd;
        main->SetBroadcaster([&messenger](const std::string& name, uint64_t w, int64_t l) {
            platform::InstancePacket packet;
            packet.name = name;
            packet.wParam = w;
            packet.lParam = l;
            messenger.Broadcast(packet);
        });
        platform::SettingsStore settings;
        LanguageManager language(main->GetPaintManager(), settings,
                                 platform::ProgramFolder() / "DefaultData" / "Language.config");
        main->SetLanguageHook([&language, &settings](int index) {
            if (index < 0) {
                language.ApplyLanguage(language.ReadLanguageIndex());
                return;
            }
            // A language the user picks is remembered: its key is made for it when missing.
            settings.CreateKey(platform::ProductKeyPath());
            language.ApplyLanguage(index);
        });
        if (!main->Create(0, platform::kProductIdentity,
                          ui::WS_POPUP | ui::WS_VISIBLE | ui::WS_CLIPSIBLINGS |
                              ui::WS_CLIPCHILDREN | ui::WS_CAPTION | ui::WS_SYSMENU |
                              ui::WS_MINIMIZEBOX,
                          0, 0, 0, 800, 572)) {
            delete main;
            return 0;
        }
        main->CenterWindow();
        ForwardInstanceMessages(messenger, main->GetHWND());

        // A script runs on its own thread, as a user outside the program would act: each action
        // goes through the loop, so a modal window opened by one action does not stop the next.
        int scriptStatus = -1;
        std::thread scriptThread;
        if (!options->script.empty()) {
            ui::HWND h = main->GetHWND();
            scriptThread = std::thread([&scriptStatus, &demo, h, file = options->script] {
                AppScriptHost host(h, &demo);
                ui::ScriptRunner runner(&host);
                ui::ScriptResult r = runner.RunFile(file);
                if (r.status != 0)
                    std::fprintf(stderr, "dravik: script %s\n", r.message.c_str());
                scriptStatus = r.status;
                ui::PostQuitMessage(r.status);
            });
        }
        status = ui::MessageLoop();
        if (scriptThread.joinable())
            scriptThread.join();
        if (scriptStatus >= 0)
            status = scriptStatus;
        messenger.StopListening();
        // Tear-down: the window (and its threads) first, then the UI resources and the fonts.
        if (ui::IsWindow(main->GetHWND()))
            main->DestroyWindow();
        delete main;
    }
    if (!options->simState.empty() && !demo.Save(options->simState))
        std::fprintf(stderr, "dravik: cannot write %s\n", options->simState.c_str());
    hidio::SetHidBackends({});
    ui::SetDisplayBackend(nullptr);
    resources.Release();
    fonts.Release();
    return status;
}

}  // namespace dravik
