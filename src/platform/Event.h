#pragma once
// Waitable events in the manner the device and thread code expects: auto-reset (one waiter
// consumes the signal) or manual-reset (stays signalled until Reset), waits with a time-out, and
// a wait for any of several events.
#include <cstdint>
#include <initializer_list>
#include <memory>

namespace dravik::platform {

inline constexpr uint32_t kInfinite = 0xFFFFFFFFu;
inline constexpr int kWaitTimeout = -1;

class Event {
  public:
    enum class Reset { Auto, Manual };
    explicit Event(Reset mode, bool initiallySet = false);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void ResetEvent();
    bool IsSet() const;
    // Waits until the event is set or the time-out passes; true when it was set (and, for an
    // auto-reset event, consumed by this call).
    bool Wait(uint32_t timeoutMs);

    struct State;

  private:
    std::unique_ptr<State> state_;
    friend int WaitAny(std::initializer_list<Event*> events, uint32_t timeoutMs);
};

// Waits until one of the events is set; returns its index (the first set one wins and an
// auto-reset event is consumed) or kWaitTimeout.
int WaitAny(std::initializer_list<Event*> events, uint32_t timeoutMs);

}  // namespace dravik::platform
