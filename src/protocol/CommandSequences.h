#pragma once
// The command sequences the device classes compose from the command set. Their order is part of
// the protocol: configuration reads and all writes are bracketed by BeginSession/EndSession, the
// profile-block reads are not, and through the receiver the mouse and keyboard make sure the
// device behind it answers before a sequence starts.
#include <array>
#include <cstdint>

#include "protocol/CommandSet.h"

namespace dravik {

enum class DeviceFamily { Mouse, Keyboard, MousePad };

// True on the cable; through the receiver, whether the device behind it answers.
bool ReceiverPreQuery(DeviceLink& link);

struct ConfigurationRead {
    enum class Stop {
        None,               // the whole sequence ran
        LinkClosed,         // nothing was sent
        ReceiverAbsent,     // the receiver's device did not answer the pre-query
        InfoFailed,         // ReadDeviceInfo did not succeed; no EndSession was sent
        InfoNotRecognised,  // mouse: block state neither 4 nor an upgradable 0
        ImageTooLarge,      // 3 x info byte 5 exceeds 512
    };
    Stop stop = Stop::None;
    // Result of the last command that decides the outcome (ReadDeviceInfo, WriteDeviceInfo or
    // the image reads).
    int32_t result = kResultNoAnswer;
    DeviceInfoBlock info;
    bool upgraded = false;  // mouse: the block was upgraded to state 4 and written back
    bool imageRead = false;
    bool auxRead = false;
    std::array<uint8_t, kMaxImageSize> image{};
    std::array<uint8_t, kMaxImageSize> aux{};
};

// Mouse: BeginSession; ReadDeviceInfo; image size = 3 x byte 5; WriteDeviceInfo when the block
// needs the upgrade; ReadConfigImage; EndSession. Keyboard: the same without the block check,
// with ReadAuxImage after the image. Mouse pad: BeginSession; ReadDeviceInfo; EndSession.
// Through the receiver the mouse and keyboard first run the pre-query.
ConfigurationRead ReadConfiguration(DeviceLink& link, DeviceFamily family);

enum class ConfigurationData { KeyImage, Macros, Shoot };

struct ConfigurationWrite {
    bool skipped = false;  // the link is closed or the receiver's device did not answer
    int32_t result = kResultNoAnswer;
    DeviceInfoBlock info;  // read first; macro downloads take their capacity from it
};

// ReadDeviceInfo first; then BeginSession; WriteConfigImage (count ignored: the link's image
// size), WriteMacroData or WriteShootData; EndSession. Through the receiver the pre-query runs
// before ReadDeviceInfo and again before BeginSession. result is the data write's result (or the
// failing ReadDeviceInfo's, in which case nothing else was sent).
ConfigurationWrite WriteConfiguration(DeviceLink& link, ConfigurationData what, const uint8_t* data,
                                      uint32_t count, int bank = 0);

// ReadProfileBlock of 1 byte at address 0 (the active profile p), then count bytes at
// p x stride. No session. profile receives p when the first read succeeded.
int32_t ReadActiveProfileBlock(DeviceLink& link, uint8_t* destination, uint32_t count,
                               uint32_t stride, uint8_t* profile);

// BeginSession (only while the link is open); WriteProfileBlock; EndSession. Returns the
// WriteProfileBlock result.
int32_t WriteProfileBlockSequence(DeviceLink& link, const uint8_t* source, uint32_t count,
                                  uint16_t address);

// Strides and sizes of the profile blocks.
inline constexpr uint32_t kMouseProfileStride = 128;
inline constexpr uint32_t kMouseProfileBlockSize = 86;
inline constexpr uint32_t kKeyboardProfileStride = 25;
inline constexpr uint32_t kKeyboardProfileBlockSize = 45;
inline constexpr uint32_t kLightDeviceWriteStride = 64;  // headset and mouse pad writes
inline constexpr uint32_t kLightDeviceImageSize = 21;

}  // namespace dravik
