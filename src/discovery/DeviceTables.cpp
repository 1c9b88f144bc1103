#include "discovery/DeviceTables.h"

#include "hidio/HidBackend.h"

namespace dravik {

uint16_t CableKindOf(uint16_t kind) {
    if (kind == kKindMouseReceiver)
        return kKindMouse;
    if (kind == kKindKeyboardReceiver)
        return kKindKeyboard;
    return kind;
}

bool IsReceiverKind(uint16_t kind) {
    return kind == kKindMouseReceiver || kind == kKindKeyboardReceiver;
}

bool DeviceEntry::SameIdentity(const DeviceEntry& o) const {
    return vendorId == o.vendorId && productId == o.productId &&
           interfaceNumber == o.interfaceNumber && collectionNumber == o.collectionNumber &&
           kind == o.kind && role == o.role && usagePage == o.usagePage && usage == o.usage;
}

bool DeviceEntry::SameInterface(const DeviceEntry& o) const {
    return vendorId == o.vendorId && productId == o.productId &&
           collectionNumber == o.collectionNumber && interfaceNumber == o.interfaceNumber &&
           usagePage == o.usagePage && usage == o.usage;
}

const std::vector<DeviceEntry>& SupportedDevices() {
    // vendor, product, interface, collection, kind, role, active, usage page, usage, has
    // partner, partner row
    static const std::vector<DeviceEntry> table = {
        {0x320F, 0x0000, 1, 4, 1, 0, 0, 0xFF1C, 0x92, 1, 2, {}},
        {0x320F, 0x0000, 0, 3, 1, 255, 0, 0x000C, 0x01, 1, 3, {}},
        {0x320F, 0x0000, 1, 4, 9, 0, 0, 0xFF1C, 0x92, 1, 0, {}},
        {0x320F, 0x0000, 0, 3, 9, 255, 0, 0x000C, 0x01, 1, 1, {}},
        {0x320F, 0x226E, 1, 2, 2, 0, 0, 0xFF1C, 0x92, 1, 6, {}},
        {0x320F, 0x226E, 0, 3, 2, 255, 0, 0x000C, 0x01, 1, 7, {}},
        {0x320F, 0x226F, 1, 2, 6, 0, 0, 0xFF1C, 0x92, 1, 4, {}},
        {0x320F, 0x226F, 0, 3, 6, 255, 0, 0x000C, 0x01, 1, 5, {}},
        {0x320F, 0x1004, 1, 4, 3, 0, 0, 0xFF1C, 0x92, 0, 0, {}},
        {0x320F, 0x1004, 0, 3, 3, 255, 0, 0x000C, 0x01, 0, 0, {}},
        {0x0C76, 0x1630, 3, 0, 7, 0, 0, 0x000C, 0x01, 0, 0, {}},
    };
    return table;
}

const std::vector<DeviceOptionRow>& DeviceOptions() {
    static const char* kTab = "XML\\CustomControlXML\\DeviceOption.xml";
    static const std::vector<DeviceOptionRow> table = {
        {kTab, "tab_header_device", "device_power_switch", "mouse", 1, 0x320F, 0x226E, 2, 0},
        {kTab, "tab_header_device", "device_power_switch", "keyboard", 0, 0x320F, 0x0000, 1, 0},
        {kTab, "tab_header_device", "device_power_switch", "MousePad", 2, 0x320F, 0x1004, 3, 0},
        {kTab, "tab_header_device", "device_power_switch", "HD", 3, 0x0C76, 0x1630, 7, 0},
    };
    return table;
}

const std::vector<DevicePageRow>& DevicePages() {
    static const std::vector<DevicePageRow> table = {
        {15, 11, 1, -1, "XML\\DeviceXml\\mousedevice.xml", "kelvo_light"},
        {170, 170, 0, -1, "XML\\DeviceXml\\keyboarddevice.xml", "kelvo_light"},
        {15, 0, 0, -1, "XML\\DeviceXml\\mousepaddevice.xml", "kelvo_light"},
        {13, 0, 0, -1, "XML\\DeviceXml\\hs6533device.xml", "kelvo_light"},
    };
    return table;
}

PathIdentity ParseDevicePath(const std::string& path) {
    PathIdentity id;
    id.vendorId = static_cast<uint16_t>(hidio::HexNumberAfter(path, "vid_"));
    id.productId = static_cast<uint16_t>(hidio::HexNumberAfter(path, "pid_"));
    id.interfaceNumber = static_cast<uint16_t>(hidio::HexNumberAfter(path, "&mi_"));
    id.collectionNumber = static_cast<uint16_t>(hidio::HexNumberAfter(path, "&col"));
    return id;
}

void DeviceList::Reset() {
    std::lock_guard lock(m_);
    entries_ = SupportedDevices();
}

size_t DeviceList::Size() const {
    std::lock_guard lock(m_);
    return entries_.size();
}

DeviceEntry DeviceList::Entry(size_t row) const {
    std::lock_guard lock(m_);
    return row < entries_.size() ? entries_[row] : DeviceEntry{};
}

std::vector<DeviceEntry> DeviceList::Snapshot() const {
    std::lock_guard lock(m_);
    return entries_;
}

bool DeviceList::AnyUnbound() const {
    std::lock_guard lock(m_);
    for (const auto& e : entries_)
        if (!e.Bound())
            return true;
    return false;
}

bool DeviceList::HasUnboundCandidate(const PathIdentity& id) const {
    std::lock_guard lock(m_);
    for (const auto& e : entries_)
        if (!e.Bound() && e.vendorId == id.vendorId && e.productId == id.productId &&
            e.collectionNumber == id.collectionNumber && e.interfaceNumber == id.interfaceNumber)
            return true;
    return false;
}

bool DeviceList::PathBound(const std::string& path) const {
    std::lock_guard lock(m_);
    for (const auto& e : entries_)
        if (e.path == path)
            return true;
    return false;
}

int DeviceList::Claim(const DeviceEntry& tableRow, const std::string& path) {
    std::lock_guard lock(m_);
    for (size_t r = 0; r < entries_.size(); ++r) {
        DeviceEntry& e = entries_[r];
        if (!e.Bound() && e.SameInterface(tableRow)) {
            e.active = 1;
            e.path = path;
            return static_cast<int>(r);
        }
    }
    return -1;
}

void DeviceList::Release(size_t row) {
    std::lock_guard lock(m_);
    if (row < entries_.size()) {
        entries_[row].active = 0;
        entries_[row].path.clear();
    }
}

std::vector<std::pair<int, std::string>> DeviceList::BoundPaths() const {
    std::lock_guard lock(m_);
    std::vector<std::pair<int, std::string>> out;
    for (size_t r = 0; r < entries_.size(); ++r)
        if (entries_[r].active)
            out.emplace_back(static_cast<int>(r), entries_[r].path);
    return out;
}

void DeviceList::SetForTest(size_t row, const DeviceEntry& e) {
    std::lock_guard lock(m_);
    if (row < entries_.size())
        entries_[row] = e;
}

}  // namespace dravik
