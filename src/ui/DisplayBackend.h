#pragma once
// The display backend: where windows appear and where input comes from. The window layer calls
// it when a window is created, shown, moved, minimised, made topmost or destroyed; the message
// loop asks it for the input that arrived (which it posts as the usual window messages), waits
// through it when idle, and has it present each window whose paint manager has something to
// repaint. The headless backend keeps windows in memory only and paints on request (screenshots);
// the SDL backend (SdlBackend.h) shows real windows.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ui/Geometry.h"
#include "ui/Messages.h"

namespace dravik::ui {

class CWindowWnd;
class CPaintManagerUI;

class DisplayBackend {
  public:
    virtual ~DisplayBackend() = default;
    virtual const char* Name() const = 0;

    // Window life, on the UI thread. CreateNativeWindow runs once the window has its handle,
    // geometry and styles, before WM_CREATE; the window starts hidden.
    virtual void CreateNativeWindow(CWindowWnd& /*window*/) {}
    virtual void DestroyNativeWindow(HWND /*hwnd*/) {}
    virtual void ShowNativeWindow(HWND /*hwnd*/, bool /*show*/, bool /*activate*/) {}
    virtual void MoveNativeWindow(HWND /*hwnd*/, const Rect& /*rect*/) {}
    virtual void SetNativeTopmost(HWND /*hwnd*/, bool /*on*/) {}
    virtual void SetNativeMinimized(HWND /*hwnd*/, bool /*on*/) {}
    virtual void SetNativeCaption(HWND /*hwnd*/, const std::string& /*caption*/) {}

    // Translates what arrived from the display into posted window messages. True when anything
    // arrived.
    virtual bool PumpEvents() { return false; }
    // True when the idle loop waits in WaitEvents instead of on its own queue.
    virtual bool WaitsForEvents() const { return false; }
    // Waits up to ms for display input or Wake(), translating what arrives.
    virtual void WaitEvents(uint32_t /*ms*/) {}
    // Any thread: ends a WaitEvents in progress (or the next one) at once.
    virtual void Wake() {}
    // Brings the window's pixels up to date with its control tree: repaints what the paint
    // manager marked invalid and shows it. The headless backend has nothing to show.
    virtual void Present(CWindowWnd& /*window*/, CPaintManagerUI& /*manager*/) {}

    // The whole rectangle of the monitor the window is on (or the primary one for 0); nullopt
    // when the backend has no monitors to ask (headless).
    virtual std::optional<Rect> MonitorRect(HWND /*hwnd*/) const { return std::nullopt; }
    // Device pixels per window pixel (2 on a doubled HiDPI output).
    virtual double PixelScale(HWND /*hwnd*/) const { return 1.0; }
};

// The backend in use; headless unless another was installed.
DisplayBackend& CurrentBackend();
// Installs a backend; nullptr goes back to headless. Call on the UI thread while no window
// exists and no other thread posts messages (start-up and tear-down).
void SetDisplayBackend(std::unique_ptr<DisplayBackend> backend);

}  // namespace dravik::ui
