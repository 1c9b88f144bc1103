#pragma once
// HidDevice: the program's only access to HID devices. It lists the present HID collections,
// opens one by its path, learns its report sizes and capabilities, and reads and writes reports
// with time-outs that another thread can abort.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "hidio/HidBackend.h"

namespace dravik {

inline constexpr uint32_t kInfiniteTimeout = 0xFFFFFFFFu;

struct HidCaps {
    uint16_t usage = 0;
    uint16_t usagePage = 0;
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;
    uint16_t numberInputButtonCaps = 0, numberInputValueCaps = 0;
    uint16_t numberOutputButtonCaps = 0, numberOutputValueCaps = 0;
    uint16_t numberFeatureButtonCaps = 0, numberFeatureValueCaps = 0;
};

// One decoded piece of a report: a button capability (a usage range with the usages found set)
// or one value usage.
struct HidDataItem {
    bool isButton = false;
    uint16_t usagePage = 0;
    int status = 0;  // 0 success, else the decoding failed
    uint8_t reportId = 0;
    bool isSet = false;
    // buttons
    uint16_t usageMin = 0, usageMax = 0;
    uint32_t maxUsageListLength = 0;
    std::vector<uint16_t> usageList;  // zero-terminated when not full
    // values
    uint16_t usage = 0;
    uint32_t rawValue = 0;
    int32_t scaledValue = 0;
    // where the item sits in its report (for unpacking)
    uint32_t bitOffset = 0;
    uint16_t bitSize = 0;
    uint16_t reportCount = 0;
    int32_t logicalMin = 0, logicalMax = 0, physicalMin = 0, physicalMax = 0;
    bool variable = true;
    std::vector<uint16_t> usages;
};

class HidDevice {
  public:
    HidDevice();
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    // Collects the paths of every present HID collection and resets the cursor.
    bool Enumerate();
    // The next collected path, or nullptr when the list is exhausted or empty.
    const char* NextPath();
    void FreePathList();
    size_t PathCount() const { return paths_.size(); }

    // Stores the flags and the path, then (re)opens; releases everything of the previous
    // interface first.
    bool Open(const std::string& path, bool read, bool write, bool overlapped, bool shareReadOnly);
    // Aborts a pending read or write, frees the buffers and closes the handle. Safe to call from
    // another thread while a read waits.
    void Close();
    bool IsOpen() const;

    // True only when the transfer completed within the time-out (kInfiniteTimeout: until done or
    // aborted); bytes receives the count (0 on failure).
    bool Read(uint8_t* buffer, uint32_t length, uint32_t* bytes, uint32_t timeoutMs);
    bool Write(const uint8_t* buffer, uint32_t length, uint32_t* bytes, uint32_t timeoutMs);
    // Sets the abort signal: a pending read or write returns false; with none pending, the next
    // one does.
    void Abort();
    // Discards queued input reports.
    bool FlushQueue();
    bool SetOutputReport(const uint8_t* buffer, uint32_t length);

    // Decodes report into the input data items of its report ID; false when a value failed.
    bool UnpackInputReport(const uint8_t* report, uint32_t length);

    const hidio::HidAttributes& Attributes() const { return attributes_; }
    const HidCaps& Caps() const { return caps_; }
    uint32_t InterfaceNumber() const { return interfaceNumber_; }
    uint32_t CollectionNumber() const { return collectionNumber_; }
    const std::string& DevicePath() const { return devicePath_; }
    const std::vector<uint8_t>& InputReportBuffer() const { return inputReport_; }
    const std::vector<uint8_t>& OutputReportBuffer() const { return outputReport_; }
    const std::vector<uint8_t>& FeatureReportBuffer() const { return featureReport_; }
    const std::vector<HidDataItem>& InputDataItems() const { return inputItems_; }
    const std::vector<HidDataItem>& OutputDataItems() const { return outputItems_; }
    const std::vector<HidDataItem>& FeatureDataItems() const { return featureItems_; }
    bool ReadInProgress() const { return readInProgress_; }
    bool WriteInProgress() const { return writeInProgress_; }

  private:
    std::shared_ptr<hidio::HidHandle> CurrentHandle() const;
    void ReleaseLocked();
    bool FillDeviceInformation();

    std::vector<std::string> paths_;
    size_t cursor_ = 0;
    bool readAccess_ = false, writeAccess_ = false, overlapped_ = false, shareReadOnly_ = false;
    std::string devicePath_;

    mutable std::mutex handleMutex_;  // guards handle_ against Close from another thread
    std::shared_ptr<hidio::HidHandle> handle_;
    hidio::HidAttributes attributes_;
    HidCaps caps_;
    std::vector<uint8_t> inputReport_, outputReport_, featureReport_;
    std::vector<HidDataItem> inputItems_, outputItems_, featureItems_;
    uint32_t interfaceNumber_ = 0, collectionNumber_ = 0;
    std::atomic<bool> readInProgress_{false}, writeInProgress_{false};
};

}  // namespace dravik
