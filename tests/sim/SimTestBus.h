#pragma once
// A virtual bus made the process's only HID backend for the life of a test, with helpers to plug
// emulated devices and find their collections' paths.
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "hid/HidDevice.h"
#include "hidio/VirtualBus.h"
#include "sim/SimFactory.h"

namespace dravik::test {

class SimTestBus {
  public:
    SimTestBus() { hidio::SetHidBackends({bus}); }
    ~SimTestBus() { hidio::SetHidBackends({}); }
    SimTestBus(const SimTestBus&) = delete;
    SimTestBus& operator=(const SimTestBus&) = delete;

    std::shared_ptr<sim::SimDevice> Plug(const std::string& name,
                                         std::shared_ptr<sim::SimMemory> shared = nullptr) {
        auto device = sim::MakeSimDevice(name, std::move(shared));
        if (device && device->PlugInto(bus) < 0)
            return nullptr;
        return device;
    }

    // Paths of one interface (by index) of a plugged device, in collection order.
    std::vector<std::string> PathsOf(const sim::SimDevice& device, size_t ifaceIndex) const {
        std::vector<std::string> all, out;
        bus->Enumerate(all);
        const std::string tag =
            "#virt-" + std::to_string(device.BusId()) + "-" + std::to_string(ifaceIndex) + "-";
        for (const auto& p : all)
            if (p.find(tag) != std::string::npos)
                out.push_back(p);
        return out;
    }
    // The vendor command collection: the last collection of the command interface.
    std::string CommandPath(const sim::SimDevice& device) const {
        auto paths = PathsOf(device, device.Identity().commandInterface);
        return paths.empty() ? std::string() : paths.back();
    }

    std::shared_ptr<hidio::VirtualBus> bus = std::make_shared<hidio::VirtualBus>();
};

// "04 01 00 …" → bytes (spaces ignored).
inline std::vector<uint8_t> Hex(const std::string& text) {
    std::vector<uint8_t> out;
    std::string digits;
    for (char c : text)
        if (c != ' ')
            digits += c;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}

// A 64-byte report from its leading bytes.
inline std::vector<uint8_t> Report64(const std::string& text) {
    auto bytes = Hex(text);
    bytes.resize(64, 0);
    return bytes;
}

// The command bytes of a request list, in order.
inline std::vector<uint8_t> Commands(const std::vector<std::vector<uint8_t>>& requests) {
    std::vector<uint8_t> out;
    for (const auto& r : requests)
        out.push_back(r[3]);
    return out;
}

}  // namespace dravik::test
