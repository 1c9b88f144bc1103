#pragma once
// The emulated devices of this run: attached to the virtual bus by --demo and by the script's
// plug/unplug actions, their memory loaded from and saved to the --sim-state file.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <json/value.h>

#include "hidio/VirtualBus.h"
#include "sim/SimDevice.h"

namespace dravik {

inline constexpr const char* kDefaultDemoDevices[] = {"mouse", "keyboard", "mousepad", "headset"};

class DemoDevices {
  public:
    explicit DemoDevices(std::shared_ptr<hidio::VirtualBus> bus) : bus_(std::move(bus)) {}

    // Each returns an error text, or nullopt on success.
    // Attaches a device by name. A name that was unplugged earlier comes back with its memory; a
    // receiver reaches the same memory as its cable device.
    std::optional<std::string> Plug(const std::string& name);
    // Detaches the most recently attached device of that name.
    std::optional<std::string> Unplug(const std::string& name);
    // The device raises this input report on its notification interface.
    std::optional<std::string> Notify(const std::string& name, const std::vector<uint8_t>& report);

    bool Load(const std::filesystem::path& file);
    bool Save(const std::filesystem::path& file) const;
    const std::vector<std::shared_ptr<sim::SimDevice>>& Devices() const { return devices_; }

  private:
    std::shared_ptr<sim::SimMemory> MemoryFor(const std::string& name);

    std::shared_ptr<hidio::VirtualBus> bus_;
    std::vector<std::shared_ptr<sim::SimDevice>> devices_;  // every device made, plugged or not
    std::vector<std::shared_ptr<sim::SimDevice>> plugged_;  // in order of attaching
    Json::Value state_;  // the loaded --sim-state, also for devices first attached later
};

// Parses hexadecimal text ("04 01 02", "040102"); nullopt when it is not whole bytes of hex.
std::optional<std::vector<uint8_t>> ParseHexBytes(const std::string& text);

}  // namespace dravik
