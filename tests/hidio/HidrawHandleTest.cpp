// The I/O path of a hidraw handle, with one end of a SOCK_SEQPACKET socket pair standing in for
// the node: like hidraw it keeps report boundaries, and the test plays the kernel at the other end.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "hidio/HidrawHandle.h"
#include "platform/Clock.h"
#include "platform/Event.h"
#include "support/Descriptors.h"

using namespace dravik::hidio;
using namespace dravik::test;
using dravik::platform::kInfinite;
using dravik::platform::NowMs;
using dravik::platform::SleepMs;
using Bytes = std::vector<uint8_t>;

namespace {

// A generous bound for "returns promptly" on a loaded two-core machine.
constexpr uint64_t kPromptMs = 1500;

class HidrawHandleTest : public ::testing::Test {
  protected:
    void TearDown() override { CloseDevice(); }

    // Opens collection index col of descriptor on a fresh socket pair.
    std::shared_ptr<HidrawHandle> Make(const Bytes& descriptor, size_t col, OpenFlags flags = {},
                                       int sendBuffer = 0) {
        CloseDevice();
        auto parsed = ParseReportDescriptor(descriptor.data(), descriptor.size());
        EXPECT_TRUE(parsed);
        if (!parsed)
            return nullptr;
        bool usesIds = false;
        for (const auto& c : parsed->collections)
            usesIds |= c.usesReportIds();
        int sv[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sv), 0);
        if (sendBuffer)
            ::setsockopt(sv[0], SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
        device = sv[1];
        HidCollectionInfo info;
        info.attributes = {0x320F, 0x226E, 0x0102};
        info.collection = parsed->collections.at(col);
        return HidrawHandle::Adopt(sv[0], info, usesIds, flags);
    }

    void Send(const Bytes& report) {
        ASSERT_EQ(::send(device, report.data(), report.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(report.size()));
    }
    // What the node received, or an empty vector when nothing came within timeoutMs.
    Bytes Received(int timeoutMs = 1000) {
        pollfd pfd{device, POLLIN, 0};
        if (::poll(&pfd, 1, timeoutMs) != 1)
            return {};
        Bytes buf(20000);
        ssize_t n = ::recv(device, buf.data(), buf.size(), MSG_DONTWAIT);
        buf.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return buf;
    }
    void CloseDevice() {
        if (device >= 0)
            ::close(device);
        device = -1;
    }

    int device = -1;
};

Bytes Report(uint8_t id, size_t size, uint8_t fill) {
    Bytes r(size, fill);
    r[0] = id;
    return r;
}

const Bytes kComposite = Concat({VendorCommandCollection(4), ConsumerCollection(5)});

}  // namespace

TEST_F(HidrawHandleTest, ReadTimesOutOnAnIdleNode) {
    auto h = Make(kComposite, 0);
    ASSERT_TRUE(h);
    uint8_t buf[64];
    size_t n = 99;
    for (uint32_t timeout : {0u, 80u}) {
        uint64_t start = NowMs();
        EXPECT_EQ(h->Read(buf, sizeof buf, &n, timeout), IoResult::Timeout);
        uint64_t elapsed = NowMs() - start;
        EXPECT_EQ(n, 0u);
        EXPECT_GE(elapsed, timeout);
        EXPECT_LT(elapsed, timeout + kPromptMs);
    }
}

// Each handle of the node sees only the reports whose ID its collection declares; the others are
// dropped and the wait goes on until the deadline.
TEST_F(HidrawHandleTest, ReadDeliversOnlyTheOpenedCollectionsReports) {
    const struct {
        size_t col;
        uint8_t mine, other;
        size_t size, otherSize;
    } cases[] = {{0, 4, 5, 64, 3}, {1, 5, 4, 3, 64}};
    for (const auto& c : cases) {
        auto h = Make(kComposite, c.col);
        ASSERT_TRUE(h);
        uint8_t buf[64];
        size_t n = 0;
        Send(Report(c.other, c.otherSize, 0x11));
        Send(Report(c.other, c.otherSize, 0x22));
        Send(Report(c.mine, c.size, 0x33));
        ASSERT_EQ(h->Read(buf, sizeof buf, &n, 0), IoResult::Ok) << c.col;
        EXPECT_EQ(Bytes(buf, buf + n), Report(c.mine, c.size, 0x33)) << c.col;

        // Only foreign reports, arriving during the wait: no early return.
        std::thread feeder([&] {
            for (int i = 0; i < 4; ++i) {
                SleepMs(15);
                Send(Report(c.other, c.otherSize, 0x44));
            }
        });
        uint64_t start = NowMs();
        EXPECT_EQ(h->Read(buf, sizeof buf, &n, 150), IoResult::Timeout) << c.col;
        EXPECT_GE(NowMs() - start, 150u) << c.col;
        feeder.join();

        // A foreign report and then one of ours while the read waits.
        std::thread late([&] {
            SleepMs(20);
            Send(Report(c.other, c.otherSize, 0x55));
            SleepMs(20);
            Send(Report(c.mine, c.size, 0x66));
        });
        EXPECT_EQ(h->Read(buf, sizeof buf, &n, 5000), IoResult::Ok) << c.col;
        EXPECT_EQ(Bytes(buf, buf + n), Report(c.mine, c.size, 0x66)) << c.col;
        late.join();
    }
}

// Reads give the report-ID byte first, a 0 for a device without numbered reports (the node gives
// the bare data then). Writes take the ID byte first and the node gets it as given, 0 included,
// padded to the output report length; a short read buffer takes the report's beginning.
TEST_F(HidrawHandleTest, ReportIdByteOnReadAndWrite) {
    Bytes headsetData(16);
    for (size_t i = 0; i < 16; ++i)
        headsetData[i] = static_cast<uint8_t>(0xA0 + i);
    Bytes headsetRead = Concat({{0x00}, headsetData});
    Bytes vendorReport = Report(4, 64, 0x5A);
    const struct {
        const char* name;
        Bytes descriptor;
        Bytes fromNode, expectRead, write, expectAtNode;
    } cases[] = {
        {"no report IDs",
         HeadsetCollection(),
         headsetData,
         headsetRead,
         {0x00, 0x01, 0x02},
         Concat({{0x00, 0x01, 0x02}, Bytes(14, 0)})},
        {"numbered",
         VendorCommandCollection(4),
         vendorReport,
         vendorReport,
         {0x04, 0x09},
         Concat({{0x04, 0x09}, Bytes(62, 0)})},
    };
    for (const auto& c : cases) {
        auto h = Make(c.descriptor, 0);
        ASSERT_TRUE(h);
        uint8_t buf[80];
        size_t n = 0;
        Send(c.fromNode);
        ASSERT_EQ(h->Read(buf, sizeof buf, &n, 1000), IoResult::Ok) << c.name;
        EXPECT_EQ(Bytes(buf, buf + n), c.expectRead) << c.name;

        Send(c.fromNode);
        ASSERT_EQ(h->Read(buf, 5, &n, 1000), IoResult::Ok) << c.name;
        EXPECT_EQ(Bytes(buf, buf + n), Bytes(c.expectRead.begin(), c.expectRead.begin() + 5))
            << c.name;

        ASSERT_EQ(h->Write(c.write.data(), c.write.size(), &n, 1000), IoResult::Ok) << c.name;
        EXPECT_EQ(n, c.write.size()) << c.name;
        EXPECT_EQ(Received(), c.expectAtNode) << c.name;

        // The control-pipe report goes out as given.
        ASSERT_TRUE(h->SetOutputReport(c.write.data(), c.write.size())) << c.name;
        EXPECT_EQ(Received(), c.write) << c.name;
    }
}

TEST_F(HidrawHandleTest, AnInfiniteReadEndsWhenAnotherThreadAborts) {
    auto h = Make(kComposite, 0);
    ASSERT_TRUE(h);
    size_t n = 99;
    auto result = std::async(std::launch::async, [&] {
        uint8_t buf[64];
        return h->Read(buf, sizeof buf, &n, kInfinite);
    });
    EXPECT_EQ(result.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    uint64_t start = NowMs();
    h->Abort();
    ASSERT_EQ(result.wait_for(std::chrono::milliseconds(kPromptMs)), std::future_status::ready);
    EXPECT_EQ(result.get(), IoResult::Aborted);
    EXPECT_LT(NowMs() - start, kPromptMs);
    EXPECT_EQ(n, 0u);
    // The abort was consumed by that read.
    uint8_t buf[64];
    EXPECT_EQ(h->Read(buf, sizeof buf, &n, 30), IoResult::Timeout);
}

// With nothing pending, an abort ends the next transfer at once, only that one, and loses no
// queued report. Several aborts before it count as one.
TEST_F(HidrawHandleTest, AnAbortWithNothingPendingEndsOnlyTheNextTransfer) {
    auto h = Make(kComposite, 0);
    ASSERT_TRUE(h);
    uint8_t buf[64];
    size_t n = 99;
    Send(Report(4, 64, 0x77));
    h->Abort();
    h->Abort();
    uint64_t start = NowMs();
    EXPECT_EQ(h->Read(buf, sizeof buf, &n, 5000), IoResult::Aborted);
    EXPECT_LT(NowMs() - start, kPromptMs);
    ASSERT_EQ(h->Read(buf, sizeof buf, &n, 1000), IoResult::Ok);
    EXPECT_EQ(Bytes(buf, buf + n), Report(4, 64, 0x77));

    const uint8_t out[] = {0x04, 0x01};
    h->Abort();
    EXPECT_EQ(h->Write(out, sizeof out, &n, 1000), IoResult::Aborted);
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(Received(50).empty());
    EXPECT_EQ(h->Write(out, sizeof out, &n, 1000), IoResult::Ok);
    EXPECT_EQ(Received().size(), 64u);
}

// A node that takes no more: the write waits for room until its time-out or an abort.
TEST_F(HidrawHandleTest, AWriteWaitingForRoomTimesOutOrIsAborted) {
    auto h = Make(kComposite, 0, {}, 4096);
    ASSERT_TRUE(h);
    const uint8_t out[] = {0x04, 0x01};
    size_t n = 0;
    int sent = 0;
    while (sent < 100000 && h->Write(out, sizeof out, &n, 0) == IoResult::Ok)
        ++sent;
    ASSERT_LT(sent, 100000) << "the socket never filled";

    uint64_t start = NowMs();
    EXPECT_EQ(h->Write(out, sizeof out, &n, 80), IoResult::Timeout);
    EXPECT_GE(NowMs() - start, 80u);
    EXPECT_EQ(n, 0u);

    auto result =
        std::async(std::launch::async, [&] { return h->Write(out, sizeof out, &n, kInfinite); });
    EXPECT_EQ(result.wait_for(std::chrono::milliseconds(80)), std::future_status::timeout);
    h->Abort();
    ASSERT_EQ(result.wait_for(std::chrono::milliseconds(kPromptMs)), std::future_status::ready);
    EXPECT_EQ(result.get(), IoResult::Aborted);

    // Once the node takes reports again, a waiting write goes through.
    auto later =
        std::async(std::launch::async, [&] { return h->Write(out, sizeof out, &n, 5000); });
    SleepMs(30);
    for (int i = 0; i < sent; ++i)
        ASSERT_EQ(Received().size(), 64u);
    ASSERT_EQ(later.wait_for(std::chrono::milliseconds(kPromptMs)), std::future_status::ready);
    EXPECT_EQ(later.get(), IoResult::Ok);
}

TEST_F(HidrawHandleTest, FlushDiscardsQueuedInputOnly) {
    auto h = Make(kComposite, 0);
    ASSERT_TRUE(h);
    for (uint8_t i = 0; i < 3; ++i)
        Send(Report(4, 64, i));
    Send(Report(5, 3, 9));
    h->Abort();
    h->Flush();
    uint8_t buf[64];
    size_t n = 0;
    // The pending abort outlives the flush; the queue does not.
    EXPECT_EQ(h->Read(buf, sizeof buf, &n, 0), IoResult::Aborted);
    EXPECT_EQ(h->Read(buf, sizeof buf, &n, 30), IoResult::Timeout);
    Send(Report(4, 64, 0x42));
    ASSERT_EQ(h->Read(buf, sizeof buf, &n, 1000), IoResult::Ok);
    EXPECT_EQ(Bytes(buf, buf + n), Report(4, 64, 0x42));
}

// An unplugged node: every transfer fails at once instead of waiting, and a read already waiting
// ends too.
TEST_F(HidrawHandleTest, APeerThatIsGoneIsAnError) {
    auto h = Make(kComposite, 0);
    ASSERT_TRUE(h);
    size_t n = 99;
    auto waiting = std::async(std::launch::async, [&] {
        uint8_t buf[64];
        return h->Read(buf, sizeof buf, &n, kInfinite);
    });
    SleepMs(50);
    CloseDevice();
    ASSERT_EQ(waiting.wait_for(std::chrono::milliseconds(kPromptMs)), std::future_status::ready);
    EXPECT_EQ(waiting.get(), IoResult::Error);
    EXPECT_EQ(n, 0u);

    uint8_t buf[64];
    const uint8_t out[] = {0x04, 0x01};
    EXPECT_EQ(h->Read(buf, sizeof buf, &n, kInfinite), IoResult::Error);
    EXPECT_EQ(h->Write(out, sizeof out, &n, kInfinite), IoResult::Error);
    EXPECT_FALSE(h->SetOutputReport(out, sizeof out));
}
