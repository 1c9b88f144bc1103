#include "sim/SimDevice.h"

#include <algorithm>
#include <cstring>

namespace dravik::sim {
namespace {

constexpr size_t kReportSize = 64;
constexpr uint8_t kReportId = 0x04;
constexpr size_t kPayloadOffset = 8;
constexpr size_t kPayloadSize = 56;
constexpr uint8_t kStatusOk = 0x00;
constexpr uint8_t kStatusError = 0xFF;
constexpr uint8_t kNoDeviceEcho = 0xAA;
constexpr uint8_t kLedReportId = 0xFF;

uint16_t Checksum(const uint8_t* report) {
    uint32_t sum = 0;
    for (size_t i = 3; i < kReportSize; ++i)
        sum += report[i];
    return static_cast<uint16_t>(sum);
}

void Seal(std::vector<uint8_t>& report) {
    uint16_t sum = Checksum(report.data());
    report[1] = static_cast<uint8_t>(sum & 0xFF);
    report[2] = static_cast<uint8_t>(sum >> 8);
}

}  // namespace

SimDevice::SimDevice(SimIdentity identity, std::shared_ptr<SimMemory> memory)
    : identity_(std::move(identity)), memory_(std::move(memory)) {}

SimDevice::~SimDevice() = default;

hidio::HidAttributes SimDevice::Attributes() const {
    return {identity_.vendorId, identity_.productId, identity_.version};
}

std::vector<hidio::VirtualDevice::Interface> SimDevice::Interfaces() const {
    return identity_.interfaces;
}

int SimDevice::PlugInto(const std::shared_ptr<hidio::VirtualBus>& bus) {
    // The bus keeps the device alive while it is plugged.
    int id = bus->Plug(shared_from_this());
    if (id < 0)
        return -1;
    {
        std::lock_guard lock(m_);
        bus_ = bus;
    }
    busId_ = id;
    return id;
}

bool SimDevice::Unplug() {
    std::shared_ptr<hidio::VirtualBus> bus;
    {
        std::lock_guard lock(m_);
        bus = bus_.lock();
        bus_.reset();
    }
    int id = busId_.exchange(-1);
    return bus && id >= 0 && bus->Unplug(id);
}

bool SimDevice::Notify(uint16_t code) {
    return SendNotification({identity_.notifyReportId, static_cast<uint8_t>(code & 0xFF),
                             static_cast<uint8_t>(code >> 8)});
}

bool SimDevice::SendOn(size_t ifaceIndex, const std::vector<uint8_t>& report) {
    std::shared_ptr<hidio::VirtualBus> bus;
    {
        std::lock_guard lock(m_);
        bus = bus_.lock();
    }
    int id = busId_;
    if (!bus || id < 0 || report.empty())
        return false;
    bus->SendInput(id, ifaceIndex, report);
    return true;
}

bool SimDevice::SendNotification(const std::vector<uint8_t>& report) {
    return SendOn(identity_.notifyInterface, report);
}

bool SimDevice::SendOnCommandInterface(const std::vector<uint8_t>& report) {
    return SendOn(identity_.commandInterface, report);
}

void SimDevice::InjectFault(const Fault& fault) {
    std::lock_guard lock(m_);
    faults_.push_back(fault);
}

void SimDevice::ClearFaults() {
    std::lock_guard lock(m_);
    faults_.clear();
}

std::vector<std::vector<uint8_t>> SimDevice::Requests() const {
    std::lock_guard lock(m_);
    return requests_;
}

size_t SimDevice::RequestCount(uint8_t command) const {
    std::lock_guard lock(m_);
    return static_cast<size_t>(std::count_if(requests_.begin(), requests_.end(),
                                             [&](const auto& r) { return r[3] == command; }));
}

void SimDevice::ClearRequests() {
    std::lock_guard lock(m_);
    requests_.clear();
}

std::optional<Fault> SimDevice::TakeFault(uint8_t command) {
    std::lock_guard lock(m_);
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->command != 0 && it->command != command)
            continue;
        if (it->skip > 0) {
            --it->skip;
            continue;
        }
        Fault hit = *it;
        if (--it->times == 0)
            faults_.erase(it);
        return hit;
    }
    return std::nullopt;
}

void SimDevice::OnOutputReport(hidio::VirtualBus& bus, int deviceId, size_t ifaceIndex,
                               const std::vector<uint8_t>& report) {
    if (ifaceIndex != identity_.commandInterface || report.empty())
        return;
    if (report[0] == kReportId && report.size() >= kReportSize)
        HandleCommand(bus, deviceId, report);
    else if (identity_.ledReports && report[0] == kLedReportId)
        memory_->PushLedReport(report.data(), report.size());
}

void SimDevice::OnSetOutputReport(hidio::VirtualBus& bus, int deviceId, size_t ifaceIndex,
                                  const std::vector<uint8_t>& report) {
    OnOutputReport(bus, deviceId, ifaceIndex, report);
}

void SimDevice::HandleCommand(hidio::VirtualBus& bus, int deviceId,
                              const std::vector<uint8_t>& report) {
    const uint8_t command = report[3];
    const uint8_t length = report[4];
    const uint16_t address = static_cast<uint16_t>(report[5] | report[6] << 8);
    {
        std::lock_guard lock(m_);
        requests_.emplace_back(report.begin(), report.begin() + kReportSize);
    }

    std::vector<uint8_t> answer(kReportSize, 0);
    answer[0] = kReportId;
    answer[3] = command;
    answer[4] = length;
    answer[5] = report[5];
    answer[6] = report[6];
    uint32_t delayMs = 0;

    std::optional<Fault> fault = TakeFault(command);
    if (fault && fault->kind == Fault::Kind::Disconnect) {
        busId_ = -1;
        {
            std::lock_guard lock(m_);
            bus_.reset();
        }
        bus.Unplug(deviceId);
        return;
    }
    if (fault && fault->kind == Fault::Kind::NoAnswer)
        return;

    if (identity_.receiver && !awake_) {
        // The receiver answers for its sleeping device: "no device" on every command; the link
        // query echoes normally with its link byte clear.
        answer[3] = kNoDeviceEcho;
    } else if (fault && fault->kind == Fault::Kind::Status) {
        answer[7] = fault->value;
    } else if (fault && fault->kind == Fault::Kind::ReceiverNoDevice) {
        answer[3] = kNoDeviceEcho;
    } else if (Checksum(report.data()) != static_cast<uint16_t>(report[1] | report[2] << 8)) {
        answer[7] = kStatusError;  // a damaged request is refused
    } else {
        answer[7] = Execute(command, length, address, report.data() + kPayloadOffset,
                            answer.data() + kPayloadOffset);
        if (fault && fault->kind == Fault::Kind::WrongEcho)
            answer[3] = fault->value;
        if (fault && fault->kind == Fault::Kind::Delay)
            delayMs = fault->delayMs;
    }
    Seal(answer);
    bus.SendInput(deviceId, identity_.commandInterface, answer, delayMs);
}

uint8_t SimDevice::Execute(uint8_t command, uint8_t length, uint16_t address,
                           const uint8_t* payload, uint8_t* answerPayload) {
    auto read = [&](Area area, size_t at) {
        if (length > kPayloadSize || !memory_->Read(area, at, answerPayload, length))
            return kStatusError;
        return kStatusOk;
    };
    auto write = [&](Area area, size_t at) {
        if (length > kPayloadSize || !memory_->Write(area, at, payload, length))
            return kStatusError;
        return kStatusOk;
    };
    switch (command) {
        case 0x01:
            session_ = true;
            return kStatusOk;
        case 0x02:
            session_ = false;
            return kStatusOk;
        case 0x03:
            return read(Area::Info, address);
        case 0x04:
            return write(Area::Info, address);
        case 0x05:
            return read(Area::Profile, address);
        case 0x06:
            return write(Area::Profile, address);
        case 0x07:
            return read(Area::Image, address);
        case 0x09:
            return write(Area::Image, address);
        case 0x0A:
            return read(Area::Banks, address);
        case 0x0B:
            return write(Area::Banks, address);
        case 0x12:
            return write(Area::Frame, address);
        case 0x15:
            return write(Area::Macro, address);
        case 0x17:
            return write(Area::Shoot, address);
        case 0x1A:
            return read(Area::Power, address);
        case 0x1B:
            return read(Area::Aux, address);
        case 0x1C:
            ++resumed_;
            return kStatusOk;
        case 0xAA:
            answerPayload[0] = 0xFF;  // the device answers: the link is up
            return kStatusOk;
        default:
            return kStatusError;
    }
}

}  // namespace dravik::sim
