#pragma once
// The hidraw backend: real HID devices through the kernel's hidraw nodes. Every top-level
// collection of a node's report descriptor is one path, ending in the backend id
// "hidraw-<N>-<collection>" (N of hidrawN, collections numbered from 1).
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "hidio/HidBackend.h"
#include "hidio/HidrawSysfs.h"

namespace dravik::hidio {

class HidrawBackend : public HidBackend {
  public:
    // sysRoot: the folder holding sys/class/hidraw; deviceDir: the folder of the hidrawN nodes.
    explicit HidrawBackend(std::filesystem::path sysRoot = "/",
                           std::filesystem::path deviceDir = "/dev");

    bool Owns(const std::string& path) const override;
    // Nodes that cannot be read or whose descriptor is bad are traced and left out; the others
    // are listed. False only when the class folder exists but cannot be read.
    bool Enumerate(std::vector<std::string>& paths) override;
    // Reads the node again and opens it only when the path still names the same collection (a
    // node number can be reused by another device after an unplug).
    std::shared_ptr<HidHandle> Open(const std::string& path, const OpenFlags& flags,
                                    std::string* error) override;

    // The paths of one node's collections, in descriptor order.
    static std::vector<std::string> PathsOf(const HidrawNode& node);

  private:
    std::filesystem::path sysRoot_;
    std::filesystem::path deviceDir_;
};

}  // namespace dravik::hidio
