#pragma once
// What sysfs tells about hidraw nodes: the node list of /sys/class/hidraw, and for one node its
// HID_ID, the USB interface it sits on, the USB device's release number and its parsed report
// descriptor. The sysfs root is a parameter so that tests can lay out a tree of their own.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "hidio/ReportDescriptor.h"

namespace dravik::hidio {

struct HidrawNode {
    int number = -1;        // N of hidrawN
    uint16_t bus = 0;       // BUS_USB (3), BUS_BLUETOOTH (5) …
    uint16_t vendorId = 0;  // from HID_ID
    uint16_t productId = 0;
    uint16_t version = 0;       // the USB device's bcdDevice; 0 when there is no USB device above
    int interfaceNumber = -1;   // bInterfaceNumber of the USB interface; -1 when unknown
    int usbInterfaceCount = 0;  // bNumInterfaces of the USB device; 0 when unknown
    std::vector<uint8_t> descriptor;
    ParsedDescriptor parsed;
    // True when any report of the descriptor carries a report ID. The kernel then delivers the ID
    // as the first byte of every input report; otherwise reports arrive without it.
    bool usesReportIds = false;

    // Composite as the path format means it: the USB device has more than one interface, so the
    // host addresses the HID interface by its number ("&mi_"). A device with a single interface,
    // or one not on USB at all, is not composite.
    bool IsComposite() const { return usbInterfaceCount > 1 && interfaceNumber >= 0; }
};

// The numbers N of every hidrawN under root/sys/class/hidraw, ascending. A missing class folder
// (no hidraw driver loaded, no HID devices) is an empty list; an unreadable one is nullopt.
std::optional<std::vector<int>> ListHidrawNodes(const std::filesystem::path& root,
                                                std::string* error = nullptr);

// Reads and checks one node. nullopt with a reason in error when the node is gone, its HID_ID
// is missing or malformed, or its report descriptor is unreadable or does not parse.
std::optional<HidrawNode> ReadHidrawNode(const std::filesystem::path& root, int number,
                                         std::string* error = nullptr);

}  // namespace dravik::hidio
