#pragma once
// The emulated devices by name, with their identities, interfaces and factory memory.
//   "mouse"              320f:226e, command mi_01 col02, notifications mi_00 col03
//   "mouse-receiver"     320f:226f, the same layout, reaching the mouse through 2.4 GHz
//   "keyboard"           320f:0000, command mi_01 col04, notifications mi_00 col03
//   "keyboard-receiver"  320f:0000, the same layout, reaching the keyboard through 2.4 GHz
//   "mousepad"           320f:1004, command mi_01 col04, notifications mi_00 col03
//   "headset"            0c76:1630, mi_03, one collection (consumer 0x000C/0x01) carrying the
//                        command reports, the LED output reports and the notifications
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "sim/SimDevice.h"

namespace dravik::sim {

// The device names MakeSimDevice knows, in the order above.
const std::vector<std::string>& SimDeviceNames();

// A new device with factory memory; null for an unknown name. A receiver made with the memory of
// a cable device (shared) reaches that same device: what is written one way reads back the other.
std::shared_ptr<SimDevice> MakeSimDevice(const std::string& name,
                                         std::shared_ptr<SimMemory> shared = nullptr);

// Factory memory of a device name (a receiver has the memory of its device).
std::shared_ptr<SimMemory> MakeFactoryMemory(const std::string& name);

// The --sim-state document: {"devices":[{"kind":K,"vid":N,"pid":N,"areas":{NAME:HEX,…}},…]}.
Json::Value SimStateToJson(const std::vector<std::shared_ptr<SimDevice>>& devices);
// Loads each entry into the device of the same kind (and vid/pid), the n-th entry of a kind into
// the n-th device of that kind. False when the document is not of this shape; entries without a
// device are skipped.
bool ApplySimState(const Json::Value& state,
                   const std::vector<std::shared_ptr<SimDevice>>& devices);
bool LoadSimState(const std::filesystem::path& file,
                  const std::vector<std::shared_ptr<SimDevice>>& devices);
bool SaveSimState(const std::filesystem::path& file,
                  const std::vector<std::shared_ptr<SimDevice>>& devices);

}  // namespace dravik::sim
