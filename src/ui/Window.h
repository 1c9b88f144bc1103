#pragma once
// Windows and the UI thread's message loop. Every window has a handle; PostMessage queues a
// message for the UI thread; SendMessage from the UI thread calls the window at once and from
// another thread blocks until the UI thread has handled it, failing at once when the window is
// gone or closing. Timers, modal windows with nested loops and quitting are here too.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/Geometry.h"
#include "ui/Messages.h"

namespace dravik::ui {

class CWindowWnd {
  public:
    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return hwnd_; }
    HWND Create(HWND parent, const std::string& caption, uint32_t style, uint32_t exStyle, int x,
                int y, int cx, int cy);
    // Destroys the window now (WM_DESTROY, then OnFinalMessage).
    void DestroyWindow();
    // Asks the window to close: WM_CLOSE is sent with the result in wParam; a modal loop running
    // for it returns that result.
    void Close(uint32_t result = IDOK);
    // Showing an already visible window raises it; takeFocus activates it as well.
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Runs a nested loop until this window closes; the owner is disabled meanwhile.
    uint32_t ShowModal();
    void CenterWindow();
    void SetIcon(uint32_t resourceId) { icon_ = resourceId; }
    uint32_t GetIcon() const { return icon_; }

    bool IsVisible() const { return visible_; }
    bool IsMinimized() const { return minimized_; }
    void SetMinimized(bool on);
    bool IsTopmost() const { return topmost_; }
    void SetTopmost(bool on);
    bool IsEnabled() const { return enabled_; }
    void EnableWindow(bool on) { enabled_ = on; }
    bool IsClosing() const { return closing_; }
    HWND GetOwner() const { return owner_; }
    const std::string& GetCaption() const { return caption_; }
    void SetCaption(const std::string& caption);
    uint32_t GetStyle() const { return style_; }

    Rect GetWindowRect() const { return rect_; }
    void MoveWindow(int x, int y, int cx, int cy);
    void ResizeClient(int cx, int cy);
    uint32_t GetExStyle() const { return exStyle_; }

    // The display backend reports what the desktop did to the window (the user moved, resized,
    // minimised or restored it); the window takes the new state without asking the backend back.
    void OnDisplayMoved(const Rect& rect);
    void OnDisplayMinimized(bool on);

    virtual std::string GetWindowClassName() const { return "Window"; }
    // Popup windows (menus, drop-downs) close when another window gets a button press.
    virtual bool ClosesOnOutsideClick() const { return false; }
    virtual int64_t HandleMessage(uint32_t msg, uint64_t wParam, int64_t lParam);
    // Called after the window was destroyed; the object may delete itself here.
    virtual void OnFinalMessage(HWND hwnd);

    // Position of the z-order (higher = nearer the top); raised when shown.
    uint64_t ZOrder() const { return zOrder_; }

  private:
    // Takes a new rectangle; WM_SIZE when the size changed.
    void ApplyRect(const Rect& r);

    HWND hwnd_ = 0;
    HWND owner_ = 0;
    std::string caption_;
    uint32_t style_ = 0, exStyle_ = 0;
    Rect rect_;
    bool visible_ = false;
    bool minimized_ = false;
    bool topmost_ = false;
    bool enabled_ = true;
    bool closing_ = false;
    bool modalRunning_ = false;
    uint32_t modalResult_ = 0;
    uint32_t icon_ = 0;
    uint64_t zOrder_ = 0;
};

// Process-wide window and message functions.
CWindowWnd* WindowFromHandle(HWND hwnd);
bool IsWindow(HWND hwnd);
bool PostMessage(HWND hwnd, uint32_t msg, uint64_t wParam = 0, int64_t lParam = 0);
// Returns false (and result 0) when the window is gone or closing, or the loop stopped.
bool SendMessageChecked(HWND hwnd, uint32_t msg, uint64_t wParam, int64_t lParam,
                        int64_t* result = nullptr);
int64_t SendMessage(HWND hwnd, uint32_t msg, uint64_t wParam = 0, int64_t lParam = 0);
// Window timers: WM_TIMER with wParam = id every elapseMs on the UI thread.
bool SetTimer(HWND hwnd, uint32_t id, uint32_t elapseMs);
bool KillTimer(HWND hwnd, uint32_t id);
void PostQuitMessage(int exitCode);
// Runs a function on the UI thread (queued).
void PostTask(std::function<void()> task);
// Runs fn on the UI thread and waits for it (directly when called on the UI thread). False when
// the loop has quit or did not get to it within timeoutMs.
bool RunOnUiThread(const std::function<void()>& fn, uint32_t timeoutMs = 30000);

// The UI thread's loop: runs until the quit message; returns its exit code.
int MessageLoop();
// Processes what is due now and waits up to maxWaitMs for more; false once quit was posted.
bool PumpMessages(uint32_t maxWaitMs);
// Runs the loop for a period (tests and the script's wait).
void RunFor(uint32_t ms);
bool QuitRequested();
void ResetQuit();
bool IsUiThread();
// Every live window, topmost first.
std::vector<CWindowWnd*> WindowsInZOrder();

}  // namespace dravik::ui
