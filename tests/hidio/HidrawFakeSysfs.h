#pragma once
// A sysfs tree laid out in a temporary folder the way the kernel lays it out: USB device and
// interface folders with their attributes, hid device folders below the interfaces, the
// hidraw/hidrawN folder with its relative "device" link, and the relative class link
// sys/class/hidraw/hidrawN. Device nodes are regular files in a dev folder beside it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace dravik::test {

class FakeSysfs {
  public:
    FakeSysfs() {
        std::filesystem::create_directories(Root() / "sys/class/hidraw");
        std::filesystem::create_directories(Root() / "sys/devices/pci0000:00/0000:00:14.0");
        std::filesystem::create_directories(Dev());
    }

    std::filesystem::path Root() const { return dir_ / "root"; }
    std::filesystem::path Dev() const { return dir_ / "dev"; }

    // A USB device folder (bNumInterfaces printed as the kernel does, "%2d"); bcd may be empty to
    // leave bcdDevice out.
    std::filesystem::path UsbDevice(const std::string& name, int numInterfaces,
                                    const std::string& bcd) {
        auto dir = Root() / "sys/devices/pci0000:00/0000:00:14.0/usb1" / name;
        std::filesystem::create_directories(dir);
        char count[8];
        std::snprintf(count, sizeof count, "%2d\n", numInterfaces);
        Write(dir / "bNumInterfaces", count);
        if (!bcd.empty())
            Write(dir / "bcdDevice", bcd + "\n");
        return dir;
    }

    // An interface folder of a USB device, bInterfaceNumber printed as "%02x".
    std::filesystem::path Interface(const std::filesystem::path& usbDevice, int number) {
        auto dir = usbDevice / (usbDevice.filename().string() + ":1." + std::to_string(number));
        std::filesystem::create_directories(dir);
        char text[8];
        std::snprintf(text, sizeof text, "%02x\n", number);
        Write(dir / "bInterfaceNumber", text);
        return dir;
    }

    // A hid device below parent with node hidrawN. uevent is written as given (so tests can
    // break it); a null descriptor leaves report_descriptor out.
    void Node(int n, const std::filesystem::path& parent, const std::string& uevent,
              const std::vector<uint8_t>* descriptor, bool deviceNode = true) {
        auto hidDir = parent / ("0003:XXXX:YYYY." + std::to_string(1000 + n));
        auto nodeDir = hidDir / "hidraw" / ("hidraw" + std::to_string(n));
        std::filesystem::create_directories(nodeDir);
        Write(hidDir / "uevent", uevent);
        if (descriptor)
            Write(hidDir / "report_descriptor",
                  std::string(descriptor->begin(), descriptor->end()));
        std::filesystem::create_directory_symlink("../../../" + hidDir.filename().string(),
                                                  nodeDir / "device");
        auto classLink = Root() / "sys/class/hidraw" / ("hidraw" + std::to_string(n));
        std::filesystem::create_directory_symlink(
            std::filesystem::relative(nodeDir, classLink.parent_path()), classLink);
        if (deviceNode)
            Write(Dev() / ("hidraw" + std::to_string(n)), "");
    }

    static std::string Uevent(const std::string& hidId) {
        return "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=Test\nHID_UNIQ=\n";
    }

    static void Write(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }

  private:
    TempDir dir_;
};

}  // namespace dravik::test
