#include "platform/Random.h"

#include <cstdlib>
#include <mutex>
#include <random>

namespace dravik::platform {
namespace {

struct Source {
    std::mutex m;
    std::mt19937 engine;
    Source() {
        const char* seed = std::getenv("DRAVIK_SEED");
        engine.seed(seed && *seed ? static_cast<uint32_t>(std::strtoull(seed, nullptr, 10))
                                  : std::random_device{}());
    }
};

Source& GetSource() {
    static Source s;
    return s;
}

}  // namespace

uint32_t RandomU32() {
    Source& s = GetSource();
    std::lock_guard lock(s.m);
    return s.engine();
}

uint32_t RandomBelow(uint32_t bound) {
    return bound == 0 ? 0 : RandomU32() % bound;
}

void SeedRandom(uint64_t seed) {
    Source& s = GetSource();
    std::lock_guard lock(s.m);
    s.engine.seed(static_cast<uint32_t>(seed));
}

}  // namespace dravik::platform
