#pragma once
// The fixed in-memory records that the sections of a profile document are read into.
#include <array>
#include <cstdint>

namespace dravik {

// A device's lighting selection ("LightInfo"); fourteen bytes in this order, padded to 16.
struct LightInfo {
    uint8_t selectItem = 0;  // mode index in the device's mode list
    uint8_t light = 0;       // brightness
    uint8_t speed = 0;
    uint8_t fx = 0;          // effect option / direction
    uint8_t multiColor = 0;  // 0/1
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t unstored[3] = {0, 0, 0};  // not kept in the document
    uint8_t zzccLedMode = 0;          // keyboard sub-mode
    uint8_t customGroup = 0;          // keyboard custom colour group
    uint8_t oldLedMode = 0;           // mode to return to after a temporary one
    uint8_t padding[2] = {0, 0};

    friend bool operator==(const LightInfo&, const LightInfo&) = default;
};
static_assert(sizeof(LightInfo) == 16);

// Music-reactive lighting ("AudioLightInfo"), nine bytes.
struct AudioLightInfo {
    uint8_t audioMode = 0;
    uint8_t bkRed = 0, bkGreen = 0, bkBlue = 0;
    uint8_t fgRed = 0, fgGreen = 0, fgBlue = 0;
    uint8_t sevenColor = 0;  // 0/1
    uint8_t colorType = 0;   // 0 background, 1 foreground

    friend bool operator==(const AudioLightInfo&, const AudioLightInfo&) = default;
};
static_assert(sizeof(AudioLightInfo) == 9);

// One element of "LightList": a per-LED effect.
struct LightListEntry {
    uint8_t mode = 0;  // "LEDREGMode"
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;   // 0/1
    uint8_t multiColor = 0;  // 0/1
    uint8_t red = 0, green = 0, blue = 0;
    uint8_t present = 0;  // 1 for an object element, 0 for a null one

    friend bool operator==(const LightListEntry&, const LightListEntry&) = default;
};

// One step of a user light sequence ("LEDEffectList" of a ".light" file), 24 bytes.
struct LightEffectFrame {
    uint8_t mode = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t multiColor = 0;
    uint8_t red = 0, green = 0, blue = 0;
    uint8_t unstored[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    uint32_t time = 0;  // step duration in milliseconds
    uint32_t cyle = 0;

    friend bool operator==(const LightEffectFrame&, const LightEffectFrame&) = default;
};
static_assert(sizeof(LightEffectFrame) == 24);

// One DPI stage: enabled, separate X/Y flag, DPI codes X and Y as the device stores them, and the
// indicator colour.
struct DpiStage {
    uint8_t enabled = 0;
    uint8_t xy = 0;
    uint16_t dpiX = 0;
    uint16_t dpiY = 0;
    uint8_t red = 0, green = 0, blue = 0;

    // The nine bytes of the stage in device order (codes little-endian).
    std::array<uint8_t, 9> Bytes() const {
        return {enabled,
                xy,
                static_cast<uint8_t>(dpiX & 0xFF),
                static_cast<uint8_t>(dpiX >> 8),
                static_cast<uint8_t>(dpiY & 0xFF),
                static_cast<uint8_t>(dpiY >> 8),
                red,
                green,
                blue};
    }
    friend bool operator==(const DpiStage&, const DpiStage&) = default;
};

// The mouse's settings words: "SystemStages" (five pointer values) and "ReportStages" (sensor
// and power options), fifteen 16-bit words in this order.
struct MouseSystemSettings {
    uint16_t doubleClickTime = 0;
    uint16_t mouseSpeed = 0;
    uint16_t pointerPrecision = 0;
    uint16_t scrollPage = 0;        // "ScorllPage"
    uint16_t wheelScrollLines = 0;  // "WheelScorlllinse"
    uint16_t pollingRate = 0;       // "ReportStages"."StageActive"
    uint16_t silentAltitude = 0;
    uint16_t linearCalibration = 0;
    uint16_t ripple = 0;
    uint16_t unstored = 0;  // not kept in the document
    uint16_t bleSleep1 = 0;
    uint16_t bleSleep2 = 0;
    uint16_t deviceSleep1 = 0;
    uint16_t deviceSleep2 = 0;
    uint16_t keyDebounceTime = 0;

    friend bool operator==(const MouseSystemSettings&, const MouseSystemSettings&) = default;
};
static_assert(sizeof(MouseSystemSettings) == 30);

// The keyboard's "SystemStages", six 16-bit words.
struct KeyboardSystemSettings {
    uint16_t repeat = 0;
    uint16_t repeatDelay = 0;
    uint16_t key6Flag = 0;
    uint16_t pollingRate = 0;
    uint16_t wFlag = 0;
    uint16_t winFlag = 0;

    friend bool operator==(const KeyboardSystemSettings&, const KeyboardSystemSettings&) = default;
};

// The headset's "SystemSetStages", eight signed 32-bit values.
struct HeadsetSystemSettings {
    int32_t magicEnable = 0;
    int32_t magicType = 0;
    int32_t eqType = 0;
    int32_t customEqSelectIndex = 0;  // "CustomEqSeletIndex"
    int32_t micInSelect = 0;
    int32_t micInValue = 0;
    int32_t micMonitorSelect = 0;  // "MicMoniterSelect"
    int32_t micMonitorValue = 0;   // "MicMoniterValue"

    friend bool operator==(const HeadsetSystemSettings&, const HeadsetSystemSettings&) = default;
};

// One colour of a keyboard custom colour group.
struct CustomColor {
    uint8_t red = 0, green = 0, blue = 0, alpha = 0;

    friend bool operator==(const CustomColor&, const CustomColor&) = default;
};

}  // namespace dravik
