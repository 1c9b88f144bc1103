#pragma once
// Messaging between running instances and companion processes over Unix datagram sockets in the
// runtime folder (mode 0600). Each instance binds "inst-<pid>.sock"; a named peer (a companion's
// window) binds "<name>.sock". Broadcasts reach every instance socket but the sender's own.
// Received packets are decoded and checked; malformed or oversized ones are dropped.
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/InstancePacket.h"
#include "platform/WorkerThread.h"

namespace dravik::platform {

class InstanceMessenger {
  public:
    using Handler = std::function<void(const InstancePacket&)>;

    explicit InstanceMessenger(std::filesystem::path folder);
    ~InstanceMessenger();
    InstanceMessenger(const InstanceMessenger&) = delete;
    InstanceMessenger& operator=(const InstanceMessenger&) = delete;

    // Binds the endpoint (empty name: this instance's "inst-<pid>") and starts the receive thread;
    // handler runs on that thread.
    bool Listen(const std::string& endpointName, Handler handler);
    void StopListening();

    // Posts to every other instance; returns how many received it.
    int Broadcast(const InstancePacket& packet) const;
    // Posts to the named peer; false when it is not there.
    bool SendToPeer(const std::string& peerName, const InstancePacket& packet) const;
    bool PeerExists(const std::string& peerName) const;

    size_t DroppedPackets() const { return dropped_; }
    const std::filesystem::path& Folder() const { return folder_; }

  private:
    bool SendTo(const std::filesystem::path& socketPath, const InstancePacket& packet) const;

    std::filesystem::path folder_;
    std::filesystem::path ownPath_;
    int fd_ = -1;
    int wakeFd_ = -1;
    std::atomic<size_t> dropped_{0};
    WorkerThread receiver_{"instance-messages"};
};

}  // namespace dravik::platform
