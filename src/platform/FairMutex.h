#pragma once
// A recursive mutex that hands the lock over in arrival order. A plain mutex lets the thread that
// just unlocked take it straight back, so a long chunked transfer could starve every other thread
// that waits to send a command on the same link; with this lock each waiter gets its turn between
// two of the holder's exchanges. Meets the Lockable requirements (std::lock_guard works).
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace dravik::platform {

class FairRecursiveMutex {
  public:
    void lock() {
        std::unique_lock l(m_);
        const auto self = std::this_thread::get_id();
        if (depth_ > 0 && owner_ == self) {
            ++depth_;
            return;
        }
        const uint64_t ticket = next_++;
        cv_.wait(l, [&] { return serving_ == ticket; });
        owner_ = self;
        depth_ = 1;
    }
    bool try_lock() {
        std::lock_guard l(m_);
        const auto self = std::this_thread::get_id();
        if (depth_ > 0 && owner_ == self) {
            ++depth_;
            return true;
        }
        if (depth_ > 0 || serving_ != next_)
            return false;
        ++next_;
        owner_ = self;
        depth_ = 1;
        return true;
    }
    void unlock() {
        std::lock_guard l(m_);
        if (--depth_ > 0)
            return;
        owner_ = std::thread::id();
        ++serving_;
        cv_.notify_all();
    }

  private:
    std::mutex m_;
    std::condition_variable cv_;
    uint64_t next_ = 0;     // the next ticket handed out
    uint64_t serving_ = 0;  // the ticket whose turn it is
    std::thread::id owner_;
    int depth_ = 0;
};

}  // namespace dravik::platform
