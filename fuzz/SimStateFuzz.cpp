#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/JsonFile.h"
#include "sim/SimFactory.h"

// The --sim-state document comes from a file the user names: loading any text onto the emulated
// devices must be safe, and what loads must save again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto devices = [] {
        std::vector<std::shared_ptr<dravik::sim::SimDevice>> all;
        for (const auto& name : dravik::sim::SimDeviceNames())
            all.push_back(dravik::sim::MakeSimDevice(name));
        return all;
    }();
    Json::Value state =
        dravik::platform::ParseJsonText(std::string(reinterpret_cast<const char*>(data), size));
    if (dravik::sim::ApplySimState(state, devices)) {
        Json::Value saved = dravik::sim::SimStateToJson(devices);
        if (!saved["devices"].isArray()) __builtin_trap();
    }
    return 0;
}
