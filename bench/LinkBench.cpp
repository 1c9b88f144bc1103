// Link throughput against the emulated devices with the bus timing model (1 ms per report each
// way). Prints one line per case:
//   NAME exchanges=N elapsed_ms=X floor_ms=Y ratio=Z
// where the floor is the protocol's own cost: 20 ms of sleeps plus 2 ms of bus time per
// exchange, plus the 10 ms EndSession waits before its exchange; 2 ms per fast exchange.
#include <sys/prctl.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "hidio/VirtualBus.h"
#include "protocol/CommandSequences.h"
#include "sim/SimFactory.h"

using namespace dravik;

namespace {

using Clock = std::chrono::steady_clock;

std::string CommandPath(hidio::VirtualBus& bus, const sim::SimDevice& device) {
    std::vector<std::string> all;
    bus.Enumerate(all);
    const std::string tag = "#virt-" + std::to_string(device.BusId()) + "-" +
                            std::to_string(device.Identity().commandInterface) + "-";
    std::string last;
    for (const auto& p : all)
        if (p.find(tag) != std::string::npos)
            last = p;
    return last;
}

void Print(const char* name, size_t exchanges, double elapsedMs, double floorMs) {
    std::printf("%s exchanges=%zu elapsed_ms=%.1f floor_ms=%.1f ratio=%.3f\n", name, exchanges,
                elapsedMs, floorMs, elapsedMs / floorMs);
}

double Since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The mouse's read-configuration sequence, `rounds` times; false when a read failed.
bool ReadConfigurationCase(const char* name, hidio::VirtualBus& bus, sim::SimDevice& device,
                           int rounds) {
    DeviceLink link;
    if (!link.Attach(CommandPath(bus, device), device.Identity().receiver))
        return false;
    device.ClearRequests();
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        auto read = ReadConfiguration(link, DeviceFamily::Mouse);
        if (read.stop != ConfigurationRead::Stop::None || !read.imageRead)
            return false;
    }
    const double elapsed = Since(start);
    const size_t exchanges = device.Requests().size();
    const size_t endSessions = device.RequestCount(kCmdEndSession);
    Print(name, exchanges, elapsed, 22.0 * exchanges + 10.0 * endSessions);
    return true;
}

}  // namespace

int main() {
    // The kernel's default 50 us timer slack would be charged to every 1 ms bus wait; the cases
    // measure the link, not the scheduler's coalescing, so this thread asks for exact wake-ups.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    auto bus = std::make_shared<hidio::VirtualBus>();
    hidio::SetHidBackends({bus});
    bus->SetTimingModel(true);

    // A mouse whose image is as large as the link allows (170 slots: 510 bytes).
    auto memory = sim::MakeFactoryMemory("mouse");
    auto info = memory->Bytes(sim::Area::Info);
    info[5] = 170;
    memory->Set(sim::Area::Info, info);
    auto mouse = sim::MakeSimDevice("mouse", memory);
    auto receiver = sim::MakeSimDevice("mouse-receiver", memory);
    auto keyboard = sim::MakeSimDevice("keyboard");
    mouse->PlugInto(bus);
    receiver->PlugInto(bus);
    keyboard->PlugInto(bus);

    bool ok = ReadConfigurationCase("mouse_read_configuration_cable", *bus, *mouse, 3);
    ok = ReadConfigurationCase("mouse_read_configuration_receiver", *bus, *receiver, 3) && ok;

    // A 510-byte light frame by fast exchange on the keyboard's cable, 20 frames.
    DeviceLink link;
    if (link.Attach(CommandPath(*bus, *keyboard), false)) {
        std::vector<uint8_t> frame(510);
        for (size_t i = 0; i < frame.size(); ++i)
            frame[i] = static_cast<uint8_t>(i);
        keyboard->ClearRequests();
        const auto start = Clock::now();
        for (int i = 0; i < 20; ++i)
            if (WriteLightFrame(link, frame.data(), 510) != kResultSuccess)
                ok = false;
        const double elapsed = Since(start);
        const size_t exchanges = keyboard->Requests().size();
        Print("keyboard_light_frame_510_fast", exchanges, elapsed, 2.0 * exchanges);
    } else {
        ok = false;
    }
    if (!ok)
        std::printf("warning: a case did not complete\n");
    hidio::SetHidBackends({});
    return 0;
}
