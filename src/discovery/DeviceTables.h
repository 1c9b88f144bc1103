#pragma once
// The devices the program supports and how it shows them: the supported-device table (USB
// identities to device kinds and interface roles), the device-option table (one tab per page
// kind) and the device-page table (one page layout per page kind), and the device list, the
// working copy of the supported-device table that the device-scan thread binds interfaces to.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace dravik {

enum DeviceKind : uint16_t {
    kKindKeyboard = 1,
    kKindMouse = 2,
    kKindMousePad = 3,
    kKindMouseReceiver = 6,
    kKindHeadset = 7,
    kKindKeyboardReceiver = 9,
};
inline constexpr uint16_t kRoleCommand = 0;
inline constexpr uint16_t kRoleNotification = 255;

// The cable kind of a receiver kind (6 → 2, 9 → 1); other kinds stay as they are.
uint16_t CableKindOf(uint16_t kind);
bool IsReceiverKind(uint16_t kind);

struct DeviceEntry {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;
    uint16_t collectionNumber = 0;
    uint16_t kind = 0;
    uint16_t role = 0;
    uint16_t active = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t hasPartner = 0;
    uint16_t partnerRow = 0;
    std::string path;

    bool Bound() const { return active != 0 || !path.empty(); }
    // Vendor, product, interface, collection, kind, role, usage page and usage all equal.
    bool SameIdentity(const DeviceEntry& o) const;
    // Vendor, product, collection, interface, usage page and usage equal (kind and role aside).
    bool SameInterface(const DeviceEntry& o) const;
};

// The eleven rows, in table order.
const std::vector<DeviceEntry>& SupportedDevices();

struct DeviceOptionRow {
    const char* tabLayout;
    const char* tabGroup;
    const char* powerSwitchLayout;
    const char* kindName;
    int32_t modelIndex;
    int32_t vendorId;
    int32_t productId;
    int32_t kind;
    int32_t variant;
};
const std::vector<DeviceOptionRow>& DeviceOptions();

struct DevicePageRow {
    int32_t lightCount;
    int32_t keyCount;
    int32_t hasPowerPanel;
    int32_t extra;
    const char* pageLayout;
    const char* lightLibrary;
};
const std::vector<DevicePageRow>& DevicePages();

inline constexpr const char* kPowerPanelLayout = "XML\\CustomControlXML\\MpDevicePower.xml";

// What a device path says of its interface: "vid_", "pid_", "&mi_" and "&col" as hexadecimal
// numbers (case-insensitive), 0 when absent.
struct PathIdentity {
    uint16_t vendorId = 0, productId = 0, interfaceNumber = 0, collectionNumber = 0;
};
PathIdentity ParseDevicePath(const std::string& path);

// The device list. The scan thread claims and releases entries; the UI thread reads them (each
// change is handed over by a synchronous message, but reads take the lock all the same).
class DeviceList {
  public:
    DeviceList() = default;
    // Replaces the list with a fresh copy of the supported-device table.
    void Reset();
    size_t Size() const;
    DeviceEntry Entry(size_t row) const;  // an empty entry for a row past the end
    std::vector<DeviceEntry> Snapshot() const;

    bool AnyUnbound() const;
    // Some entry unbound with these vendor, product, collection and interface values.
    bool HasUnboundCandidate(const PathIdentity& id) const;
    // Whether an entry is already bound to this path.
    bool PathBound(const std::string& path) const;
    // Binds the first unbound entry equal to the table row's interface values to path; the row
    // index, or -1 when none is free.
    int Claim(const DeviceEntry& tableRow, const std::string& path);
    void Release(size_t row);
    std::vector<std::pair<int, std::string>> BoundPaths() const;

    // Tests: set an entry as the scan thread would.
    void SetForTest(size_t row, const DeviceEntry& e);

  private:
    mutable std::mutex m_;
    std::vector<DeviceEntry> entries_;
};

}  // namespace dravik
