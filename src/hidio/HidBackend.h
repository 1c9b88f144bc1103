#pragma once
// One interface over the ways the program reaches HID devices: the hidraw backend (real devices)
// and the virtual bus (emulated devices). Each present top-level collection is one path:
//   \\?\hid#vid_320f&pid_226e&mi_01&col02#<backend id>
// ("&mi_" only for composite devices, "&col" only when the interface has several top-level
// collections, numbered from 1 in descriptor order).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hidio/ReportDescriptor.h"

namespace dravik::hidio {

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
};

// What the host knows of one opened collection.
struct HidCollectionInfo {
    HidAttributes attributes;
    TopLevelCollection collection;
};

enum class IoResult { Ok, Timeout, Aborted, Error };

// An opened collection. Reads deliver only this collection's input reports, report-ID byte
// first (0 when the device uses no report IDs); writes take the report-ID byte first.
class HidHandle {
  public:
    virtual ~HidHandle() = default;
    virtual const HidCollectionInfo& Info() const = 0;
    // timeoutMs = platform::kInfinite waits until a report arrives or Abort() is called.
    virtual IoResult Read(uint8_t* buffer, size_t length, size_t* bytesRead,
                          uint32_t timeoutMs) = 0;
    virtual IoResult Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                           uint32_t timeoutMs) = 0;
    // Abandons a pending Read or Write; when none is pending the next one returns Aborted at once
    // (an auto-reset signal, consumed by the call that sees it).
    virtual void Abort() = 0;
    // Discards queued input reports of this handle.
    virtual void Flush() = 0;
    // Sends an output report on the control pipe (no time-out, no abort).
    virtual bool SetOutputReport(const uint8_t* buffer, size_t length) = 0;
};

struct OpenFlags {
    bool read = true;
    bool write = true;
    bool shareReadOnly = false;
};

class HidBackend {
  public:
    virtual ~HidBackend() = default;
    // True when path names one of this backend's collections (by its backend id suffix).
    virtual bool Owns(const std::string& path) const = 0;
    // Appends the paths of every present collection; false on failure.
    virtual bool Enumerate(std::vector<std::string>& paths) = 0;
    // Opens a collection; null when it is gone, access is refused or its descriptor is bad.
    virtual std::shared_ptr<HidHandle> Open(const std::string& path, const OpenFlags& flags,
                                            std::string* error) = 0;
};

// The backends the process enumerates and opens through, in order.
std::vector<std::shared_ptr<HidBackend>> ActiveHidBackends();
void SetHidBackends(std::vector<std::shared_ptr<HidBackend>> backends);

// Builds the path of one collection. interfaceNumber < 0: not composite; collectionCount <= 1:
// no "&col".
std::string MakeHidPath(uint16_t vendorId, uint16_t productId, int interfaceNumber,
                        int collectionIndex, int collectionCount, const std::string& backendId);
// The hexadecimal number after marker (case-insensitive), 0 when the marker is absent.
uint32_t HexNumberAfter(const std::string& path, const std::string& marker);

}  // namespace dravik::hidio
