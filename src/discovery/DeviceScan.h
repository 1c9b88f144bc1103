#pragma once
// The device-scan thread: every 100 ms it binds present HID interfaces that match the supported
// devices to free device-list entries, and releases entries whose interface vanished. Each
// change is handed to the UI thread synchronously (arrival, removal); after its first complete
// pass it says so once.
#include <functional>

#include "discovery/DeviceTables.h"
#include "hid/HidDevice.h"
#include "platform/WorkerThread.h"

namespace dravik {

struct ScanSink {
    std::function<void(int row)> arrived;  // called after the entry was claimed
    std::function<void(int row)> removed;  // called after the entry was released
    std::function<void()> firstPassDone;
};

inline constexpr uint32_t kScanPeriodMs = 100;

class DeviceScanner {
  public:
    DeviceScanner(DeviceList& list, ScanSink sink) : list_(list), sink_(std::move(sink)) {}

    // One pass: enumeration and claims (skipped while every entry is bound), then the liveness
    // check. False when the enumeration failed.
    bool Pass();
    // The thread body: passes every 100 ms until the stop event is set.
    void Run(platform::WorkerThread& self);

  private:
    void TryClaim(const std::string& path);
    void CheckLiveness();

    DeviceList& list_;
    ScanSink sink_;
    HidDevice probe_;  // the one interface object the scan uses for all of its work
    bool firstPassReported_ = false;
};

}  // namespace dravik
