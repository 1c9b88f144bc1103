#pragma once
// The virtual HID bus: an in-process bus on which emulated devices appear and disappear with the
// same paths, attributes, capabilities, time-outs, abort, per-collection report filtering and
// flush as devices reached through hidraw.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hidio/HidBackend.h"

namespace dravik::hidio {

class VirtualBus;

// The firmware side of an emulated device, as the bus sees it.
class VirtualDevice {
  public:
    struct Interface {
        int number = -1;  // USB interface number; -1 for a device that is not composite
        std::vector<uint8_t> reportDescriptor;
    };
    virtual ~VirtualDevice() = default;
    virtual HidAttributes Attributes() const = 0;
    virtual std::vector<Interface> Interfaces() const = 0;
    // The host wrote an output report (report-ID byte first) on interface index ifaceIndex (the
    // position in Interfaces()). Called on the writer's thread with no bus lock held; the device
    // answers with VirtualBus::SendInput.
    virtual void OnOutputReport(VirtualBus& bus, int deviceId, size_t ifaceIndex,
                                const std::vector<uint8_t>& report) = 0;
    // The host sent an output report on the control pipe; by default handled like a write.
    virtual void OnSetOutputReport(VirtualBus& bus, int deviceId, size_t ifaceIndex,
                                   const std::vector<uint8_t>& report) {
        OnOutputReport(bus, deviceId, ifaceIndex, report);
    }
};

class VirtualBus : public HidBackend, public std::enable_shared_from_this<VirtualBus> {
  public:
    VirtualBus();
    ~VirtualBus() override;

    // Attaches a device; returns its bus id, or -1 when one of its descriptors does not parse.
    int Plug(std::shared_ptr<VirtualDevice> device, std::string* error = nullptr);
    // Detaches a device: its paths vanish and every open handle fails from now on.
    bool Unplug(int deviceId);
    std::vector<int> DeviceIds() const;
    std::shared_ptr<VirtualDevice> Device(int deviceId) const;

    // Device to host: queues an input report (report-ID byte first) for every open handle of the
    // collection that owns its report ID, ready after delayMs (plus the timing model's 1 ms).
    void SendInput(int deviceId, size_t ifaceIndex, const std::vector<uint8_t>& report,
                   uint32_t delayMs = 0);

    // The bus timing model: 1 ms per report in each direction, as a full-speed interrupt endpoint.
    void SetTimingModel(bool on);
    // Number of output reports written (host to device) since the bus was made.
    uint64_t ReportsWritten() const;

    bool Owns(const std::string& path) const override;
    bool Enumerate(std::vector<std::string>& paths) override;
    std::shared_ptr<HidHandle> Open(const std::string& path, const OpenFlags& flags,
                                    std::string* error) override;

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace dravik::hidio
