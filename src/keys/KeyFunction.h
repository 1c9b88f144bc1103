#pragma once
// One key's function: three bytes {type, first parameter, second parameter}. The same three bytes
// travel as one integer in profile documents (type << 16 | param1 << 8 | param2), as three bytes
// per slot in a device's key table, and as a KeyRecord in memory.
#include <cstdint>

namespace dravik {

// Values of the type byte.
enum KeyFunctionType : uint8_t {
    KF_NONE = 0x00,
    KF_MOUSE_BUTTON = 0x10,  // param1: one button bit (0x01 left, 0x02 right, 0x04 middle …)
    KF_HSCROLL = 0x11,       // tilt: param1 delay << 4 | speed; param2 bit 7 right, bits 0-6 count
    KF_WHEEL = 0x12,         // wheel: param1 delay << 4 | speed; param2 bit 7 down, count coded
    KF_DPI = 0x13,           // param1: 1 up, 2 down, 3 cycle
    KF_FIRE = 0x14,          // param1 interval, param2 number of shots
    KF_DPI_SHIFT = 0x16,
    KF_KEYBOARD = 0x20,  // param1 modifier bits (USB HID order), param2 HID keyboard usage
    KF_SHORTCUT = 0x22,  // param2: row of the shortcut function table
    KF_SHOW_WINDOW = 0x23,
    KF_CONSUMER = 0x30,            // HID consumer usage: param1 low byte, param2 high byte
    KF_SYSTEM = 0x40,              // param1: one system-control bit
    KF_MACRO_MODE = 0x70,          // param1 macro number, param2 repeat mode 0-3
    KF_MACRO_COUNT = 0x71,         // param1 macro number, param2 repeat count
    KF_RECOIL = 0x72,              // param1 recoil slot 0-3
    KF_SPECIAL = 0xA0,             // param1 0x00 off, 0x02 smart key, 0x01 FN, 0x1B GM
    KF_KEYBOARD_MACRO_KEY = 0xD0,  // param1 0xA2, param2 1-5 (keys M1-M5)
};

// Modifier bits of KF_KEYBOARD's first parameter.
enum KeyModifier : uint8_t {
    KM_LCTRL = 0x01,
    KM_LSHIFT = 0x02,
    KM_LALT = 0x04,
    KM_LWIN = 0x08,
    KM_RCTRL = 0x10,
    KM_RSHIFT = 0x20,
    KM_RALT = 0x40,
    KM_RWIN = 0x80,
};

struct KeyFunction {
    uint8_t type = 0;
    uint8_t param1 = 0;
    uint8_t param2 = 0;

    friend bool operator==(const KeyFunction&, const KeyFunction&) = default;
};

// Profile form: type × 65536 + param1 × 256 + param2.
constexpr uint32_t ToProfileValue(KeyFunction f) {
    return static_cast<uint32_t>(f.type) << 16 | static_cast<uint32_t>(f.param1) << 8 | f.param2;
}
// Bits 16-23, 8-15 and 0-7 of a stored value (anything above bit 23 is ignored).
constexpr KeyFunction KeyFunctionFromProfileValue(int64_t value) {
    return KeyFunction{static_cast<uint8_t>((value >> 16) & 0xFF),
                       static_cast<uint8_t>((value >> 8) & 0xFF),
                       static_cast<uint8_t>(value & 0xFF)};
}

// Wheel and tilt functions. delay and speed are nibbles (0-15), count 0-127; larger values are
// cut to their field. A wheel-down count is stored as (0x80 − count) | 0x80 so that bit 7 always
// tells the direction (count 3 down is 0xFD).
KeyFunction MakeWheelFunction(bool down, unsigned delay, unsigned speed, unsigned count);
KeyFunction MakeTiltFunction(bool right, unsigned delay, unsigned speed, unsigned count);
// The count carried by a wheel or tilt function's second parameter.
unsigned WheelOrTiltCount(KeyFunction f);

// One half of a KeyRecord: six bytes, the key's index and a function.
struct KeyHalf {
    uint16_t keyIndex = 0;
    uint8_t type = 0;
    uint8_t param1 = 0;
    uint8_t param2 = 0;
    uint8_t reserved = 0;

    KeyFunction Function() const { return {type, param1, param2}; }
    void SetFunction(KeyFunction f) {
        type = f.type;
        param1 = f.param1;
        param2 = f.param2;
    }
    friend bool operator==(const KeyHalf&, const KeyHalf&) = default;
};
static_assert(sizeof(KeyHalf) == 6);

// One programmable key of a device page: the function in use and the factory function.
struct KeyRecord {
    KeyHalf current;
    KeyHalf factory;

    // Copies the whole factory half over the current half.
    void RestoreDefault() { current = factory; }
    friend bool operator==(const KeyRecord&, const KeyRecord&) = default;
};
static_assert(sizeof(KeyRecord) == 12);

}  // namespace dravik
