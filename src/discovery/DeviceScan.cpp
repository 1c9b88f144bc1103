#include "discovery/DeviceScan.h"

#include "platform/Trace.h"

namespace dravik {

void DeviceScanner::TryClaim(const std::string& path) {
    const PathIdentity id = ParseDevicePath(path);
    bool tableMatch = false;
    for (const auto& row : SupportedDevices())
        if (row.vendorId == id.vendorId && row.productId == id.productId &&
            row.collectionNumber == id.collectionNumber &&
            row.interfaceNumber == id.interfaceNumber)
            tableMatch = true;
    // One interface binds one entry: a bound path is not offered to a second entry that shares
    // its interface values (the keyboard's cable and receiver rows do).
    if (!tableMatch || !list_.HasUnboundCandidate(id) || list_.PathBound(path))
        return;
    if (!probe_.Open(path, true, false, true, false))
        return;  // tried again on the next pass
    DeviceEntry found;
    found.vendorId = probe_.Attributes().vendorId;
    found.productId = probe_.Attributes().productId;
    found.collectionNumber = id.collectionNumber;
    found.interfaceNumber = id.interfaceNumber;
    found.usagePage = probe_.Caps().usagePage;
    found.usage = probe_.Caps().usage;
    probe_.Close();
    for (const auto& row : SupportedDevices()) {
        if (!row.SameInterface(found))
            continue;
        int claimed = list_.Claim(row, path);
        if (claimed >= 0 && sink_.arrived)
            sink_.arrived(claimed);
        break;
    }
}

void DeviceScanner::CheckLiveness() {
    for (const auto& [row, path] : list_.BoundPaths()) {
        if (probe_.Open(path, false, false, false, false)) {
            probe_.Close();
            continue;
        }
        list_.Release(static_cast<size_t>(row));
        if (sink_.removed)
            sink_.removed(row);
    }
}

bool DeviceScanner::Pass() {
    if (list_.AnyUnbound()) {
        if (!probe_.Enumerate())
            return false;
        while (const char* p = probe_.NextPath()) {
            std::string path = p;
            TryClaim(path);
        }
        probe_.FreePathList();
        if (!firstPassReported_) {
            firstPassReported_ = true;
            if (sink_.firstPassDone)
                sink_.firstPassDone();
        }
    }
    CheckLiveness();
    return true;
}

void DeviceScanner::Run(platform::WorkerThread& self) {
    // The stop event was reset when the thread was started.
    while (!self.SleepOrStop(1)) {
        if (!Pass())
            return;  // enumeration failed: no further hot-plug for this run
        self.SleepOrStop(kScanPeriodMs);
    }
    platform::Trace("抓取设备线程设定退出");
}

}  // namespace dravik
