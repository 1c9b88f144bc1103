#pragma once
// The light tables shared by every software light effect: the colour wheel, the breathing and
// wave curves, brightness levels, blink thresholds and the four fixed colours, and the position
// step the effects advance by.
#include <array>
#include <cstddef>
#include <cstdint>

namespace dravik {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// 192 colours in six segments of 32: red → yellow → green → cyan → blue → magenta → red.
const std::array<Rgb, 192>& ColorWheel();
// 128 intensities rising from 0 to 255 and falling back symmetrically.
const std::array<uint8_t, 128>& BreathCurve();
// 96 intensities rising from 22 to 255 and falling back symmetrically.
const std::array<uint8_t, 96>& WaveCurve();
// Brightness index 0..4 to level.
inline constexpr std::array<uint8_t, 5> kLevelTable = {0, 50, 100, 175, 255};
// Tick counts by speed index (0..14; speeds above 4 have none).
inline constexpr std::array<uint8_t, 15> kStepThresholds = {28, 23, 18, 13, 7, 0, 0, 0,
                                                            0,  0,  0,  0,  0, 0, 0};
inline constexpr std::array<Rgb, 4> kFourColors = {Rgb{0, 255, 180}, Rgb{0, 255, 0},
                                                   Rgb{255, 255, 255}, Rgb{255, 0, 0}};

// Level of a brightness index, the top level for an index past the table.
inline uint8_t LevelOf(uint8_t brightness) {
    return kLevelTable[brightness < kLevelTable.size() ? brightness : kLevelTable.size() - 1];
}

// One step of an effect position on 8-bit values. Forward (direction non-zero): value + delta,
// wrapping to 0 at limit or beyond. Backward: value - delta, a result of limit or more (the
// wrap below 0 included) becoming limit - delta.
uint8_t Step(uint8_t direction, uint8_t limit, uint8_t value, uint8_t delta);

}  // namespace dravik
