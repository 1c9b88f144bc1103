#pragma once
// A worker thread with its own manual-reset stop event. Stop() signals the event and waits a
// bounded time; a worker is never killed. Every blocking call a worker makes must be abortable
// (its stop event, a HID abort, a failing cross-thread send) so that the bound holds.
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/Event.h"

namespace dravik::platform {

class WorkerThread {
  public:
    explicit WorkerThread(std::string name);
    ~WorkerThread();  // stops with a 1000 ms bound if still running
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts body on a new thread; false when already running.
    bool Start(std::function<void(WorkerThread&)> body);
    bool Running() const;

    Event& StopEvent() { return stop_; }
    bool StopRequested() const { return stop_.IsSet(); }
    // Sleeps up to ms; returns true when stop was requested meanwhile.
    bool SleepOrStop(uint32_t ms) { return stop_.Wait(ms); }

    enum class StopResult { NotRunning, Stopped, TimedOut };
    // Signals the stop event and waits up to boundMs for the body to return. The outcome is
    // traced with the given texts (nullptr: a generic line naming the thread). When the bound
    // passes, the thread is still joined afterwards: it is never killed or abandoned while its
    // owner's state might go away.
    StopResult Stop(uint32_t boundMs, const char* stoppedTrace = nullptr,
                    const char* timedOutTrace = nullptr);

    const std::string& Name() const { return name_; }

  private:
    std::string name_;
    Event stop_{Event::Reset::Manual};
    Event finished_{Event::Reset::Manual};
    std::thread thread_;
};

}  // namespace dravik::platform
