#pragma once
// The vendor command set spoken over a DeviceLink: how each command fills the 64-byte command
// report, how long transfers are cut into chunks, and how answers become result codes.
//
// Command report layout (request and answer): 0 report ID 0x04; 1-2 checksum, little-endian sum
// of bytes 3..63; 3 command; 4 length; 5-6 address, little-endian; 7 status (0 in requests, 0xFF
// or 0xFE in answers are errors); 8-63 payload.
#include <array>
#include <cstddef>
#include <cstdint>

#include "hid/DeviceLink.h"

namespace dravik {

enum CommandByte : uint8_t {
    kCmdBeginSession = 0x01,
    kCmdEndSession = 0x02,
    kCmdReadDeviceInfo = 0x03,
    kCmdWriteDeviceInfo = 0x04,
    kCmdReadProfileBlock = 0x05,
    kCmdWriteProfileBlock = 0x06,
    kCmdReadConfigImage = 0x07,
    kCmdWriteConfigImage = 0x09,
    kCmdReadBankImage = 0x0A,
    kCmdWriteBankImage = 0x0B,
    kCmdWriteLightFrame = 0x12,
    kCmdWriteMacroData = 0x15,
    kCmdWriteShootData = 0x17,
    kCmdReadPowerStatus = 0x1A,
    kCmdReadAuxImage = 0x1B,
    kCmdResumeLightControl = 0x1C,
    kCmdQueryReceiverLink = 0xAA,
};

inline constexpr uint8_t kCommandReportId = 0x04;
inline constexpr size_t kCommandPayloadOffset = 8;
inline constexpr size_t kCommandPayloadSize = 56;
inline constexpr uint8_t kStatusError = 0xFF;
inline constexpr uint8_t kStatusRejected = 0xFE;
inline constexpr uint16_t kBankSize = 512;
inline constexpr size_t kShootChunkSize = 56;

// Result codes of every command (the link's 1, 0, -1, -101 plus these).
inline constexpr int32_t kResultSuccess = kLinkOk;
inline constexpr int32_t kResultNoAnswer = kLinkNoAnswer;
inline constexpr int32_t kResultWriteFailed = kLinkWriteFailed;
inline constexpr int32_t kResultReceiverNoDevice = kLinkReceiverNoDevice;
inline constexpr int32_t kResultStatusError = -102;     // answer status 0xFF
inline constexpr int32_t kResultStatusRejected = -103;  // answer status 0xFE
inline constexpr int32_t kResultBadBank = -201;         // image write to a bank other than 0

// One command report under construction.
struct CommandReport {
    std::array<uint8_t, 64> bytes{};

    // Report ID, command, length and address set; status and payload zero; no checksum yet.
    static CommandReport Make(uint8_t command, uint8_t length = 0, uint16_t address = 0);
    // Sum of bytes 3..63 into bytes 1 (low) and 2 (high). Call after every other byte is final.
    void Seal();
    uint8_t* Payload() { return bytes.data() + kCommandPayloadOffset; }
};

// The 34-byte device-information block every device class reads first.
class DeviceInfoBlock {
  public:
    static constexpr size_t kSize = 34;
    static constexpr uint16_t kMarker = 0x55AA;
    static constexpr uint8_t kStateCurrent = 4;

    std::array<uint8_t, kSize> bytes{};

    uint16_t Word(size_t offset) const {
        return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
    }
    uint16_t Marker() const { return Word(0); }
    bool HasMarker() const { return Marker() == kMarker; }
    // Byte 5: the image size in units of three bytes (for the keyboard: its LED count).
    uint8_t ImageUnits() const { return bytes[5]; }
    uint32_t ImageSize() const { return 3u * bytes[5]; }
    // Byte 6: the macro capacity in units of 128 bytes.
    uint8_t MacroCapacityUnits() const { return bytes[6]; }
    uint32_t MacroCapacity() const { return 128u * bytes[6]; }
    // Byte 7: block state, 4 = current.
    uint8_t State() const { return bytes[7]; }
    bool IsCurrent() const { return State() == kStateCurrent; }
    // A known block of an older state (0) that the mouse upgrades to 4.
    bool NeedsUpgrade() const { return State() == 0 && HasMarker(); }
    // Mouse fields: sensor id (9-10), DPI step (11), highest DPI code + 10 (12-13, one sensor),
    // DPI base (14-15).
    uint16_t SensorId() const { return Word(9); }
    uint8_t DpiStep() const { return bytes[11]; }
    uint16_t DpiCodeLimit() const { return Word(12); }
    uint16_t DpiBase() const { return Word(14); }
};

// Sessions and the information block.
int32_t BeginSession(DeviceLink& link);
int32_t EndSession(DeviceLink& link);  // sleeps 10 ms before its exchange
// Copies the 34 bytes to destination only when every chunk arrived.
int32_t ReadDeviceInfo(DeviceLink& link, uint8_t* destination);
int32_t ReadDeviceInfo(DeviceLink& link, DeviceInfoBlock& block);
int32_t WriteDeviceInfo(DeviceLink& link, const uint8_t* source);

// Profile blocks: one flat space addressed by byte.
int32_t ReadProfileBlock(DeviceLink& link, uint8_t* destination, uint32_t count, uint16_t address);
int32_t WriteProfileBlock(DeviceLink& link, const uint8_t* source, uint32_t count,
                          uint16_t address);

// Configuration image: the link's image size bytes from address 0.
int32_t ReadConfigImage(DeviceLink& link, uint8_t* destination);
int32_t WriteConfigImage(DeviceLink& link, const uint8_t* source, int bank);
// Aux image: image size / 3 bytes from address 0.
int32_t ReadAuxImage(DeviceLink& link, uint8_t* destination);

// Banks: address = bank * bankSize + position.
int32_t ReadBankImage(DeviceLink& link, uint8_t* destination, uint32_t count, int bank,
                      uint32_t bankSize = kBankSize);
int32_t WriteBankImage(DeviceLink& link, const uint8_t* source, uint32_t count, int bank,
                       uint32_t bankSize = kBankSize);

// Live light frame: each chunk by fast exchange under the light lock; a chunk that meets a busy
// link is dropped (and counted as sent).
int32_t WriteLightFrame(DeviceLink& link, const uint8_t* source, uint32_t count);
int32_t WriteMacroData(DeviceLink& link, const uint8_t* source, uint32_t count);
// Fixed 56-byte chunks whatever the link's chunk size; takes no lock.
int32_t WriteShootData(DeviceLink& link, const uint8_t* source, uint32_t count);

// count <= 56 bytes at address, one report.
int32_t ReadPowerStatus(DeviceLink& link, uint8_t* destination, uint32_t count, uint16_t address);
int32_t ResumeLightControl(DeviceLink& link);
// True on the cable without any exchange; through the receiver true when the device behind it
// answers.
bool QueryReceiverLink(DeviceLink& link);

}  // namespace dravik
