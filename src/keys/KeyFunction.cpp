#include "keys/KeyFunction.h"

namespace dravik {

namespace {
uint8_t Timing(unsigned delay, unsigned speed) {
    return static_cast<uint8_t>((delay & 0x0F) << 4 | (speed & 0x0F));
}
}  // namespace

KeyFunction MakeWheelFunction(bool down, unsigned delay, unsigned speed, unsigned count) {
    count &= 0x7F;
    uint8_t p2 =
        down ? static_cast<uint8_t>(((0x80 - count) & 0x7F) | 0x80) : static_cast<uint8_t>(count);
    return {KF_WHEEL, Timing(delay, speed), p2};
}

KeyFunction MakeTiltFunction(bool right, unsigned delay, unsigned speed, unsigned count) {
    return {KF_HSCROLL, Timing(delay, speed),
            static_cast<uint8_t>((right ? 0x80 : 0x00) | (count & 0x7F))};
}

unsigned WheelOrTiltCount(KeyFunction f) {
    if (f.type == KF_WHEEL && (f.param2 & 0x80))
        return (0x80 - (f.param2 & 0x7F)) & 0x7F;
    return f.param2 & 0x7F;
}

}  // namespace dravik
