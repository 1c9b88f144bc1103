#include "app/DemoDevices.h"

#include <algorithm>
#include <cctype>

#include "platform/JsonFile.h"
#include "sim/SimFactory.h"

namespace dravik {
namespace {

// A receiver's device is its cable device: both names share one memory.
std::string Family(const std::string& name) {
    const std::string suffix = "-receiver";
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        return name.substr(0, name.size() - suffix.size());
    return name;
}

}  // namespace

std::shared_ptr<sim::SimMemory> DemoDevices::MemoryFor(const std::string& name) {
    for (const auto& d : devices_)
        if (Family(d->Kind()) == Family(name))
            return d->Memory();
    return nullptr;
}

std::optional<std::string> DemoDevices::Plug(const std::string& name) {
    const auto& names = sim::SimDeviceNames();
    if (std::find(names.begin(), names.end(), name) == names.end())
        return "unknown device " + name;
    // One that was unplugged comes back as it was.
    for (const auto& d : devices_) {
        if (d->Kind() != name || std::find(plugged_.begin(), plugged_.end(), d) != plugged_.end())
            continue;
        if (d->PlugInto(bus_) < 0)
            return "cannot attach " + name;
        plugged_.push_back(d);
        return std::nullopt;
    }
    // A further device of a kind already attached is a second physical device with its own
    // memory; a receiver shares the memory of its cable device.
    bool sameKindAttached = std::any_of(plugged_.begin(), plugged_.end(),
                                        [&](const auto& d) { return d->Kind() == name; });
    auto shared = sameKindAttached ? nullptr : MemoryFor(name);
    auto device = sim::MakeSimDevice(name, shared);
    if (!device)
        return "cannot attach " + name;
    // The first device of a kind takes its memory from the loaded state.
    bool firstOfKind = std::none_of(devices_.begin(), devices_.end(),
                                    [&](const auto& d) { return d->Kind() == name; });
    if (firstOfKind && !shared && !state_.isNull())
        sim::ApplySimState(state_, {device});
    if (device->PlugInto(bus_) < 0)
        return "cannot attach " + name;
    devices_.push_back(device);
    plugged_.push_back(device);
    return std::nullopt;
}

std::optional<std::string> DemoDevices::Unplug(const std::string& name) {
    for (auto it = plugged_.rbegin(); it != plugged_.rend(); ++it) {
        if ((*it)->Kind() != name)
            continue;
        (*it)->Unplug();
        plugged_.erase(std::next(it).base());
        return std::nullopt;
    }
    return "no attached device " + name;
}

std::optional<std::string> DemoDevices::Notify(const std::string& name,
                                               const std::vector<uint8_t>& report) {
    for (auto it = plugged_.rbegin(); it != plugged_.rend(); ++it)
        if ((*it)->Kind() == name)
            return (*it)->SendNotification(report) ? std::nullopt
                                                   : std::optional<std::string>("not delivered");
    return "no attached device " + name;
}

bool DemoDevices::Load(const std::filesystem::path& file) {
    Json::Value state = platform::ReadJsonFile(file);
    if (!sim::ApplySimState(state, devices_))
        return false;
    state_ = state;
    return true;
}

bool DemoDevices::Save(const std::filesystem::path& file) const {
    return sim::SaveSimState(file, devices_);
}

std::optional<std::vector<uint8_t>> ParseHexBytes(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)))
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        digits += c;
    }
    if (digits.empty() || digits.size() % 2)
        return std::nullopt;
    std::vector<uint8_t> out;
    for (size_t i = 0; i < digits.size(); i += 2)
        out.push_back(static_cast<uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    return out;
}

}  // namespace dravik
