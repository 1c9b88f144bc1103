// DeviceLink against the emulated devices on the virtual bus.
#include "hid/DeviceLink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/Clock.h"
#include "platform/Trace.h"
#include "sim/SimTestBus.h"

using namespace dravik;
using dravik::sim::Fault;
using dravik::test::Report64;

namespace {

// BeginSession with its checksum: the sum of bytes 3..63 is 1.
const std::vector<uint8_t> kBegin = Report64("04 01 00 01");

class DeviceLinkTest : public ::testing::Test {
  protected:
    std::shared_ptr<sim::SimDevice> Attach(const std::string& name) {
        auto device = simBus.Plug(name);
        EXPECT_TRUE(device);
        EXPECT_TRUE(link.Attach(simBus.CommandPath(*device), device->Identity().receiver));
        return device;
    }
    int32_t Send(const std::vector<uint8_t>& request) {
        answer.fill(0);
        return link.Exchange(request.data(), request.size(), answer.data(), answer.size(), &got);
    }

    test::SimTestBus simBus;
    DeviceLink link;
    std::array<uint8_t, 64> answer{};
    uint32_t got = 0;
};

}  // namespace

TEST(DeviceLinkState, ImageSizeModeAndChunkSize) {
    DeviceLink link;
    EXPECT_EQ(link.ImageSize(), 512);
    EXPECT_EQ(link.ChunkSize(), 24);  // before any mode is selected
    EXPECT_FALSE(link.ReceiverMode());
    EXPECT_FALSE(link.SetImageSize(513));
    EXPECT_EQ(link.ImageSize(), 512);
    EXPECT_TRUE(link.SetImageSize(48));
    EXPECT_FALSE(link.SetImageSize(70000));
    EXPECT_EQ(link.ImageSize(), 48);
    EXPECT_TRUE(link.SetImageSize(512));
    EXPECT_EQ(link.ImageSize(), 512);

    const struct {
        int mode;
        bool receiver;
        uint8_t chunk;
    } modes[] = {{2, true, 24}, {1, false, 56}, {2, true, 24}, {0, false, 56}, {7, false, 56}};
    for (const auto& m : modes) {
        link.SetMode(m.mode);
        EXPECT_EQ(link.ReceiverMode(), m.receiver) << m.mode;
        EXPECT_EQ(link.ChunkSize(), m.chunk) << m.mode;
    }
}

TEST_F(DeviceLinkTest, ShortRequestIsZeroPaddedAndLongOneCutTo64Bytes) {
    auto mouse = Attach("mouse");
    std::vector<uint8_t> shortRequest = {0x04, 0x01, 0x00, 0x01};
    EXPECT_EQ(Send(shortRequest), 1);
    EXPECT_EQ(got, 64u);
    std::vector<uint8_t> longRequest = kBegin;
    longRequest.resize(70, 0xEE);
    EXPECT_EQ(Send(longRequest), 1);
    auto requests = mouse->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], kBegin);
    EXPECT_EQ(requests[1], kBegin);
    EXPECT_EQ(answer[3], 0x01);
    EXPECT_FALSE(link.IsBusy());
}

TEST_F(DeviceLinkTest, TracesRequestAndAnswerInTheTwoLineLayout) {
    Attach("mouse");
    platform::TraceCapture capture;
    ASSERT_EQ(Send(Report64("04 25 00 03 22 00 00 00")), 1);
    const std::string zeros32 =
        "00 00 00 00   00 00 00 00   00 00 00 00   00 00 00 00  "
        "00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00";
    const std::string request =
        "命令\n"
        "04 25 00 03   22 00 00 00   00 00 00 00   00 00 00 00  "
        "00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00\n" +
        zeros32;
    // The mouse's factory information block: marker, firmware 0x0130, 16 slots, 32 macro units,
    // state 4, sensor 0x3104, step 50, limit 114, base 100. Checksum 0x02c6.
    const std::string reply =
        "返回\n"
        "04 c6 02 03   22 00 00 00   aa 55 30 01   00 10 20 04  "
        "00 04 31 32  72 00 64 00  00 00 00 00  00 00 00 00\n" +
        zeros32;
    auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], request);
    EXPECT_EQ(lines[1], reply);
}

TEST_F(DeviceLinkTest, EchoMismatchResendsExactlyOnce) {
    const struct {
        const char* name;
        std::string device;
        Fault::Kind kind;
        uint32_t times;
        int32_t result;
        size_t writes;
    } cases[] = {
        {"one wrong echo: the re-send succeeds", "mouse", Fault::Kind::WrongEcho, 1, 1, 2},
        // Two wrong echoes: nothing answered this request, so the exchange does not succeed.
        {"two wrong echoes", "mouse", Fault::Kind::WrongEcho, 2, 0, 2},
        {"three wrong echoes: still one re-send", "mouse", Fault::Kind::WrongEcho, 3, 0, 2},
        {"0xAA on the cable is an ordinary mismatch", "mouse", Fault::Kind::ReceiverNoDevice, 1, 1,
         2},
        {"0xAA twice on the cable", "mouse", Fault::Kind::ReceiverNoDevice, 2, 0, 2},
        {"0xAA through the receiver: -101 without retry", "mouse-receiver",
         Fault::Kind::ReceiverNoDevice, 1, -101, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto device = Attach(c.device);
        Fault fault;
        fault.kind = c.kind;
        fault.times = c.times;
        fault.value = 0x02;
        device->InjectFault(fault);
        EXPECT_EQ(Send(kBegin), c.result);
        EXPECT_EQ(device->Requests().size(), c.writes);
        EXPECT_FALSE(link.IsBusy());
        device->Unplug();
        link.Detach();
    }
}

TEST_F(DeviceLinkTest, SleepingReceiverDeviceGivesMinus101AtTheFirstAnswer) {
    auto receiver = Attach("mouse-receiver");
    receiver->SetDeviceAwake(false);
    EXPECT_EQ(Send(kBegin), -101);
    EXPECT_EQ(receiver->Requests().size(), 1u);
    EXPECT_EQ(answer[3], 0xAA);
    receiver->SetDeviceAwake(true);
    EXPECT_EQ(Send(kBegin), 1);
}

TEST_F(DeviceLinkTest, SuspendedLinkSucceedsWithoutIoAndClosedLinkFails) {
    Attach("mouse");
    const uint64_t before = simBus.bus->ReportsWritten();
    link.SetSuspended(true);
    EXPECT_EQ(Send(kBegin), 1);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(answer, (std::array<uint8_t, 64>{}));
    EXPECT_FALSE(link.IsBusy());
    EXPECT_EQ(simBus.bus->ReportsWritten(), before);

    link.SetSuspended(false);
    link.SetOpen(false);
    EXPECT_EQ(Send(kBegin), 0);
    EXPECT_FALSE(link.IsBusy());
    EXPECT_EQ(simBus.bus->ReportsWritten(), before);

    link.Detach();  // also clears the suspended flag
    link.SetSuspended(true);
    link.Detach();
    EXPECT_FALSE(link.IsSuspended());
    EXPECT_EQ(Send(kBegin), 0);
}

TEST_F(DeviceLinkTest, NoAnswerRetriesOnceThenGivesZero) {
    auto mouse = Attach("mouse");
    Fault fault;
    fault.kind = Fault::Kind::NoAnswer;
    fault.times = 2;
    mouse->InjectFault(fault);
    const uint64_t start = platform::NowMs();
    EXPECT_EQ(Send(kBegin), 0);
    const uint64_t elapsed = platform::NowMs() - start;
    EXPECT_EQ(mouse->Requests().size(), 2u);
    EXPECT_GE(elapsed, 2000u);  // two cable time-outs of 1000 ms
    EXPECT_LT(elapsed, 4000u);
}

TEST_F(DeviceLinkTest, FailedWriteGivesMinusOneAtOnce) {
    auto mouse = Attach("mouse");
    mouse->Unplug();
    platform::TraceCapture capture;
    EXPECT_EQ(Send(kBegin), -1);
    EXPECT_FALSE(link.IsBusy());
    EXPECT_TRUE(capture.Contains("命令"));
    EXPECT_FALSE(capture.Contains("返回"));
}

TEST_F(DeviceLinkTest, BusyWhileAnExchangeRuns) {
    auto mouse = Attach("mouse");
    Fault slow;
    slow.kind = Fault::Kind::Delay;
    slow.delayMs = 300;
    mouse->InjectFault(slow);
    std::atomic<int32_t> result{99};
    std::thread worker([&] {
        std::array<uint8_t, 64> a{};
        uint32_t n = 0;
        result = link.Exchange(kBegin.data(), kBegin.size(), a.data(), a.size(), &n);
    });
    bool sawBusy = false;
    for (int i = 0; i < 200 && !sawBusy; ++i) {
        sawBusy = link.IsBusy();
        platform::SleepMs(2);
    }
    worker.join();
    EXPECT_TRUE(sawBusy);
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(link.IsBusy());
}

TEST_F(DeviceLinkTest, FastExchangeReadsAgainWithoutWritingAndNeitherFlushesNorTraces) {
    auto keyboard = Attach("keyboard");
    // A stale answer of another command waits in the queue: an exchange that flushed would never
    // see it; the fast exchange reads it, finds the wrong echo and reads its own answer next.
    ASSERT_TRUE(keyboard->SendOnCommandInterface(Report64("04 02 00 02")));
    platform::SleepMs(5);
    platform::TraceCapture capture;
    const auto frame = Report64("04 95 01 12 03 00 00 00 ff 80 01");
    answer.fill(0);
    EXPECT_EQ(link.FastExchange(frame.data(), frame.size(), answer.data(), answer.size(), &got), 1);
    EXPECT_EQ(answer[3], 0x12);
    EXPECT_EQ(keyboard->Requests().size(), 1u);
    EXPECT_TRUE(capture.Lines().empty());

    // The suspended flag does not stop it.
    link.SetSuspended(true);
    EXPECT_EQ(link.FastExchange(frame.data(), frame.size(), answer.data(), answer.size(), &got), 1);
    EXPECT_EQ(keyboard->Requests().size(), 2u);
}

TEST_F(DeviceLinkTest, FastExchangeThroughASleepingReceiverGivesMinus101) {
    auto receiver = Attach("keyboard-receiver");
    receiver->SetDeviceAwake(false);
    const auto frame = Report64("04 95 01 12 03 00 00 00 ff 80 01");
    EXPECT_EQ(link.FastExchange(frame.data(), frame.size(), answer.data(), answer.size(), &got),
              -101);
}
