#include "hidio/VirtualBus.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "platform/Event.h"

namespace dravik::hidio {
namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kQueueLimit = 64;  // as the kernel's per-reader hidraw buffer

struct Collection {
    std::string path;
    size_t ifaceIndex = 0;
    TopLevelCollection info;
};

struct PluggedDevice {
    std::shared_ptr<VirtualDevice> device;
    HidAttributes attributes;
    std::vector<Collection> collections;
};

class VirtualHandle;

}  // namespace

struct VirtualBus::State {
    std::mutex m;
    int nextId = 1;
    std::map<int, PluggedDevice> devices;
    std::vector<VirtualHandle*> handles;
    bool timing = false;
    uint64_t written = 0;
};

namespace {

class VirtualHandle : public HidHandle {
  public:
    VirtualHandle(std::shared_ptr<VirtualBus> bus, std::shared_ptr<VirtualBus::State> state,
                  int deviceId, const Collection& c, HidAttributes attributes)
        : bus_(std::move(bus)),
          state_(std::move(state)),
          deviceId_(deviceId),
          ifaceIndex_(c.ifaceIndex) {
        info_.attributes = attributes;
        info_.collection = c.info;
    }
    ~VirtualHandle() override {
        std::lock_guard lock(state_->m);
        auto& hs = state_->handles;
        hs.erase(std::remove(hs.begin(), hs.end(), this), hs.end());
    }

    const HidCollectionInfo& Info() const override { return info_; }

    IoResult Read(uint8_t* buffer, size_t length, size_t* bytesRead, uint32_t timeoutMs) override {
        if (bytesRead)
            *bytesRead = 0;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        std::unique_lock lock(state_->m);
        for (;;) {
            if (aborted_) {
                aborted_ = false;
                return IoResult::Aborted;
            }
            if (gone_)
                return IoResult::Error;
            auto now = Clock::now();
            if (!queue_.empty() && queue_.front().readyAt <= now) {
                const auto& r = queue_.front().bytes;
                size_t n = std::min(length, r.size());
                std::copy_n(r.begin(), n, buffer);
                queue_.pop_front();
                if (bytesRead)
                    *bytesRead = n;
                return IoResult::Ok;
            }
            auto wakeAt = queue_.empty() ? Clock::time_point::max() : queue_.front().readyAt;
            if (timeoutMs != platform::kInfinite) {
                if (now >= deadline)
                    return IoResult::Timeout;
                wakeAt = std::min(wakeAt, deadline);
            }
            if (wakeAt == Clock::time_point::max())
                cv_.wait(lock);
            else
                cv_.wait_until(lock, wakeAt);
        }
    }

    IoResult Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                   uint32_t /*timeoutMs*/) override {
        if (bytesWritten)
            *bytesWritten = 0;
        std::shared_ptr<VirtualDevice> device;
        bool timing;
        {
            std::lock_guard lock(state_->m);
            if (aborted_) {
                aborted_ = false;
                return IoResult::Aborted;
            }
            if (gone_)
                return IoResult::Error;
            auto it = state_->devices.find(deviceId_);
            if (it == state_->devices.end())
                return IoResult::Error;
            device = it->second.device;
            timing = state_->timing;
            ++state_->written;
        }
        if (timing)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // A report is as long as the collection's output report; shorter writes are padded.
        std::vector<uint8_t> report(buffer, buffer + length);
        if (report.size() < info_.collection.outputReportLength)
            report.resize(info_.collection.outputReportLength, 0);
        device->OnOutputReport(*bus_, deviceId_, ifaceIndex_, report);
        if (bytesWritten)
            *bytesWritten = length;
        return IoResult::Ok;
    }

    void Abort() override {
        std::lock_guard lock(state_->m);
        aborted_ = true;
        cv_.notify_all();
    }

    void Flush() override {
        std::lock_guard lock(state_->m);
        queue_.clear();
    }

    bool SetOutputReport(const uint8_t* buffer, size_t length) override {
        std::shared_ptr<VirtualDevice> device;
        {
            std::lock_guard lock(state_->m);
            if (gone_)
                return false;
            auto it = state_->devices.find(deviceId_);
            if (it == state_->devices.end())
                return false;
            device = it->second.device;
            ++state_->written;
        }
        device->OnSetOutputReport(*bus_, deviceId_, ifaceIndex_,
                                  std::vector<uint8_t>(buffer, buffer + length));
        return true;
    }

    // Called with the bus lock held.
    void Deliver(const std::vector<uint8_t>& bytes, Clock::time_point readyAt) {
        if (queue_.size() >= kQueueLimit)
            return;  // a full reader drops new reports
        queue_.push_back({bytes, readyAt});
        cv_.notify_all();
    }
    void MarkGone() {
        gone_ = true;
        cv_.notify_all();
    }
    int DeviceId() const { return deviceId_; }
    size_t IfaceIndex() const { return ifaceIndex_; }

  private:
    struct Queued {
        std::vector<uint8_t> bytes;
        Clock::time_point readyAt;
    };
    std::shared_ptr<VirtualBus> bus_;
    std::shared_ptr<VirtualBus::State> state_;
    int deviceId_;
    size_t ifaceIndex_;
    HidCollectionInfo info_;
    std::condition_variable cv_;
    std::deque<Queued> queue_;
    bool aborted_ = false;
    bool gone_ = false;
};

}  // namespace

VirtualBus::VirtualBus() : state_(std::make_shared<State>()) {}
VirtualBus::~VirtualBus() = default;

int VirtualBus::Plug(std::shared_ptr<VirtualDevice> device, std::string* error) {
    PluggedDevice plugged;
    plugged.device = device;
    plugged.attributes = device->Attributes();
    std::lock_guard lock(state_->m);
    int id = state_->nextId++;
    auto interfaces = device->Interfaces();
    for (size_t i = 0; i < interfaces.size(); ++i) {
        const auto& iface = interfaces[i];
        auto parsed = ParseReportDescriptor(iface.reportDescriptor.data(),
                                            iface.reportDescriptor.size(), error);
        if (!parsed)
            return -1;
        int count = static_cast<int>(parsed->collections.size());
        for (int c = 0; c < count; ++c) {
            Collection col;
            col.ifaceIndex = i;
            col.info = parsed->collections[static_cast<size_t>(c)];
            col.path = MakeHidPath(plugged.attributes.vendorId, plugged.attributes.productId,
                                   iface.number, c + 1, count,
                                   "virt-" + std::to_string(id) + "-" + std::to_string(i) + "-" +
                                       std::to_string(c + 1));
            plugged.collections.push_back(std::move(col));
        }
    }
    state_->devices.emplace(id, std::move(plugged));
    return id;
}

bool VirtualBus::Unplug(int deviceId) {
    std::lock_guard lock(state_->m);
    if (state_->devices.erase(deviceId) == 0)
        return false;
    for (VirtualHandle* h : state_->handles)
        if (h->DeviceId() == deviceId)
            h->MarkGone();
    return true;
}

std::vector<int> VirtualBus::DeviceIds() const {
    std::lock_guard lock(state_->m);
    std::vector<int> ids;
    for (const auto& [id, d] : state_->devices)
        ids.push_back(id);
    return ids;
}

std::shared_ptr<VirtualDevice> VirtualBus::Device(int deviceId) const {
    std::lock_guard lock(state_->m);
    auto it = state_->devices.find(deviceId);
    return it == state_->devices.end() ? nullptr : it->second.device;
}

void VirtualBus::SendInput(int deviceId, size_t ifaceIndex, const std::vector<uint8_t>& report,
                           uint32_t delayMs) {
    std::lock_guard lock(state_->m);
    auto it = state_->devices.find(deviceId);
    if (it == state_->devices.end() || report.empty())
        return;
    auto readyAt = Clock::now() + std::chrono::milliseconds(delayMs + (state_->timing ? 1 : 0));
    for (VirtualHandle* h : state_->handles) {
        if (h->DeviceId() != deviceId || h->IfaceIndex() != ifaceIndex)
            continue;
        const auto& c = h->Info().collection;
        bool mine = c.usesReportIds() ? c.HasReportId(report[0]) : true;
        if (mine)
            h->Deliver(report, readyAt);
    }
}

void VirtualBus::SetTimingModel(bool on) {
    std::lock_guard lock(state_->m);
    state_->timing = on;
}

uint64_t VirtualBus::ReportsWritten() const {
    std::lock_guard lock(state_->m);
    return state_->written;
}

bool VirtualBus::Owns(const std::string& path) const {
    return path.find("#virt-") != std::string::npos;
}

bool VirtualBus::Enumerate(std::vector<std::string>& paths) {
    std::lock_guard lock(state_->m);
    for (const auto& [id, d] : state_->devices)
        for (const auto& c : d.collections)
            paths.push_back(c.path);
    return true;
}

std::shared_ptr<HidHandle> VirtualBus::Open(const std::string& path, const OpenFlags& /*flags*/,
                                            std::string* error) {
    std::lock_guard lock(state_->m);
    for (const auto& [id, d] : state_->devices) {
        for (const auto& c : d.collections) {
            if (c.path != path)
                continue;
            auto handle =
                std::make_shared<VirtualHandle>(shared_from_this(), state_, id, c, d.attributes);
            state_->handles.push_back(handle.get());
            return handle;
        }
    }
    if (error)
        *error = "no such device: " + path;
    return nullptr;
}

}  // namespace dravik::hidio
