#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace dravik::platform {

InstanceLock::~InstanceLock() {
    Release();
}

InstanceLock::Result InstanceLock::Acquire(const std::filesystem::path& folder) {
    Release();
    std::filesystem::path file = folder / "Dravik.lock";
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return Result::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? Result::AlreadyRunning : Result::Unavailable;
    }
    fd_ = fd;
    return Result::Acquired;
}

void InstanceLock::Release() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace dravik::platform
