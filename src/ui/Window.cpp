#include "ui/Window.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "platform/Clock.h"
#include "ui/DisplayBackend.h"
#include "ui/PaintManager.h"
#include "ui/Screen.h"

namespace dravik::ui {
namespace {

struct SendWaiter {
    bool done = false;
    bool failed = false;
    int64_t result = 0;
};

struct QueueItem {
    HWND hwnd = 0;
    uint32_t msg = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    std::function<void()> task;
    std::shared_ptr<SendWaiter> waiter;
};

struct Timer {
    HWND hwnd;
    uint32_t id;
    uint32_t elapse;
    uint64_t due;
};

struct LoopState {
    std::mutex m;
    std::condition_variable cv;      // wakes the UI thread
    std::condition_variable sendCv;  // wakes blocked senders
    std::deque<QueueItem> queue;
    std::map<HWND, CWindowWnd*> windows;
    std::set<HWND> closing;
    std::vector<Timer> timers;
    std::map<HWND, uint32_t> modalResults;
    bool quit = false;
    int exitCode = 0;
    std::thread::id uiThread;
    bool uiThreadSet = false;
    HWND nextHandle = 0x100;
    uint64_t nextZ = 1;
};

LoopState& Loop() {
    static LoopState* s = new LoopState;  // outlives every window and worker
    return *s;
}

// Wakes the UI thread for new work: on its own queue and, when the backend waits on the display,
// there too. Called after the loop's lock was released.
void WakeBackend() {
    CurrentBackend().Wake();
}

void FailWaitersLocked(LoopState& s, HWND hwnd) {
    for (auto& item : s.queue) {
        if (item.hwnd == hwnd && item.waiter && !item.waiter->done) {
            item.waiter->done = true;
            item.waiter->failed = true;
        }
    }
    s.sendCv.notify_all();
}

void Dispatch(QueueItem& item) {
    if (item.task) {
        item.task();
        return;
    }
    CWindowWnd* w = WindowFromHandle(item.hwnd);
    if (w && (item.msg == WM_LBUTTONDOWN || item.msg == WM_RBUTTONDOWN)) {
        for (CWindowWnd* other : WindowsInZOrder())
            if (other != w && other->ClosesOnOutsideClick() && !other->IsClosing())
                other->Close(IDCANCEL);
    }
    int64_t result = 0;
    bool ok = w != nullptr;
    if (ok)
        result = w->HandleMessage(item.msg, item.wParam, item.lParam);
    if (item.waiter) {
        LoopState& s = Loop();
        std::lock_guard lock(s.m);
        item.waiter->result = result;
        item.waiter->failed = !ok;
        item.waiter->done = true;
        s.sendCv.notify_all();
    }
}

}  // namespace

bool IsUiThread() {
    LoopState& s = Loop();
    std::lock_guard lock(s.m);
    return !s.uiThreadSet || s.uiThread == std::this_thread::get_id();
}

CWindowWnd* WindowFromHandle(HWND hwnd) {
    LoopState& s = Loop();
    std::lock_guard lock(s.m);
    auto it = s.windows.find(hwnd);
    return it == s.windows.end() ? nullptr : it->second;
}

bool IsWindow(HWND hwnd) {
    return WindowFromHandle(hwnd) != nullptr;
}

bool PostMessage(HWND hwnd, uint32_t msg, uint64_t wParam, int64_t lParam) {
    LoopState& s = Loop();
    {
        std::lock_guard lock(s.m);
        if (!s.windows.count(hwnd))
            return false;
        s.queue.push_back({hwnd, msg, wParam, lParam, nullptr, nullptr});
        s.cv.notify_all();
    }
    WakeBackend();
    return true;
}

void PostTask(std::function<void()> task) {
    LoopState& s = Loop();
    {
        std::lock_guard lock(s.m);
        s.queue.push_back({0, 0, 0, 0, std::move(task), nullptr});
        s.cv.notify_all();
    }
    WakeBackend();
}

bool RunOnUiThread(const std::function<void()>& fn, uint32_t timeoutMs) {
    if (IsUiThread()) {
        fn();
        return true;
    }
    // queued -> running -> done; a caller that gives up on a queued task marks it abandoned so it
    // never runs, and one that finds it running waits for the end (fn may use the caller's stack).
    enum State { Queued, Running, Finished, Abandoned };
    auto state = std::make_shared<State>(Queued);
    LoopState& s = Loop();
    std::unique_lock lock(s.m);
    if (s.quit)
        return false;
    s.queue.push_back({0, 0, 0, 0,
                       [&fn, state, &s] {
                           {
                               std::lock_guard l(s.m);
                               if (*state == Abandoned)
                                   return;
                               *state = Running;
                           }
                           fn();
                           std::lock_guard l(s.m);
                           *state = Finished;
                           s.sendCv.notify_all();
                       },
                       nullptr});
    s.cv.notify_all();
    lock.unlock();
    WakeBackend();
    lock.lock();
    s.sendCv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [&] { return *state == Finished || (s.quit && *state == Queued); });
    if (*state == Running)
        s.sendCv.wait(lock, [&] { return *state == Finished; });
    if (*state == Queued)
        *state = Abandoned;
    return *state == Finished;
}

bool SendMessageChecked(HWND hwnd, uint32_t msg, uint64_t wParam, int64_t lParam, int64_t* result) {
    if (result)
        *result = 0;
    if (IsUiThread()) {
        CWindowWnd* w = WindowFromHandle(hwnd);
        if (!w)
            return false;
        int64_t r = w->HandleMessage(msg, wParam, lParam);
        if (result)
            *result = r;
        return true;
    }
    LoopState& s = Loop();
    auto waiter = std::make_shared<SendWaiter>();
    std::unique_lock lock(s.m);
    if (!s.windows.count(hwnd) || s.closing.count(hwnd) || s.quit)
        return false;
    s.queue.push_back({hwnd, msg, wParam, lParam, nullptr, waiter});
    s.cv.notify_all();
    lock.unlock();
    WakeBackend();
    lock.lock();
    s.sendCv.wait(lock, [&] {
        return waiter->done || s.closing.count(hwnd) || !s.windows.count(hwnd) || s.quit;
    });
    if (!waiter->done) {
        // Closing or gone while we waited: the message will not be handled for us.
        waiter->done = true;
        waiter->failed = true;
    }
    if (result && !waiter->failed)
        *result = waiter->result;
    return !waiter->failed;
}

int64_t SendMessage(HWND hwnd, uint32_t msg, uint64_t wParam, int64_t lParam) {
    int64_t r = 0;
    SendMessageChecked(hwnd, msg, wParam, lParam, &r);
    return r;
}

bool SetTimer(HWND hwnd, uint32_t id, uint32_t elapseMs) {
    LoopState& s = Loop();
    {
        std::lock_guard lock(s.m);
        if (!s.windows.count(hwnd))
            return false;
        uint64_t due = platform::NowMs() + std::max<uint32_t>(elapseMs, 1);
        bool found = false;
        for (auto& t : s.timers) {
            if (t.hwnd == hwnd && t.id == id) {
                t.elapse = elapseMs;
                t.due = due;
                found = true;
            }
        }
        if (!found)
            s.timers.push_back({hwnd, id, elapseMs, due});
        s.cv.notify_all();
    }
    // The idle wait was measured against the old timers.
    WakeBackend();
    return true;
}

bool KillTimer(HWND hwnd, uint32_t id) {
    LoopState& s = Loop();
    std::lock_guard lock(s.m);
    auto before = s.timers.size();
    std::erase_if(s.timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    return s.timers.size() != before;
}

void PostQuitMessage(int exitCode) {
    LoopState& s = Loop();
    {
        std::lock_guard lock(s.m);
        s.quit = true;
        s.exitCode = exitCode;
        s.cv.notify_all();
        s.sendCv.notify_all();
    }
    WakeBackend();
}

bool QuitRequested() {
    LoopState& s = Loop();
    std::lock_guard lock(s.m);
    return s.quit;
}

void ResetQuit() {
    LoopState& s = Loop();
    std::lock_guard lock(s.m);
    s.quit = false;
    s.exitCode = 0;
}

bool PumpMessages(uint32_t maxWaitMs) {
    LoopState& s = Loop();
    {
        std::lock_guard lock(s.m);
        if (!s.uiThreadSet) {
            s.uiThread = std::this_thread::get_id();
            s.uiThreadSet = true;
        }
    }
    DisplayBackend& backend = CurrentBackend();
    // Input from the display becomes posted messages, handled in this round.
    bool didWork = backend.PumpEvents();
    // Timers that are due.
    std::vector<std::pair<HWND, uint32_t>> fired;
    {
        std::lock_guard lock(s.m);
        uint64_t now = platform::NowMs();
        for (auto& t : s.timers) {
            if (t.due <= now) {
                fired.emplace_back(t.hwnd, t.id);
                t.due = now + std::max<uint32_t>(t.elapse, 1);
            }
        }
    }
    for (const auto& timer : fired) {
        const HWND hwnd = timer.first;
        const uint32_t id = timer.second;
        // A timer killed by an earlier one in this round does not fire.
        bool alive;
        {
            std::lock_guard lock(s.m);
            alive = std::any_of(s.timers.begin(), s.timers.end(),
                                [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
        }
        if (!alive)
            continue;
        if (CWindowWnd* w = WindowFromHandle(hwnd))
            w->HandleMessage(WM_TIMER, id, 0);
        didWork = true;
    }
    // Queued messages present now (new ones wait for the next round).
    size_t n;
    {
        std::lock_guard lock(s.m);
        n = s.queue.size();
    }
    for (size_t i = 0; i < n; ++i) {
        QueueItem item;
        {
            std::lock_guard lock(s.m);
            if (s.queue.empty())
                break;
            item = std::move(s.queue.front());
            s.queue.pop_front();
            if (item.waiter && item.waiter->done)
                continue;  // the sender gave up
        }
        Dispatch(item);
        didWork = true;
    }
    for (CPaintManagerUI* pm : CPaintManagerUI::AllManagers())
        pm->DeliverAsyncNotifications();
    for (CPaintManagerUI* pm : CPaintManagerUI::AllManagers())
        pm->LayoutIfNeeded();
    // What changed on screen is repainted once per round, after the messages that changed it.
    for (CPaintManagerUI* pm : CPaintManagerUI::AllManagers()) {
        CWindowWnd* w = pm->GetWindow();
        if (w && w->GetHWND() && w->IsVisible() && !w->IsMinimized() && pm->IsDirty())
            backend.Present(*w, *pm);
    }

    std::unique_lock lock(s.m);
    if (s.quit)
        return false;
    if (didWork || !s.queue.empty() || maxWaitMs == 0)
        return true;
    uint64_t now = platform::NowMs();
    uint64_t wakeAt = now + maxWaitMs;
    for (const auto& t : s.timers)
        wakeAt = std::min(wakeAt, t.due);
    if (wakeAt <= now)
        return true;
    if (backend.WaitsForEvents()) {
        // Posts from other threads wake the backend (WakeBackend), so nothing is missed between
        // here and the wait.
        lock.unlock();
        backend.WaitEvents(static_cast<uint32_t>(wakeAt - now));
        lock.lock();
        return !s.quit;
    }
    s.cv.wait_for(lock, std::chrono::milliseconds(wakeAt - now),
                  [&] { return s.quit || !s.queue.empty(); });
    return !s.quit;
}

int MessageLoop() {
    while (PumpMessages(50)) {
    }
    LoopState& s = Loop();
    std::lock_guard lock(s.m);
    return s.exitCode;
}

void RunFor(uint32_t ms) {
    uint64_t end = platform::NowMs() + ms;
    for (;;) {
        uint64_t now = platform::NowMs();
        if (now >= end)
            break;
        if (!PumpMessages(static_cast<uint32_t>(std::min<uint64_t>(end - now, 10))))
            break;
    }
}

std::vector<CWindowWnd*> WindowsInZOrder() {
    LoopState& s = Loop();
    std::lock_guard lock(s.m);
    std::vector<CWindowWnd*> out;
    for (auto& [h, w] : s.windows)
        out.push_back(w);
    std::sort(out.begin(), out.end(), [](CWindowWnd* a, CWindowWnd* b) {
        if (a->IsTopmost() != b->IsTopmost())
            return a->IsTopmost();
        return a->ZOrder() > b->ZOrder();
    });
    return out;
}

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() {
    if (hwnd_)
        DestroyWindow();
}

HWND CWindowWnd::Create(HWND parent, const std::string& caption, uint32_t style, uint32_t exStyle,
                        int x, int y, int cx, int cy) {
    LoopState& s = Loop();
    {
        std::lock_guard lock(s.m);
        if (!s.uiThreadSet) {
            s.uiThread = std::this_thread::get_id();
            s.uiThreadSet = true;
        }
        hwnd_ = s.nextHandle++;
        zOrder_ = s.nextZ++;
        s.windows[hwnd_] = this;
    }
    owner_ = parent;
    caption_ = caption;
    style_ = style;
    exStyle_ = exStyle;
    topmost_ = exStyle & WS_EX_TOPMOST;
    rect_ = {x, y, x + cx, y + cy};
    closing_ = false;
    CurrentBackend().CreateNativeWindow(*this);
    HandleMessage(WM_CREATE, 0, 0);
    if (style & WS_VISIBLE)
        ShowWindow(true);
    return hwnd_;
}

void CWindowWnd::DestroyWindow() {
    HWND h = hwnd_;
    if (!h)
        return;
    LoopState& s = Loop();
    {
        std::lock_guard lock(s.m);
        s.closing.insert(h);
        FailWaitersLocked(s, h);
    }
    HandleMessage(WM_DESTROY, 0, 0);
    {
        std::lock_guard lock(s.m);
        s.windows.erase(h);
        s.closing.erase(h);
        std::erase_if(s.timers, [&](const Timer& t) { return t.hwnd == h; });
        if (!modalRunning_)
            s.modalResults.erase(h);
        else if (!s.modalResults.count(h))
            s.modalResults[h] = modalResult_;
        s.sendCv.notify_all();
        s.cv.notify_all();
    }
    if (owner_) {
        if (CWindowWnd* o = WindowFromHandle(owner_); o && modalRunning_)
            o->EnableWindow(true);
    }
    CurrentBackend().DestroyNativeWindow(h);
    hwnd_ = 0;
    visible_ = false;
    OnFinalMessage(h);  // may delete this
}

void CWindowWnd::Close(uint32_t result) {
    if (!hwnd_)
        return;
    modalResult_ = result;
    {
        LoopState& s = Loop();
        std::lock_guard lock(s.m);
        s.modalResults[hwnd_] = result;
    }
    PostMessage(hwnd_, WM_CLOSE, result, 0);
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (!hwnd_)
        return;
    if (show) {
        LoopState& s = Loop();
        std::lock_guard lock(s.m);
        zOrder_ = s.nextZ++;
    }
    if (show || visible_)
        CurrentBackend().ShowNativeWindow(hwnd_, show, takeFocus);  // showing again raises it
    if (visible_ == show)
        return;
    visible_ = show;
    if (show)
        minimized_ = false;
    HandleMessage(WM_SHOWWINDOW, show ? 1 : 0, 0);
}

void CWindowWnd::SetMinimized(bool on) {
    if (minimized_ == on)
        return;
    minimized_ = on;
    if (hwnd_)
        CurrentBackend().SetNativeMinimized(hwnd_, on);
}

void CWindowWnd::SetTopmost(bool on) {
    if (topmost_ == on)
        return;
    topmost_ = on;
    if (hwnd_)
        CurrentBackend().SetNativeTopmost(hwnd_, on);
}

void CWindowWnd::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (hwnd_)
        CurrentBackend().SetNativeCaption(hwnd_, caption);
}

void CWindowWnd::OnDisplayMoved(const Rect& rect) {
    ApplyRect(rect);
}

void CWindowWnd::OnDisplayMinimized(bool on) {
    minimized_ = on;
}

uint32_t CWindowWnd::ShowModal() {
    HWND h = hwnd_;
    if (!h)
        return 0;
    CWindowWnd* owner = WindowFromHandle(owner_);
    if (owner)
        owner->EnableWindow(false);
    modalRunning_ = true;
    ShowWindow(true);
    while (IsWindow(h) && PumpMessages(20)) {
    }
    // The window may have deleted itself: read the result from the loop's record, not from this.
    LoopState& s = Loop();
    std::lock_guard lock(s.m);
    uint32_t result = s.modalResults.count(h) ? s.modalResults[h] : 0;
    s.modalResults.erase(h);
    return result;
}

void CWindowWnd::CenterWindow() {
    Rect area = MonitorRectOf(hwnd_);
    if (CWindowWnd* o = WindowFromHandle(owner_); o && o->IsVisible())
        area = o->GetWindowRect();
    int w = rect_.Width(), h = rect_.Height();
    int x = area.left + (area.Width() - w) / 2, y = area.top + (area.Height() - h) / 2;
    MoveWindow(std::max(0, x), std::max(0, y), w, h);
}

void CWindowWnd::MoveWindow(int x, int y, int cx, int cy) {
    Rect r{x, y, x + std::max(0, cx), y + std::max(0, cy)};
    if (hwnd_ && !(r == rect_))
        CurrentBackend().MoveNativeWindow(hwnd_, r);
    ApplyRect(r);
}

void CWindowWnd::ApplyRect(const Rect& r) {
    bool resized = r.Width() != rect_.Width() || r.Height() != rect_.Height();
    rect_ = r;
    if (resized && hwnd_)
        HandleMessage(WM_SIZE, 0, MakeLParam(r.Width(), r.Height()));
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    MoveWindow(rect_.left, rect_.top, cx, cy);
}

int64_t CWindowWnd::HandleMessage(uint32_t msg, uint64_t wParam, int64_t /*lParam*/) {
    if (msg == WM_CLOSE) {
        DestroyWindow();
        return 0;
    }
    if (msg == WM_SYSCOMMAND) {
        // What the system does with the window commands nobody handled.
        switch (wParam & 0xFFF0) {
            case SC_CLOSE:
                Close(0);
                break;
            case SC_MINIMIZE:
                SetMinimized(true);
                break;
            case SC_RESTORE:
                SetMinimized(false);
                ShowWindow(true);
                break;
            default:
                break;
        }
    }
    return 0;
}

void CWindowWnd::OnFinalMessage(HWND) {}

}  // namespace dravik::ui
