#include "app/Startup.h"

#include <signal.h>

#include <cstdio>

#include "app/Options.h"
#include "app/PrivateFonts.h"
#include "app/RegisteredMessageTable.h"
#include "platform/Folders.h"
#include "platform/InstanceLock.h"
#include "platform/InstanceMessenger.h"
#include "platform/RegisteredMessages.h"
#include "platform/Trace.h"

#ifndef DRAVIK_VERSION
#define DRAVIK_VERSION "0.0.0"
#endif

namespace dravik {
namespace {

// Until the window layer exists the main loop is this: receive instance messages and trace them,
// until asked to quit by a signal.
int WaitForInstanceMessages(platform::InstanceMessenger& messenger) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    messenger.Listen("", [](const platform::InstancePacket& p) {
        std::string name = p.name.empty() ? std::to_string(p.id) : p.name;
        platform::Trace("instance message %s wParam %llu lParam %lld", name.c_str(),
                        static_cast<unsigned long long>(p.wParam),
                        static_cast<long long>(p.lParam));
    });
    int sig = 0;
    sigwait(&set, &sig);
    messenger.StopListening();
    return 0;
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

    RegisterGuidMessages();
    int status = WaitForInstanceMessages(messenger);
    fonts.Release();
    return status;
}

}  // namespace dravik
