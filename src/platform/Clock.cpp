#include "platform/Clock.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace dravik::platform {
namespace {
const auto kStart = std::chrono::steady_clock::now();

double ElapsedMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - kStart)
        .count();
}
}  // namespace

uint64_t NowMs() {
    return static_cast<uint64_t>(ElapsedMs());
}

uint32_t TickCount() {
    double steps = std::floor(ElapsedMs() / kTickStepMs);
    return static_cast<uint32_t>(static_cast<uint64_t>(steps * kTickStepMs));
}

void SleepMs(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SleepUntilNextTick() {
    double now = ElapsedMs();
    double next = (std::floor(now / kTickStepMs) + 1) * kTickStepMs;
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(next - now));
}

}  // namespace dravik::platform
