#pragma once
// DeviceLink: the request/response channel to one device. A 64-byte command report is written to
// the device's vendor collection and one 64-byte answer is read back and matched to the request by
// its command byte. The device is reached either by its own cable (wired interface) or through its
// 2.4 GHz receiver (receiver interface); the receiver-mode flag selects which one exchanges use.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "hid/HidDevice.h"
#include "platform/FairMutex.h"

namespace dravik {

inline constexpr size_t kCommandReportSize = 64;
inline constexpr uint16_t kMaxImageSize = 512;
inline constexpr uint8_t kWiredChunkSize = 56;
inline constexpr uint8_t kReceiverChunkSize = 24;
inline constexpr uint8_t kReceiverNoDeviceEcho = 0xAA;  // the receiver's "device does not answer"

// Results of both exchanges (the command set adds its own codes).
inline constexpr int32_t kLinkOk = 1;
inline constexpr int32_t kLinkNoAnswer = 0;  // link not open, or no matching answer in time
inline constexpr int32_t kLinkWriteFailed = -1;
inline constexpr int32_t kLinkReceiverNoDevice = -101;

// Time-outs of the exchanges, milliseconds.
inline constexpr uint32_t kWiredTimeoutMs = 1000;
inline constexpr uint32_t kReceiverTimeoutMs = 5000;
inline constexpr uint32_t kReceiverFastTimeoutMs = 500;
inline constexpr uint32_t kExchangeSleepMs = 10;

class DeviceLink {
  public:
    DeviceLink();
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Image size: the number of bytes the image commands move; at most 512. A larger value is
    // refused (false) and the size stays as it was.
    bool SetImageSize(uint32_t n);
    uint16_t ImageSize() const { return imageSize_.load(); }
    uint16_t SecondSize() const { return secondSize_; }

    // 2 selects the receiver (chunk size 24); any other value the cable (chunk size 56).
    void SetMode(int mode);
    bool ReceiverMode() const { return receiverMode_.load(); }
    uint8_t ChunkSize() const { return chunkSize_.load(); }

    // One request/response exchange: sleeps, flushes, writes, reads, checks the echoed command
    // byte (one full retry). Returns kLinkOk, kLinkNoAnswer, kLinkWriteFailed or
    // kLinkReceiverNoDevice; a suspended link returns kLinkOk at once without I/O.
    int32_t Exchange(const uint8_t* request, size_t requestLength, uint8_t* answer,
                     size_t answerLength, uint32_t* bytesRead);
    // The live light frames' exchange: no sleeps, no flush, no trace, shorter receiver time-out;
    // on an echo mismatch it reads once more without writing again. Ignores the suspended flag.
    int32_t FastExchange(const uint8_t* request, size_t requestLength, uint8_t* answer,
                         size_t answerLength, uint32_t* bytesRead);

    // Flags read by other threads without a lock.
    bool IsBusy() const { return busy_.load() > 0; }
    bool IsSuspended() const { return suspended_.load(); }
    void SetSuspended(bool on) { suspended_.store(on); }
    bool IsOpen() const { return open_.load(); }
    void SetOpen(bool on) { open_.store(on); }
    bool SyncActive() const { return syncActive_.load(); }
    void SetSyncActive(bool on) { syncActive_.store(on); }

    HidDevice& Wired() { return wired_; }
    HidDevice& Receiver() { return receiver_; }
    // The interface exchanges use now.
    HidDevice& Active() { return ReceiverMode() ? receiver_ : wired_; }

    // Opens path as the wired (receiver = false) or the receiver interface under the exchange
    // lock (read and write, shared), then marks the link open and selects the mode. False when
    // the open fails (the link then stays closed).
    bool Attach(const std::string& path, bool receiver);
    // Clears the open and suspended flags and closes both interfaces under the exchange lock.
    void Detach();

    // The locks. Order: command or light lock first, then the exchange lock; never the reverse.
    std::recursive_mutex& ExchangeLock() { return exchangeLock_; }
    std::recursive_mutex& SpareLock() { return spareLock_; }
    platform::FairRecursiveMutex& CommandLock() { return commandLock_; }
    platform::FairRecursiveMutex& LightLock() { return lightLock_; }

    // The trace layout of a 64-byte report: two lines of 32 bytes, groups of four bytes separated
    // by three spaces in the first half of a line and by two in the second.
    static std::string FormatReport(const uint8_t* report);

  private:
    uint32_t TimeoutMs(bool fast) const;

    std::atomic<uint16_t> imageSize_{kMaxImageSize};
    uint16_t secondSize_ = kMaxImageSize;
    // Counts running exchanges, so the flag stays up while any thread is inside one.
    std::atomic<int> busy_{0};
    std::atomic<bool> open_{false};
    std::atomic<bool> syncActive_{false};
    HidDevice wired_;
    HidDevice receiver_;
    std::recursive_mutex exchangeLock_;
    std::recursive_mutex spareLock_;
    // Commands and light frames take their turns in arrival order, so that one thread's long
    // chunked transfer does not starve another thread's commands on the same link.
    platform::FairRecursiveMutex commandLock_;
    platform::FairRecursiveMutex lightLock_;
    std::atomic<bool> receiverMode_{false};
    std::atomic<uint8_t> chunkSize_{kReceiverChunkSize};
    std::atomic<bool> suspended_{false};
};

}  // namespace dravik
