#pragma once
// One opened collection of a hidraw node. The node delivers the input reports of every
// collection of its interface; this handle passes on only those of its own collection.
//
// The kernel's hidraw interface: read() gives one report per call, report-ID byte first only when
// the device numbers its reports; write() and HIDIOCSOUTPUT take the report-ID byte first always,
// 0 for a device without numbered reports (the kernel drops that 0 before the transfer). So reads
// gain a leading 0 here for such devices, and writes pass through unchanged.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hidio/HidBackend.h"

namespace dravik::hidio {

class HidrawHandle : public HidHandle {
  public:
    // Takes ownership of fd (made nonblocking here). nodeUsesReportIds: whether the node's
    // descriptor numbers its reports. Null, with a reason in error, when the abort eventfd cannot
    // be made; fd is closed then.
    static std::shared_ptr<HidrawHandle> Adopt(int fd, HidCollectionInfo info,
                                               bool nodeUsesReportIds, OpenFlags flags,
                                               std::string* error = nullptr);
    ~HidrawHandle() override;
    HidrawHandle(const HidrawHandle&) = delete;
    HidrawHandle& operator=(const HidrawHandle&) = delete;

    const HidCollectionInfo& Info() const override { return info_; }
    IoResult Read(uint8_t* buffer, size_t length, size_t* bytesRead, uint32_t timeoutMs) override;
    IoResult Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                   uint32_t timeoutMs) override;
    void Abort() override;
    void Flush() override;
    bool SetOutputReport(const uint8_t* buffer, size_t length) override;

  private:
    HidrawHandle(int fd, int abortFd, HidCollectionInfo info, bool nodeUsesReportIds,
                 OpenFlags flags);
    // True when an abort was pending; consumes it.
    bool ConsumeAbort();
    // Waits until fd is ready for events or the abort eventfd is signalled; pollMs < 0 waits
    // forever. Returns false on a poll failure.
    bool WaitReady(short events, int pollMs, bool* abortSignalled);
    bool Mine(uint8_t reportId) const;
    ssize_t Send(const uint8_t* data, size_t length);
    std::vector<uint8_t> PadToOutputLength(const uint8_t* buffer, size_t length) const;

    const int fd_;
    const int abortFd_;
    const HidCollectionInfo info_;
    const bool nodeUsesReportIds_;
    const OpenFlags flags_;
    bool isSocket_ = false;  // a test stand-in: sends need MSG_NOSIGNAL
};

}  // namespace dravik::hidio
