#pragma once
// The single-instance token: an exclusive flock on "Dravik.lock" in the runtime folder, held for
// the life of the object.
#include <filesystem>

namespace dravik::platform {

class InstanceLock {
  public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Result { Acquired, AlreadyRunning, Unavailable };
    // Unavailable (the lock file cannot be opened) is not an error for the caller: it runs as a
    // first instance.
    Result Acquire(const std::filesystem::path& folder);
    void Release();
    bool Held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace dravik::platform
