#include "devices/LightTables.h"

namespace dravik {
namespace {

constexpr std::array<uint8_t, 32> kRise = {1,   3,   5,   7,   10,  14,  18,  22,  26,  32,  38,
                                           44,  50,  57,  65,  73,  81,  89,  99,  109, 119, 129,
                                           140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<uint8_t, 32> kFall = {248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124,
                                           114, 104, 94,  85,  77,  69,  61,  53,  47,  41,  35,
                                           29,  24,  20,  16,  12,  8,   6,   4,   2,   0};
constexpr std::array<uint8_t, 64> kBreathRise = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};
constexpr std::array<uint8_t, 48> kWaveRise = {
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

template <std::size_t N>
std::array<uint8_t, 2 * N> Mirror(const std::array<uint8_t, N>& rise) {
    std::array<uint8_t, 2 * N> out{};
    for (std::size_t k = 0; k < N; ++k) {
        out[k] = rise[k];
        out[N + k] = rise[N - 1 - k];
    }
    return out;
}

}  // namespace

const std::array<Rgb, 192>& ColorWheel() {
    static const std::array<Rgb, 192> wheel = [] {
        std::array<Rgb, 192> w{};
        for (std::size_t k = 0; k < 32; ++k) {
            w[k] = {255, kRise[k], 0};
            w[32 + k] = {kFall[k], 255, 0};
            w[64 + k] = {0, 255, kRise[k]};
            w[96 + k] = {0, kFall[k], 255};
            w[128 + k] = {kRise[k], 0, 255};
            w[160 + k] = {255, 0, kFall[k]};
        }
        return w;
    }();
    return wheel;
}

const std::array<uint8_t, 128>& BreathCurve() {
    static const std::array<uint8_t, 128> curve = Mirror(kBreathRise);
    return curve;
}

const std::array<uint8_t, 96>& WaveCurve() {
    static const std::array<uint8_t, 96> curve = Mirror(kWaveRise);
    return curve;
}

uint8_t Step(uint8_t direction, uint8_t limit, uint8_t value, uint8_t delta) {
    if (direction) {
        auto next = static_cast<uint8_t>(value + delta);
        return next >= limit ? 0 : next;
    }
    auto next = static_cast<uint8_t>(value - delta);
    return next >= limit ? static_cast<uint8_t>(limit - delta) : next;
}

}  // namespace dravik
