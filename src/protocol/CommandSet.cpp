#include "protocol/CommandSet.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/Clock.h"
#include "platform/Trace.h"

namespace dravik {
namespace {

using Answer = std::array<uint8_t, kCommandReportSize>;

// Which lock a command holds around each exchange.
enum class Lane { Command, Light, None };

int32_t StatusResult(const Answer& answer) {
    if (answer[7] == kStatusError)
        return kResultStatusError;
    if (answer[7] == kStatusRejected)
        return kResultStatusRejected;
    return kResultSuccess;
}

// Seals the request, runs one exchange on the lane's lock and maps the answer's status.
int32_t Run(DeviceLink& link, CommandReport& request, Answer& answer, Lane lane,
            bool fast = false) {
    request.Seal();
    answer.fill(0);
    uint32_t got = 0;
    int32_t result;
    auto exchange = [&] {
        return fast ? link.FastExchange(request.bytes.data(), request.bytes.size(), answer.data(),
                                        answer.size(), &got)
                    : link.Exchange(request.bytes.data(), request.bytes.size(), answer.data(),
                                    answer.size(), &got);
    };
    switch (lane) {
        case Lane::Command: {
            std::lock_guard lock(link.CommandLock());
            result = exchange();
            break;
        }
        case Lane::Light: {
            std::lock_guard lock(link.LightLock());
            result = exchange();
            break;
        }
        default:
            result = exchange();
            break;
    }
    if (result != kResultSuccess)
        return result;
    return StatusResult(answer);
}

int32_t Simple(DeviceLink& link, uint8_t command) {
    CommandReport request = CommandReport::Make(command);
    Answer answer;
    return Run(link, request, answer, Lane::Command);
}

// Reads total bytes from base in chunks of the given size; each chunk's bytes go to
// destination + position. Stops at the first chunk that does not succeed.
int32_t ChunkedRead(DeviceLink& link, uint8_t command, uint8_t* destination, uint32_t total,
                    uint32_t base, uint32_t chunk) {
    Answer answer;
    for (uint32_t position = 0; position < total; position += chunk) {
        const uint32_t length = std::min(chunk, total - position);
        CommandReport request = CommandReport::Make(command, static_cast<uint8_t>(length),
                                                    static_cast<uint16_t>(base + position));
        int32_t result = Run(link, request, answer, Lane::Command);
        if (result != kResultSuccess)
            return result;
        if (destination)
            std::memcpy(destination + position, answer.data() + kCommandPayloadOffset, length);
    }
    return kResultSuccess;
}

int32_t ChunkedWrite(DeviceLink& link, uint8_t command, const uint8_t* source, uint32_t total,
                     uint32_t base, uint32_t chunk, Lane lane) {
    Answer answer;
    for (uint32_t position = 0; position < total; position += chunk) {
        const uint32_t length = std::min(chunk, total - position);
        CommandReport request = CommandReport::Make(command, static_cast<uint8_t>(length),
                                                    static_cast<uint16_t>(base + position));
        if (source)
            std::memcpy(request.Payload(), source + position, length);
        int32_t result = Run(link, request, answer, lane);
        if (result != kResultSuccess)
            return result;
    }
    return kResultSuccess;
}

}  // namespace

CommandReport CommandReport::Make(uint8_t command, uint8_t length, uint16_t address) {
    CommandReport r;
    r.bytes[0] = kCommandReportId;
    r.bytes[3] = command;
    r.bytes[4] = length;
    r.bytes[5] = static_cast<uint8_t>(address & 0xFF);
    r.bytes[6] = static_cast<uint8_t>(address >> 8);
    return r;
}

void CommandReport::Seal() {
    uint32_t sum = 0;
    for (size_t i = 3; i < bytes.size(); ++i)
        sum += bytes[i];
    bytes[1] = static_cast<uint8_t>(sum & 0xFF);
    bytes[2] = static_cast<uint8_t>((sum >> 8) & 0xFF);
}

int32_t BeginSession(DeviceLink& link) {
    return Simple(link, kCmdBeginSession);
}

int32_t EndSession(DeviceLink& link) {
    platform::SleepMs(10);
    return Simple(link, kCmdEndSession);
}

int32_t ReadDeviceInfo(DeviceLink& link, uint8_t* destination) {
    uint8_t block[DeviceInfoBlock::kSize] = {};
    int32_t result =
        ChunkedRead(link, kCmdReadDeviceInfo, block, sizeof block, 0, link.ChunkSize());
    if (result == kResultSuccess && destination)
        std::memcpy(destination, block, sizeof block);
    return result;
}

int32_t ReadDeviceInfo(DeviceLink& link, DeviceInfoBlock& block) {
    return ReadDeviceInfo(link, block.bytes.data());
}

int32_t WriteDeviceInfo(DeviceLink& link, const uint8_t* source) {
    CommandReport request =
        CommandReport::Make(kCmdWriteDeviceInfo, static_cast<uint8_t>(DeviceInfoBlock::kSize), 0);
    if (source)
        std::memcpy(request.Payload(), source, DeviceInfoBlock::kSize);
    Answer answer;
    return Run(link, request, answer, Lane::Command);
}

int32_t ReadProfileBlock(DeviceLink& link, uint8_t* destination, uint32_t count, uint16_t address) {
    return ChunkedRead(link, kCmdReadProfileBlock, destination, count, address, link.ChunkSize());
}

int32_t WriteProfileBlock(DeviceLink& link, const uint8_t* source, uint32_t count,
                          uint16_t address) {
    return ChunkedWrite(link, kCmdWriteProfileBlock, source, count, address, link.ChunkSize(),
                        Lane::Command);
}

int32_t ReadConfigImage(DeviceLink& link, uint8_t* destination) {
    return ChunkedRead(link, kCmdReadConfigImage, destination, link.ImageSize(), 0,
                       link.ChunkSize());
}

int32_t WriteConfigImage(DeviceLink& link, const uint8_t* source, int bank) {
    if (bank != 0)
        return kResultBadBank;
    return ChunkedWrite(link, kCmdWriteConfigImage, source, link.ImageSize(), 0, link.ChunkSize(),
                        Lane::Command);
}

int32_t ReadAuxImage(DeviceLink& link, uint8_t* destination) {
    return ChunkedRead(link, kCmdReadAuxImage, destination, link.ImageSize() / 3u, 0,
                       link.ChunkSize());
}

int32_t ReadBankImage(DeviceLink& link, uint8_t* destination, uint32_t count, int bank,
                      uint32_t bankSize) {
    return ChunkedRead(link, kCmdReadBankImage, destination, count,
                       static_cast<uint32_t>(bank) * bankSize, link.ChunkSize());
}

int32_t WriteBankImage(DeviceLink& link, const uint8_t* source, uint32_t count, int bank,
                       uint32_t bankSize) {
    return ChunkedWrite(link, kCmdWriteBankImage, source, count,
                        static_cast<uint32_t>(bank) * bankSize, link.ChunkSize(), Lane::Light);
}

int32_t WriteLightFrame(DeviceLink& link, const uint8_t* source, uint32_t count) {
    const uint32_t chunk = link.ChunkSize();
    Answer answer;
    for (uint32_t position = 0; position < count; position += chunk) {
        if (link.IsBusy()) {
            platform::Trace("放弃灯光数据");
            continue;
        }
        const uint32_t length = std::min(chunk, count - position);
        CommandReport request = CommandReport::Make(
            kCmdWriteLightFrame, static_cast<uint8_t>(length), static_cast<uint16_t>(position));
        if (source)
            std::memcpy(request.Payload(), source + position, length);
        int32_t result = Run(link, request, answer, Lane::Light, /*fast=*/true);
        if (result != kResultSuccess)
            return result;
    }
    return kResultSuccess;
}

int32_t WriteMacroData(DeviceLink& link, const uint8_t* source, uint32_t count) {
    return ChunkedWrite(link, kCmdWriteMacroData, source, count, 0, link.ChunkSize(),
                        Lane::Command);
}

int32_t WriteShootData(DeviceLink& link, const uint8_t* source, uint32_t count) {
    return ChunkedWrite(link, kCmdWriteShootData, source, count, 0, kShootChunkSize, Lane::None);
}

int32_t ReadPowerStatus(DeviceLink& link, uint8_t* destination, uint32_t count, uint16_t address) {
    // One report carries at most 56 bytes.
    const uint32_t length = std::min<uint32_t>(count, kCommandPayloadSize);
    CommandReport request =
        CommandReport::Make(kCmdReadPowerStatus, static_cast<uint8_t>(length), address);
    Answer answer;
    int32_t result = Run(link, request, answer, Lane::Command);
    if (result == kResultSuccess && destination)
        std::memcpy(destination, answer.data() + kCommandPayloadOffset, length);
    return result;
}

int32_t ResumeLightControl(DeviceLink& link) {
    return Simple(link, kCmdResumeLightControl);
}

bool QueryReceiverLink(DeviceLink& link) {
    if (!link.ReceiverMode())
        return true;
    CommandReport request = CommandReport::Make(kCmdQueryReceiverLink);
    Answer answer;
    return Run(link, request, answer, Lane::Command) == kResultSuccess &&
           answer[kCommandPayloadOffset] == 0xFF;
}

}  // namespace dravik
