#pragma once
// An emulated device on the virtual bus: the firmware side of the vendor protocol. It answers
// every 64-byte command report on its command collection from its memory areas, raises
// notification reports on its notification collection, keeps the headset's LED output reports,
// and can be told to misbehave (faults) so that the host side's error paths can be exercised.
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hidio/VirtualBus.h"
#include "sim/SimMemory.h"

namespace dravik::sim {

struct SimIdentity {
    std::string kind;  // "mouse", "mouse-receiver", "keyboard", … (the names of MakeSimDevice)
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
    std::vector<hidio::VirtualDevice::Interface> interfaces;
    size_t commandInterface = 0;  // index into interfaces
    size_t notifyInterface = 0;   // index into interfaces
    uint8_t notifyReportId = 0;
    bool receiver = false;    // a 2.4 GHz receiver: its device can be asleep
    bool ledReports = false;  // the headset: report ID 0xFF output reports are LED values
};

// One injected misbehaviour. It hits requests whose command byte matches (0: any command): the
// first `skip` matching requests pass, then `times` of them are hit.
struct Fault {
    enum class Kind {
        NoAnswer,          // the request is taken but never answered
        WrongEcho,         // handled, but the answer carries another command byte (`value`)
        Status,            // not handled; answered with status `value` (0xFF or 0xFE)
        Delay,             // handled; the answer arrives `delayMs` later
        Disconnect,        // the device leaves the bus without answering
        ReceiverNoDevice,  // answered with command byte 0xAA (the receiver's "no device")
    };
    Kind kind = Kind::NoAnswer;
    uint8_t command = 0;
    uint32_t skip = 0;
    uint32_t times = 1;
    uint8_t value = 0;
    uint32_t delayMs = 0;
};

// Always owned by a std::shared_ptr (MakeSimDevice makes them so).
class SimDevice : public hidio::VirtualDevice, public std::enable_shared_from_this<SimDevice> {
  public:
    SimDevice(SimIdentity identity, std::shared_ptr<SimMemory> memory);
    ~SimDevice() override;

    const std::string& Kind() const { return identity_.kind; }
    const SimIdentity& Identity() const { return identity_; }
    std::shared_ptr<SimMemory> Memory() const { return memory_; }

    // Puts the device on a bus and remembers where (for notifications and disconnects).
    // Returns the bus id, -1 on failure.
    int PlugInto(const std::shared_ptr<hidio::VirtualBus>& bus);
    // Takes it off the bus it was plugged into; false when it was not on one.
    bool Unplug();
    int BusId() const { return busId_.load(); }

    // A receiver's device: asleep or out of range, the receiver answers 0xAA.
    void SetDeviceAwake(bool awake) { awake_ = awake; }
    bool DeviceAwake() const { return awake_.load(); }
    bool SessionOpen() const { return session_.load(); }
    int LightControlResumed() const { return resumed_.load(); }

    // Input reports on the notification collection: the event code (low byte first) or any
    // report as given (report ID first). False when the device is not on a bus.
    bool Notify(uint16_t code);
    bool SendNotification(const std::vector<uint8_t>& report);
    // An unsolicited report on the command collection (a stale answer, say).
    bool SendOnCommandInterface(const std::vector<uint8_t>& report);

    void InjectFault(const Fault& fault);
    void ClearFaults();

    // Every command report received, in order (as written, 64 bytes).
    std::vector<std::vector<uint8_t>> Requests() const;
    size_t RequestCount(uint8_t command) const;
    void ClearRequests();

    // VirtualDevice
    hidio::HidAttributes Attributes() const override;
    std::vector<Interface> Interfaces() const override;
    void OnOutputReport(hidio::VirtualBus& bus, int deviceId, size_t ifaceIndex,
                        const std::vector<uint8_t>& report) override;
    void OnSetOutputReport(hidio::VirtualBus& bus, int deviceId, size_t ifaceIndex,
                           const std::vector<uint8_t>& report) override;

  private:
    // Raises an input report on one of the device's interfaces; false when not on a bus.
    bool SendOn(size_t ifaceIndex, const std::vector<uint8_t>& report);
    void HandleCommand(hidio::VirtualBus& bus, int deviceId, const std::vector<uint8_t>& report);
    // The fault that hits this request, if any (consumes one of its hits).
    std::optional<Fault> TakeFault(uint8_t command);
    // Runs the command against memory; returns the answer's status and fills its payload.
    uint8_t Execute(uint8_t command, uint8_t length, uint16_t address, const uint8_t* payload,
                    uint8_t* answerPayload);

    const SimIdentity identity_;
    const std::shared_ptr<SimMemory> memory_;
    std::atomic<bool> awake_{true};
    std::atomic<bool> session_{false};
    std::atomic<int> resumed_{0};
    std::atomic<int> busId_{-1};

    mutable std::mutex m_;
    std::weak_ptr<hidio::VirtualBus> bus_;
    std::deque<Fault> faults_;
    std::vector<std::vector<uint8_t>> requests_;
};

}  // namespace dravik::sim
