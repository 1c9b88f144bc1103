#include "hidio/HidrawHandle.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>

#include "platform/Event.h"

namespace dravik::hidio {
namespace {

using Clock = std::chrono::steady_clock;

// The kernel's HID_MAX_BUFFER_SIZE: no report read from a node is longer.
constexpr size_t kMaxNodeReport = 16384;
// Reports of other collections skipped in a row before the deadline is looked at again, so that
// a device flooding another collection cannot hold a read past its time-out.
constexpr int kSkipsBetweenDeadlineChecks = 64;
// Reads Flush discards at most: the kernel queues 64 reports per reader.
constexpr int kMaxFlushReads = 1024;
// How long SetOutputReport waits for room on a node that is not ready to take a write; the
// kernel's own bound for a control transfer.
constexpr int kSetOutputWaitMs = 5000;

// Milliseconds left until deadline for poll, rounded up so that a wait never ends early; -1 for
// an infinite time-out. Negative remaining time gives 0.
int PollMs(uint32_t timeoutMs, Clock::time_point deadline) {
    if (timeoutMs == platform::kInfinite)
        return -1;
    auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<int64_t>(ms, INT_MAX));
}

bool Expired(uint32_t timeoutMs, Clock::time_point deadline) {
    return timeoutMs != platform::kInfinite && Clock::now() >= deadline;
}

}  // namespace

std::shared_ptr<HidrawHandle> HidrawHandle::Adopt(int fd, HidCollectionInfo info,
                                                  bool nodeUsesReportIds, OpenFlags flags,
                                                  std::string* error) {
    if (fd < 0) {
        if (error)
            *error = "no file descriptor";
        return nullptr;
    }
    int abortFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (abortFd < 0) {
        if (error)
            *error = std::string("eventfd: ") + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    int fl = ::fcntl(fd, F_GETFL);
    if (fl >= 0)
        ::fcntl(fd, F_SETFL, fl | O_NONBLOCK);
    return std::shared_ptr<HidrawHandle>(
        new HidrawHandle(fd, abortFd, std::move(info), nodeUsesReportIds, flags));
}

HidrawHandle::HidrawHandle(int fd, int abortFd, HidCollectionInfo info, bool nodeUsesReportIds,
                           OpenFlags flags)
    : fd_(fd),
      abortFd_(abortFd),
      info_(std::move(info)),
      nodeUsesReportIds_(nodeUsesReportIds),
      flags_(flags) {
    struct stat st {};
    isSocket_ = ::fstat(fd_, &st) == 0 && S_ISSOCK(st.st_mode);
}

HidrawHandle::~HidrawHandle() {
    ::close(fd_);
    ::close(abortFd_);
}

bool HidrawHandle::ConsumeAbort() {
    uint64_t count = 0;
    // Reading an eventfd returns its whole count and resets it: several Aborts before a transfer
    // end that one transfer only, as an auto-reset event does.
    return ::read(abortFd_, &count, sizeof count) == static_cast<ssize_t>(sizeof count);
}

void HidrawHandle::Abort() {
    uint64_t one = 1;
    // Fails only when the counter would overflow, and then an abort is pending anyway.
    [[maybe_unused]] ssize_t n = ::write(abortFd_, &one, sizeof one);
}

bool HidrawHandle::WaitReady(short events, int pollMs, bool* abortSignalled) {
    pollfd fds[2] = {{fd_, events, 0}, {abortFd_, POLLIN, 0}};
    *abortSignalled = false;
    int r = ::poll(fds, 2, pollMs);
    if (r < 0)
        return errno == EINTR;  // the caller looks at abort and deadline again
    if (fds[0].revents & POLLNVAL)
        return false;
    *abortSignalled = fds[1].revents & POLLIN;
    return true;
}

bool HidrawHandle::Mine(uint8_t reportId) const {
    return !nodeUsesReportIds_ || info_.collection.HasReportId(reportId);
}

ssize_t HidrawHandle::Send(const uint8_t* data, size_t length) {
    // A write to a socket whose peer is gone raises SIGPIPE; MSG_NOSIGNAL turns it into EPIPE.
    return isSocket_ ? ::send(fd_, data, length, MSG_NOSIGNAL) : ::write(fd_, data, length);
}

IoResult HidrawHandle::Read(uint8_t* buffer, size_t length, size_t* bytesRead, uint32_t timeoutMs) {
    if (bytesRead)
        *bytesRead = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    if (ConsumeAbort())
        return IoResult::Aborted;
    if (!flags_.read || !buffer)
        return IoResult::Error;
    // rx[0] is the report-ID byte supplied here for a device without numbered reports.
    uint8_t rx[kMaxNodeReport + 1];
    int skipped = 0;
    for (;;) {
        ssize_t n = ::read(fd_, rx + 1, kMaxNodeReport);
        if (n > 0) {
            const uint8_t* report = rx + 1;
            size_t size = static_cast<size_t>(n);
            if (!nodeUsesReportIds_) {
                rx[0] = 0;
                report = rx;
                ++size;
            }
            if (Mine(report[0])) {
                size_t copy = std::min(length, size);
                std::memcpy(buffer, report, copy);
                if (bytesRead)
                    *bytesRead = copy;
                return IoResult::Ok;
            }
            // Another collection's report: dropped, and the wait goes on.
            if (++skipped % kSkipsBetweenDeadlineChecks == 0 && Expired(timeoutMs, deadline))
                return IoResult::Timeout;
            if (ConsumeAbort())
                return IoResult::Aborted;
            continue;
        }
        if (n == 0)
            return IoResult::Error;  // end of file: the node (or its stand-in's peer) is gone
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return IoResult::Error;  // ENODEV, EIO: unplugged
        if (Expired(timeoutMs, deadline))
            return IoResult::Timeout;
        bool abortSignalled = false;
        if (!WaitReady(POLLIN, PollMs(timeoutMs, deadline), &abortSignalled))
            return IoResult::Error;
        if (abortSignalled && ConsumeAbort())
            return IoResult::Aborted;
    }
}

std::vector<uint8_t> HidrawHandle::PadToOutputLength(const uint8_t* buffer, size_t length) const {
    // A report is as long as the collection's output report; shorter writes are padded with
    // zeros, as on the virtual bus.
    std::vector<uint8_t> report(buffer, buffer + length);
    if (report.size() < info_.collection.outputReportLength)
        report.resize(info_.collection.outputReportLength, 0);
    return report;
}

IoResult HidrawHandle::Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                             uint32_t timeoutMs) {
    if (bytesWritten)
        *bytesWritten = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    if (ConsumeAbort())
        return IoResult::Aborted;
    if (!flags_.write || !buffer || length == 0)
        return IoResult::Error;
    const std::vector<uint8_t> report = PadToOutputLength(buffer, length);
    for (;;) {
        ssize_t n = Send(report.data(), report.size());
        if (n >= 0) {
            if (bytesWritten)
                *bytesWritten = std::min(length, static_cast<size_t>(n));
            return IoResult::Ok;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return IoResult::Error;
        if (Expired(timeoutMs, deadline))
            return IoResult::Timeout;
        bool abortSignalled = false;
        if (!WaitReady(POLLOUT, PollMs(timeoutMs, deadline), &abortSignalled))
            return IoResult::Error;
        if (abortSignalled && ConsumeAbort())
            return IoResult::Aborted;
    }
}

void HidrawHandle::Flush() {
    if (!flags_.read)
        return;
    uint8_t rx[kMaxNodeReport];
    for (int i = 0; i < kMaxFlushReads; ++i) {
        ssize_t n = ::read(fd_, rx, sizeof rx);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;  // empty (EAGAIN), gone or failed: nothing more to discard
    }
}

bool HidrawHandle::SetOutputReport(const uint8_t* buffer, size_t length) {
    if (!flags_.write || !buffer || length == 0 || length > kMaxNodeReport)
        return false;
    std::vector<uint8_t> report(buffer, buffer + length);
#ifdef HIDIOCSOUTPUT
    // The ioctl's size field has 14 bits.
    if (length < (1u << 14)) {
        if (::ioctl(fd_, HIDIOCSOUTPUT(length), report.data()) >= 0)
            return true;
        // ENOTTY/EINVAL: a kernel older than these headers, or a node that is no hidraw node;
        // anything else is a real failure.
        if (errno != ENOTTY && errno != EINVAL)
            return false;
    }
#endif
    const auto deadline = Clock::now() + std::chrono::milliseconds(kSetOutputWaitMs);
    for (;;) {
        ssize_t n = Send(report.data(), report.size());
        if (n >= 0)
            return true;
        if (errno == EINTR)
            continue;
        if ((errno != EAGAIN && errno != EWOULDBLOCK) || Clock::now() >= deadline)
            return false;
        pollfd pfd{fd_, POLLOUT, 0};
        if (::poll(&pfd, 1, PollMs(kSetOutputWaitMs, deadline)) < 0 && errno != EINTR)
            return false;
    }
}

}  // namespace dravik::hidio
