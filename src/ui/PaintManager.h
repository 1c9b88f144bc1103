#pragma once
// CPaintManagerUI: one per window. It holds the control tree, finds controls by name or point,
// routes notifications to notifiers, passes window messages to message filters, turns mouse and
// key messages into control events (hot, pressed, capture and focus tracking), runs control
// timers, lays the tree out and scales it by the window's DPI.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Events.h"
#include "ui/Messages.h"

namespace dravik::ui {

class CWindowWnd;

struct FontInfo {
    std::string face;
    int size = 12;
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

class CPaintManagerUI {
  public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    void Init(CWindowWnd* window);
    CWindowWnd* GetWindow() const { return window_; }
    HWND GetPaintWindow() const;

    // Takes ownership of the tree.
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return root_; }

    CControlUI* FindControl(const std::string& name) const;
    CControlUI* FindControl(Point pt) const;
    CControlUI* FindSubControlByName(CControlUI* parent, const std::string& name) const;
    CControlUI* FindSubControlByClass(CControlUI* parent, const std::string& cls,
                                      int index = 0) const;
    std::vector<CControlUI*> FindSubControlsByClass(CControlUI* parent,
                                                    const std::string& cls) const;

    void SendNotify(CControlUI* control, const std::string& type, uint64_t wParam = 0,
                    int64_t lParam = 0, bool async = false);
    void SendNotify(TNotifyUI& msg, bool async = false);
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    bool AddMessageFilter(IMessageFilterUI* filter);
    bool RemoveMessageFilter(IMessageFilterUI* filter);
    // Delivers queued asynchronous notifications (the message loop calls it).
    void DeliverAsyncNotifications();

    bool SetTimer(CControlUI* control, uint32_t id, uint32_t elapseMs);
    bool KillTimer(CControlUI* control, uint32_t id);
    void KillTimers(CControlUI* control);
    // A window timer fired; returns true when it was one of the control timers.
    bool OnTimer(uint32_t windowTimerId);

    CControlUI* GetFocus() const { return focus_; }
    void SetFocus(CControlUI* control);
    CControlUI* GetHot() const { return hot_; }
    CControlUI* GetCapture() const { return capture_; }

    // Window messages: message filters first, then the input and layout messages it handles.
    bool MessageHandler(uint32_t msg, uint64_t wParam, int64_t lParam, int64_t& result);

    // DPI: layout sizes are given at 96 and scaled to the chosen DPI. Changing it scales the
    // window's size by the same ratio (its top-left corner stays).
    void SetDPI(int dpi);
    int GetDPI() const { return dpi_; }
    int Scale(int value) const { return value * dpi_ / 96; }
    static void SetAllDPI(int dpi);

    void NeedUpdate() { needUpdate_ = true; }
    // Marks the whole client area, or a part of it, for repainting.
    void Invalidate() { dirty_ = fullDirty_ = true; }
    void Invalidate(const Rect& rc);
    bool IsDirty() const { return dirty_; }
    // The part to repaint (clipped to the client area; empty when nothing), and the mark cleared.
    Rect TakeInvalidRect();
    // Lays the tree out in the client area when something changed.
    void LayoutIfNeeded();
    void SetClientSize(Size size);
    Size GetClientSize() const { return client_; }

    // The caption: where a press moves the window instead of reaching a control. Given by the
    // skin's Window caption="l,t,r,b" at 96 DPI: left, top and bottom from the top-left corner,
    // right as a distance from the right edge. All zero (the default) means no caption.
    void SetCaptionRect(const Rect& r) { caption_ = r; }
    const Rect& GetCaptionRect() const { return caption_; }
    // True when a press at pt (client pixels) should move the window: inside the caption, the
    // window enabled, and no control there that takes presses itself (buttons, options, edits,
    // sliders and progress bars, combos, lists and their items).
    bool IsCaptionAt(Point pt) const;

    // Shared fonts by number (process-wide defaults plus this window's own).
    static void SetSharedFont(int id, const FontInfo& font);
    static void ClearSharedFonts();
    void AddFont(int id, const FontInfo& font) { fonts_[id] = font; }
    // Removes this window's own fonts (the shared ones stay).
    void RemoveAllFonts() { fonts_.clear(); }
    // The font used where a control names none (number -1), shared by every window.
    static void SetDefaultFont(const FontInfo& font) { SetSharedFont(-1, font); }
    const FontInfo* GetFont(int id) const;
    const FontInfo& GetDefaultFont() const;

    // A control is going away: clear every reference to it.
    void ReapObjects(CControlUI* control);

    static const std::vector<CPaintManagerUI*>& AllManagers();

  private:
    void HandleMouse(UIEvent type, Point pt, uint64_t wParam);
    void SetHot(CControlUI* control, Point pt);

    CWindowWnd* window_ = nullptr;
    CControlUI* root_ = nullptr;
    CControlUI* focus_ = nullptr;
    CControlUI* hot_ = nullptr;
    CControlUI* capture_ = nullptr;  // the control that got the button down
    std::vector<INotifyUI*> notifiers_;
    std::vector<IMessageFilterUI*> filters_;
    std::deque<TNotifyUI> asyncNotifications_;
    struct ControlTimer {
        CControlUI* control;
        uint32_t id;
        uint32_t windowTimerId;
    };
    std::vector<ControlTimer> timers_;
    uint32_t nextTimerId_ = 0x10000;
    int dpi_ = 96;
    bool needUpdate_ = true;
    bool dirty_ = true;
    bool fullDirty_ = true;
    Rect invalid_;  // union of the partial marks while !fullDirty_
    Size client_;
    Rect caption_;
    std::map<int, FontInfo> fonts_;
};

}  // namespace dravik::ui
