#include "platform/Event.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace dravik::platform {
namespace {

// A waiter is one thread blocked in Wait/WaitAny; every event it waits on holds a pointer to it
// and pokes it when set.
struct Waiter {
    std::mutex m;
    std::condition_variable cv;
    uint64_t pokes = 0;
};

}  // namespace

struct Event::State {
    Reset mode;
    mutable std::mutex m;
    bool set = false;
    std::vector<Waiter*> waiters;

    bool TryConsume() {
        std::lock_guard lock(m);
        if (!set)
            return false;
        if (mode == Reset::Auto)
            set = false;
        return true;
    }
};

Event::Event(Reset mode, bool initiallySet) : state_(std::make_unique<State>()) {
    state_->mode = mode;
    state_->set = initiallySet;
}

Event::~Event() = default;

void Event::Set() {
    std::lock_guard lock(state_->m);
    state_->set = true;
    for (Waiter* w : state_->waiters) {
        std::lock_guard wl(w->m);
        ++w->pokes;
        w->cv.notify_all();
    }
}

void Event::ResetEvent() {
    std::lock_guard lock(state_->m);
    state_->set = false;
}

bool Event::IsSet() const {
    std::lock_guard lock(state_->m);
    return state_->set;
}

bool Event::Wait(uint32_t timeoutMs) {
    return WaitAny({this}, timeoutMs) == 0;
}

int WaitAny(std::initializer_list<Event*> events, uint32_t timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Waiter waiter;
    for (Event* e : events) {
        std::lock_guard lock(e->state_->m);
        e->state_->waiters.push_back(&waiter);
    }
    int result = kWaitTimeout;
    for (;;) {
        uint64_t seen;
        {
            std::lock_guard wl(waiter.m);
            seen = waiter.pokes;
        }
        int index = 0;
        for (Event* e : events) {
            if (e->state_->TryConsume()) {
                result = index;
                break;
            }
            ++index;
        }
        if (result != kWaitTimeout)
            break;
        std::unique_lock wl(waiter.m);
        auto poked = [&] { return waiter.pokes != seen; };
        if (timeoutMs == kInfinite) {
            waiter.cv.wait(wl, poked);
        } else if (!waiter.cv.wait_until(wl, deadline, poked)) {
            break;
        }
    }
    for (Event* e : events) {
        std::lock_guard lock(e->state_->m);
        auto& ws = e->state_->waiters;
        ws.erase(std::remove(ws.begin(), ws.end(), &waiter), ws.end());
    }
    return result;
}

}  // namespace dravik::platform
