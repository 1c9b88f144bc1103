#include "hid/DeviceLink.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/Clock.h"
#include "platform/Trace.h"

namespace dravik {
namespace {

// Keeps the busy count up for the life of one exchange.
class BusyScope {
  public:
    explicit BusyScope(std::atomic<int>& count) : count_(count) { ++count_; }
    ~BusyScope() { --count_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    std::atomic<int>& count_;
};

void FormatLine(const uint8_t* b, std::string& out) {
    char line[160];
    std::snprintf(line, sizeof line,
                  "%02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x   "
                  "%02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x  "
                  "%02x %02x %02x %02x  %02x %02x %02x %02x",
                  b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12],
                  b[13], b[14], b[15], b[16], b[17], b[18], b[19], b[20], b[21], b[22], b[23],
                  b[24], b[25], b[26], b[27], b[28], b[29], b[30], b[31]);
    out += line;
}

void TraceReport(const char* title, const uint8_t* bytes, size_t length) {
    if (!platform::TraceEnabled())
        return;
    uint8_t report[kCommandReportSize] = {};
    if (bytes)
        std::memcpy(report, bytes, std::min(length, kCommandReportSize));
    platform::TraceText(std::string(title) + "\n" + DeviceLink::FormatReport(report));
}

// True when the answer echoes the request's command byte.
bool Echoes(const uint8_t* answer, size_t answerLength, uint8_t command) {
    return answer && answerLength > 3 && answer[3] == command;
}

bool IsReceiverNoDevice(const uint8_t* answer, size_t answerLength) {
    return answer && answerLength > 3 && answer[3] == kReceiverNoDeviceEcho;
}

}  // namespace

DeviceLink::DeviceLink() = default;

DeviceLink::~DeviceLink() {
    open_ = false;
    wired_.Close();
    receiver_.Close();
}

bool DeviceLink::SetImageSize(uint32_t n) {
    if (n > kMaxImageSize)
        return false;
    imageSize_ = static_cast<uint16_t>(n);
    return true;
}

void DeviceLink::SetMode(int mode) {
    if (mode == 2) {
        receiverMode_ = true;
        chunkSize_ = kReceiverChunkSize;
    } else {
        receiverMode_ = false;
        chunkSize_ = kWiredChunkSize;
    }
}

uint32_t DeviceLink::TimeoutMs(bool fast) const {
    if (!ReceiverMode())
        return kWiredTimeoutMs;
    return fast ? kReceiverFastTimeoutMs : kReceiverTimeoutMs;
}

std::string DeviceLink::FormatReport(const uint8_t* report) {
    std::string out;
    FormatLine(report, out);
    out += "\n";
    FormatLine(report + 32, out);
    return out;
}

bool DeviceLink::Attach(const std::string& path, bool receiver) {
    std::lock_guard lock(exchangeLock_);
    open_ = false;
    HidDevice& device = receiver ? receiver_ : wired_;
    if (!device.Open(path, true, true, true, false))
        return false;
    open_ = true;
    SetMode(receiver ? 2 : 1);
    return true;
}

void DeviceLink::Detach() {
    std::lock_guard lock(exchangeLock_);
    suspended_ = false;
    open_ = false;
    wired_.Close();
    receiver_.Close();
}

int32_t DeviceLink::Exchange(const uint8_t* request, size_t requestLength, uint8_t* answer,
                             size_t answerLength, uint32_t* bytesRead) {
    if (suspended_)
        return kLinkOk;
    BusyScope busy(busy_);
    if (bytesRead)
        *bytesRead = 0;
    if (!open_ || !request)
        return kLinkNoAnswer;

    uint8_t work[kCommandReportSize] = {};
    std::memcpy(work, request, std::min(requestLength, kCommandReportSize));
    TraceReport("命令", work, sizeof work);

    const bool receiver = ReceiverMode();
    HidDevice& device = receiver ? receiver_ : wired_;
    const uint32_t timeout = TimeoutMs(false);
    int32_t result = kLinkNoAnswer;
    for (int attempt = 0;; ++attempt) {
        platform::SleepMs(kExchangeSleepMs);
        bool written;
        {
            std::lock_guard lock(exchangeLock_);
            device.FlushQueue();
            uint32_t n = 0;
            written = device.Write(work, sizeof work, &n, timeout);
        }
        if (!written)
            return kLinkWriteFailed;

        std::lock_guard lock(exchangeLock_);
        platform::SleepMs(kExchangeSleepMs);
        const bool got =
            answer && device.Read(answer, static_cast<uint32_t>(answerLength), bytesRead, timeout);
        result = got ? kLinkOk : kLinkNoAnswer;
        if (!got || !Echoes(answer, answerLength, work[3])) {
            if (receiver && got && IsReceiverNoDevice(answer, answerLength)) {
                result = kLinkReceiverNoDevice;
            } else if (attempt == 0) {
                continue;  // one full retry: write and read again
            } else {
                // The second answer belongs to another request too: nothing matched ours, so the
                // exchange must not report success with a foreign answer.
                result = kLinkNoAnswer;
            }
        }
        TraceReport("返回", answer, answerLength);
        return result;
    }
}

int32_t DeviceLink::FastExchange(const uint8_t* request, size_t requestLength, uint8_t* answer,
                                 size_t answerLength, uint32_t* bytesRead) {
    BusyScope busy(busy_);
    if (bytesRead)
        *bytesRead = 0;
    if (!open_ || !request)
        return kLinkNoAnswer;

    uint8_t work[kCommandReportSize] = {};
    std::memcpy(work, request, std::min(requestLength, kCommandReportSize));
    const bool receiver = ReceiverMode();
    HidDevice& device = receiver ? receiver_ : wired_;
    const uint32_t timeout = TimeoutMs(true);
    {
        std::lock_guard lock(exchangeLock_);
        uint32_t n = 0;
        if (!device.Write(work, sizeof work, &n, timeout))
            return kLinkWriteFailed;
    }
    std::lock_guard lock(exchangeLock_);
    for (int attempt = 0;; ++attempt) {
        const bool got =
            answer && device.Read(answer, static_cast<uint32_t>(answerLength), bytesRead, timeout);
        if (got && Echoes(answer, answerLength, work[3]))
            return kLinkOk;
        if (receiver && got && IsReceiverNoDevice(answer, answerLength))
            return kLinkReceiverNoDevice;
        if (attempt > 0)
            return kLinkNoAnswer;  // read once more at most, then give up
    }
}

}  // namespace dravik
