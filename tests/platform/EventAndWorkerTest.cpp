#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform/Event.h"
#include "platform/FairMutex.h"
#include "platform/Trace.h"
#include "platform/WorkerThread.h"

using namespace dravik::platform;

TEST(Event, AutoResetWakesOneWaiterAndIsConsumed) {
    Event e(Event::Reset::Auto);
    std::atomic<int> woken{0};
    std::thread a([&] { woken += e.Wait(300); });
    std::thread b([&] { woken += e.Wait(300); });
    SleepMs(50);
    e.Set();
    a.join();
    b.join();
    EXPECT_EQ(woken, 1);
    EXPECT_FALSE(e.IsSet());
}

TEST(Event, ManualResetStaysSetUntilReset) {
    Event e(Event::Reset::Manual);
    e.Set();
    EXPECT_TRUE(e.Wait(0));
    EXPECT_TRUE(e.Wait(0));
    e.ResetEvent();
    EXPECT_FALSE(e.Wait(20));
}

TEST(Event, WaitAnyReportsTheSignalledIndexOrTimeout) {
    Event a(Event::Reset::Auto), b(Event::Reset::Auto);
    EXPECT_EQ(WaitAny({&a, &b}, 20), kWaitTimeout);
    std::thread t([&] {
        SleepMs(30);
        b.Set();
    });
    uint64_t start = NowMs();
    EXPECT_EQ(WaitAny({&a, &b}, kInfinite), 1);
    EXPECT_GE(NowMs() - start, 25u);
    t.join();
    EXPECT_FALSE(b.IsSet());
}

TEST(WorkerThread, BlockedWorkerStopsWithinItsBound) {
    WorkerThread w("blocked");
    Event never(Event::Reset::Auto);
    w.Start([&](WorkerThread& self) { WaitAny({&self.StopEvent(), &never}, kInfinite); });
    SleepMs(20);
    TraceCapture trace;
    uint64_t start = NowMs();
    EXPECT_EQ(w.Stop(500, "stopped-ok", "stop-timeout"), WorkerThread::StopResult::Stopped);
    EXPECT_LT(NowMs() - start, 500u);
    EXPECT_TRUE(trace.Contains("stopped-ok"));
}

TEST(WorkerThread, OverrunIsTracedAndTheThreadIsStillJoined) {
    WorkerThread w("stubborn");
    std::atomic<bool> finished{false};
    w.Start([&](WorkerThread&) {
        SleepMs(150);
        finished = true;
    });
    TraceCapture trace;
    EXPECT_EQ(w.Stop(20, "stopped-ok", "stop-timeout"), WorkerThread::StopResult::TimedOut);
    EXPECT_TRUE(trace.Contains("stop-timeout"));
    EXPECT_TRUE(finished);  // joined, never abandoned
    EXPECT_EQ(w.Stop(20), WorkerThread::StopResult::NotRunning);
}

TEST(Clock, TickCountMovesInCoarseSteps) {
    uint32_t t = TickCount();
    double steps = t / kTickStepMs;
    EXPECT_NEAR(steps, static_cast<double>(static_cast<uint64_t>(steps + 0.5)), 0.07);
    SleepUntilNextTick();
    EXPECT_GT(TickCount(), t);
}

TEST(FairRecursiveMutex, AWaiterGetsItsTurnBeforeTheHolderTakesItBack) {
    FairRecursiveMutex m;
    std::atomic<bool> waiterIn{false}, waiterDone{false};
    std::vector<char> order;
    std::mutex orderLock;
    auto note = [&](char c) {
        std::lock_guard l(orderLock);
        order.push_back(c);
    };
    m.lock();
    m.lock();  // recursive
    m.unlock();
    std::thread waiter([&] {
        waiterIn = true;
        m.lock();
        note('B');
        m.unlock();
        waiterDone = true;
    });
    while (!waiterIn)
        SleepMs(1);
    SleepMs(20);  // the waiter is queued now
    m.unlock();
    m.lock();  // the holder comes straight back: it must queue behind the waiter
    note('A');
    m.unlock();
    waiter.join();
    EXPECT_EQ(order, (std::vector<char>{'B', 'A'}));
    EXPECT_TRUE(m.try_lock());
    m.unlock();
}
