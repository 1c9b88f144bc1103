#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/Clock.h"
#include "ui/Window.h"

using namespace dravik;
using namespace dravik::ui;

namespace {

class EchoWindow : public CWindowWnd {
  public:
    int64_t HandleMessage(uint32_t msg, uint64_t wParam, int64_t lParam) override {
        if (msg == WM_USER + 1)
            return static_cast<int64_t>(wParam) * 2;
        if (msg == WM_USER + 2) {
            handledSlow = true;
            platform::SleepMs(static_cast<uint32_t>(wParam));
            return 1;
        }
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
    std::atomic<bool> handledSlow{false};
};

class SelfDeletingDialog : public CWindowWnd {
  public:
    explicit SelfDeletingDialog(bool* deleted) : deleted_(deleted) {}
    ~SelfDeletingDialog() override { *deleted_ = true; }
    void OnFinalMessage(HWND) override { delete this; }

  private:
    bool* deleted_;
};

}  // namespace

TEST(Windows, SendFromAWorkerBlocksUntilHandledAndFailsOnceTheWindowCloses) {
    ResetQuit();
    EchoWindow w;
    HWND h = w.Create(0, "echo", 0, 0, 0, 0, 100, 100);
    std::atomic<int> phase{0};
    int64_t got = 0;
    bool ok = false, okAfterClose = true;
    std::thread worker([&] {
        ok = SendMessageChecked(h, WM_USER + 1, 21, 0, &got);
        phase = 1;
        while (phase != 2)
            platform::SleepMs(1);
        uint64_t start = platform::NowMs();
        okAfterClose = SendMessageChecked(h, WM_USER + 1, 1, 0, nullptr);
        EXPECT_LT(platform::NowMs() - start, 100u);  // fails at once, no waiting
        phase = 3;
    });
    while (phase != 1)
        PumpMessages(5);
    EXPECT_TRUE(ok);
    EXPECT_EQ(got, 42);
    w.DestroyWindow();
    phase = 2;
    worker.join();
    EXPECT_FALSE(okAfterClose);
}

TEST(Windows, ModalLoopReturnsTheCloseResultAndDisablesTheOwner) {
    ResetQuit();
    EchoWindow owner;
    HWND ownerHandle = owner.Create(0, "owner", WS_VISIBLE, 0, 0, 0, 200, 200);
    bool deleted = false;
    auto* dialog = new SelfDeletingDialog(&deleted);
    dialog->Create(ownerHandle, "dialog", 0, 0, 0, 0, 50, 50);
    bool ownerDisabledMeanwhile = false;
    PostTask([&] {
        ownerDisabledMeanwhile = !owner.IsEnabled();
        dialog->Close(7);
    });
    EXPECT_EQ(dialog->ShowModal(), 7u);
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(owner.IsEnabled());
    owner.DestroyWindow();
}

TEST(Windows, PostToAGoneWindowFailsAndQuitEndsTheLoop) {
    ResetQuit();
    EchoWindow w;
    HWND h = w.Create(0, "w", 0, 0, 0, 0, 10, 10);
    w.DestroyWindow();
    EXPECT_FALSE(PostMessage(h, WM_USER + 1));
    EXPECT_FALSE(IsWindow(h));
    PostTask([] { PostQuitMessage(3); });
    EXPECT_EQ(MessageLoop(), 3);
    ResetQuit();
}
