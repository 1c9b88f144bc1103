#include "platform/InstanceMessenger.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/Trace.h"

namespace dravik::platform {
namespace fs = std::filesystem;
namespace {

bool MakeAddress(const fs::path& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    const std::string s = path.string();
    if (s.size() >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, s.c_str(), s.size());
    return true;
}

}  // namespace

InstanceMessenger::InstanceMessenger(fs::path folder) : folder_(std::move(folder)) {}

InstanceMessenger::~InstanceMessenger() {
    StopListening();
}

bool InstanceMessenger::Listen(const std::string& endpointName, Handler handler) {
    StopListening();
    std::string name = endpointName.empty() ? "inst-" + std::to_string(::getpid()) : endpointName;
    ownPath_ = folder_ / (name + ".sock");
    sockaddr_un addr;
    if (!MakeAddress(ownPath_, addr))
        return false;
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return false;
    ::unlink(ownPath_.c_str());
    mode_t old = ::umask(0077);
    int rc = ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::umask(old);
    if (rc != 0) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    ::chmod(ownPath_.c_str(), 0600);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    receiver_.Start([this, handler = std::move(handler)](WorkerThread& self) {
        std::vector<uint8_t> buf(kMaxInstancePacket + 1);
        while (!self.StopRequested()) {
            pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
            int n = ::poll(fds, 2, -1);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 || (fds[1].revents & POLLIN))
                break;
            if (!(fds[0].revents & POLLIN))
                continue;
            ssize_t got = ::recv(fd_, buf.data(), buf.size(), MSG_DONTWAIT | MSG_TRUNC);
            if (got <= 0)
                continue;
            auto packet = static_cast<size_t>(got) > kMaxInstancePacket
                              ? std::nullopt
                              : DecodeInstancePacket(buf.data(), static_cast<size_t>(got));
            if (!packet) {
                ++dropped_;
                Trace("instance message dropped (%zd bytes)", got);
                continue;
            }
            handler(*packet);
        }
    });
    return true;
}

void InstanceMessenger::StopListening() {
    if (wakeFd_ >= 0) {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t w = ::write(wakeFd_, &one, sizeof one);
    }
    receiver_.Stop(1000);
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
        ::unlink(ownPath_.c_str());
    }
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
        wakeFd_ = -1;
    }
}

bool InstanceMessenger::SendTo(const fs::path& socketPath, const InstancePacket& packet) const {
    sockaddr_un addr;
    if (!MakeAddress(socketPath, addr))
        return false;
    std::vector<uint8_t> bytes = EncodeInstancePacket(packet);
    if (bytes.size() > kMaxInstancePacket)
        return false;
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    ssize_t n = ::sendto(fd, bytes.data(), bytes.size(), MSG_DONTWAIT,
                         reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    int err = errno;
    ::close(fd);
    // A socket file nobody listens on is left over from a crashed instance.
    if (n < 0 && err == ECONNREFUSED)
        ::unlink(socketPath.c_str());
    return n == static_cast<ssize_t>(bytes.size());
}

int InstanceMessenger::Broadcast(const InstancePacket& packet) const {
    int reached = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const std::string file = entry.path().filename().string();
        if (file.rfind("inst-", 0) != 0 || entry.path().extension() != ".sock")
            continue;
        if (entry.path() == ownPath_)
            continue;
        if (SendTo(entry.path(), packet))
            ++reached;
    }
    return reached;
}

bool InstanceMessenger::SendToPeer(const std::string& peerName,
                                   const InstancePacket& packet) const {
    if (peerName.empty() || peerName.find('/') != std::string::npos)
        return false;
    return SendTo(folder_ / (peerName + ".sock"), packet);
}

bool InstanceMessenger::PeerExists(const std::string& peerName) const {
    std::error_code ec;
    return !peerName.empty() && fs::exists(folder_ / (peerName + ".sock"), ec);
}

}  // namespace dravik::platform
