#include "platform/WorkerThread.h"

#include "platform/Trace.h"

namespace dravik::platform {

WorkerThread::WorkerThread(std::string name) : name_(std::move(name)) {}

WorkerThread::~WorkerThread() {
    Stop(1000);
}

bool WorkerThread::Start(std::function<void(WorkerThread&)> body) {
    if (thread_.joinable())
        return false;
    stop_.ResetEvent();
    finished_.ResetEvent();
    thread_ = std::thread([this, body = std::move(body)] {
        body(*this);
        finished_.Set();
    });
    return true;
}

bool WorkerThread::Running() const {
    return thread_.joinable() && !finished_.IsSet();
}

WorkerThread::StopResult WorkerThread::Stop(uint32_t boundMs, const char* stoppedTrace,
                                            const char* timedOutTrace) {
    if (!thread_.joinable())
        return StopResult::NotRunning;
    stop_.Set();
    StopResult result = finished_.Wait(boundMs) ? StopResult::Stopped : StopResult::TimedOut;
    if (result == StopResult::Stopped) {
        if (stoppedTrace)
            TraceText(stoppedTrace);
        else
            Trace("thread %s stopped", name_.c_str());
    } else {
        if (timedOutTrace)
            TraceText(timedOutTrace);
        else
            Trace("thread %s did not stop within %u ms", name_.c_str(), boundMs);
    }
    thread_.join();
    return result;
}

}  // namespace dravik::platform
