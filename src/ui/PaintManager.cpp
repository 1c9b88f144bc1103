#include "ui/PaintManager.h"

#include <algorithm>

#include "platform/Clock.h"
#include "ui/Window.h"

namespace dravik::ui {
namespace {

std::vector<CPaintManagerUI*>& Managers() {
    static std::vector<CPaintManagerUI*> list;
    return list;
}

std::map<int, FontInfo>& SharedFonts() {
    static std::map<int, FontInfo> fonts;
    return fonts;
}

}  // namespace

const std::vector<CPaintManagerUI*>& CPaintManagerUI::AllManagers() {
    return Managers();
}

CPaintManagerUI::CPaintManagerUI() {
    Managers().push_back(this);
}

CPaintManagerUI::~CPaintManagerUI() {
    auto& m = Managers();
    m.erase(std::remove(m.begin(), m.end(), this), m.end());
    CControlUI* root = root_;
    root_ = nullptr;
    delete root;
}

void CPaintManagerUI::Init(CWindowWnd* window) {
    window_ = window;
}

HWND CPaintManagerUI::GetPaintWindow() const {
    return window_ ? window_->GetHWND() : 0;
}

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    if (!root)
        return false;
    if (root_ && root_ != root) {
        CControlUI* old = root_;
        root_ = nullptr;
        delete old;
    }
    focus_ = hot_ = capture_ = nullptr;
    root_ = root;
    root->SetManager(this, nullptr, true);
    needUpdate_ = true;
    Invalidate();
    return true;
}

CControlUI* CPaintManagerUI::FindControl(const std::string& name) const {
    if (!root_ || name.empty())
        return nullptr;
    return root_->FindFirst([&](CControlUI* c) { return c->GetName() == name; });
}

CControlUI* CPaintManagerUI::FindControl(Point pt) const {
    return root_ ? root_->FindControlAt(pt) : nullptr;
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent,
                                                  const std::string& name) const {
    if (!parent || name.empty())
        return nullptr;
    return parent->FindFirst([&](CControlUI* c) { return c->GetName() == name; });
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* parent, const std::string& cls,
                                                   int index) const {
    auto all = FindSubControlsByClass(parent, cls);
    return index >= 0 && index < static_cast<int>(all.size()) ? all[static_cast<size_t>(index)]
                                                              : nullptr;
}

std::vector<CControlUI*> CPaintManagerUI::FindSubControlsByClass(CControlUI* parent,
                                                                 const std::string& cls) const {
    std::vector<CControlUI*> out;
    if (!parent)
        return out;
    parent->FindFirst([&](CControlUI* c) {
        if (c->GetClass() == cls)
            out.push_back(c);
        return false;
    });
    return out;
}

void CPaintManagerUI::SendNotify(CControlUI* control, const std::string& type, uint64_t wParam,
                                 int64_t lParam, bool async) {
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = control;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, async);
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async) {
    msg.dwTimestamp = static_cast<uint32_t>(platform::NowMs());
    if (msg.pSender)
        msg.sVirtualWnd = msg.pSender->GetVirtualWnd();
    if (async) {
        asyncNotifications_.push_back(msg);
        if (HWND h = GetPaintWindow())
            PostMessage(h, WM_USER + 0x7FF, 0, 0);  // wake the loop
        return;
    }
    auto notifiers = notifiers_;  // a notifier may add or remove notifiers
    for (INotifyUI* n : notifiers)
        if (std::find(notifiers_.begin(), notifiers_.end(), n) != notifiers_.end())
            n->Notify(msg);
}

void CPaintManagerUI::DeliverAsyncNotifications() {
    while (!asyncNotifications_.empty()) {
        TNotifyUI msg = asyncNotifications_.front();
        asyncNotifications_.pop_front();
        auto notifiers = notifiers_;
        for (INotifyUI* n : notifiers)
            if (std::find(notifiers_.begin(), notifiers_.end(), n) != notifiers_.end())
                n->Notify(msg);
    }
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    if (!notifier || std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end())
        return false;
    notifiers_.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    auto it = std::find(notifiers_.begin(), notifiers_.end(), notifier);
    if (it == notifiers_.end())
        return false;
    notifiers_.erase(it);
    return true;
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter) {
    if (!filter || std::find(filters_.begin(), filters_.end(), filter) != filters_.end())
        return false;
    filters_.push_back(filter);
    return true;
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) {
    auto it = std::find(filters_.begin(), filters_.end(), filter);
    if (it == filters_.end())
        return false;
    filters_.erase(it);
    return true;
}

bool CPaintManagerUI::SetTimer(CControlUI* control, uint32_t id, uint32_t elapseMs) {
    HWND h = GetPaintWindow();
    if (!control || !h)
        return false;
    for (auto& t : timers_)
        if (t.control == control && t.id == id)
            return ui::SetTimer(h, t.windowTimerId, elapseMs);
    ControlTimer t{control, id, nextTimerId_++};
    if (!ui::SetTimer(h, t.windowTimerId, elapseMs))
        return false;
    timers_.push_back(t);
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, uint32_t id) {
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->control == control && it->id == id) {
            ui::KillTimer(GetPaintWindow(), it->windowTimerId);
            timers_.erase(it);
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimers(CControlUI* control) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->control == control) {
            ui::KillTimer(GetPaintWindow(), it->windowTimerId);
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
}

bool CPaintManagerUI::OnTimer(uint32_t windowTimerId) {
    for (const auto& t : timers_) {
        if (t.windowTimerId != windowTimerId)
            continue;
        TEventUI e;
        e.type = UIEvent::Timer;
        e.pSender = t.control;
        e.wParam = t.id;
        e.dwTimestamp = static_cast<uint32_t>(platform::NowMs());
        t.control->DoEvent(e);
        return true;
    }
    return false;
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
    if (control == focus_)
        return;
    CControlUI* old = focus_;
    focus_ = control;
    if (old) {
        TEventUI e;
        e.type = UIEvent::KillFocus;
        e.pSender = old;
        old->DoEvent(e);
    }
    if (focus_ && focus_ == control) {
        TEventUI e;
        e.type = UIEvent::SetFocus;
        e.pSender = control;
        control->DoEvent(e);
    }
}

void CPaintManagerUI::SetHot(CControlUI* control, Point pt) {
    if (control == hot_)
        return;
    CControlUI* old = hot_;
    hot_ = control;
    if (old) {
        TEventUI e;
        e.type = UIEvent::MouseLeave;
        e.pSender = old;
        e.ptMouse = pt;
        old->DoEvent(e);
    }
    if (control) {
        TEventUI e;
        e.type = UIEvent::MouseEnter;
        e.pSender = control;
        e.ptMouse = pt;
        control->DoEvent(e);
    }
}

void CPaintManagerUI::HandleMouse(UIEvent type, Point pt, uint64_t wParam) {
    TEventUI e;
    e.type = type;
    e.ptMouse = pt;
    e.wParam = wParam;
    e.dwTimestamp = static_cast<uint32_t>(platform::NowMs());
    switch (type) {
        case UIEvent::MouseMove: {
            CControlUI* under = FindControl(pt);
            SetHot(under && under->IsEffectivelyEnabled() ? under : nullptr, pt);
            CControlUI* target = capture_ ? capture_ : hot_;
            if (target) {
                e.pSender = target;
                target->DoEvent(e);
            }
            return;
        }
        case UIEvent::ButtonDown:
        case UIEvent::DblClick:
        case UIEvent::RButtonDown: {
            CControlUI* c = FindControl(pt);
            if (!c || !c->IsEffectivelyEnabled())
                return;
            if (type != UIEvent::RButtonDown)
                capture_ = c;
            SetFocus(c);
            e.pSender = c;
            c->DoEvent(e);
            return;
        }
        case UIEvent::ButtonUp: {
            CControlUI* c = capture_;
            capture_ = nullptr;
            if (!c || !c->IsEffectivelyEnabled())
                return;
            e.pSender = c;
            c->DoEvent(e);
            return;
        }
        case UIEvent::RButtonUp: {
            CControlUI* c = FindControl(pt);
            if (!c || !c->IsEffectivelyEnabled())
                return;
            e.pSender = c;
            c->DoEvent(e);
            SendNotify(c, "menu", 0, MakeLParam(pt.x, pt.y));
            return;
        }
        case UIEvent::ScrollWheel: {
            CControlUI* c = FindControl(pt);
            if (!c || !c->IsEffectivelyEnabled())
                return;
            e.pSender = c;
            c->DoEvent(e);
            return;
        }
        default:
            return;
    }
}

bool CPaintManagerUI::MessageHandler(uint32_t msg, uint64_t wParam, int64_t lParam,
                                     int64_t& result) {
    auto filters = filters_;
    for (IMessageFilterUI* f : filters) {
        bool handled = false;
        int64_t r = f->MessageHandler(msg, wParam, lParam, handled);
        if (handled) {
            result = r;
            return true;
        }
    }
    Point pt{LParamX(lParam), LParamY(lParam)};
    bool enabledWindow = !window_ || window_->IsEnabled();
    switch (msg) {
        case WM_SIZE:
            SetClientSize({LParamX(lParam) & 0xFFFF, LParamY(lParam) & 0xFFFF});
            return false;
        case WM_TIMER:
            return OnTimer(static_cast<uint32_t>(wParam));
        case WM_MOUSEMOVE:
            if (enabledWindow)
                HandleMouse(UIEvent::MouseMove, pt, wParam);
            return false;
        case WM_LBUTTONDOWN:
            if (enabledWindow)
                HandleMouse(UIEvent::ButtonDown, pt, wParam);
            return false;
        case WM_LBUTTONUP:
            if (enabledWindow)
                HandleMouse(UIEvent::ButtonUp, pt, wParam);
            return false;
        case WM_LBUTTONDBLCLK:
            if (enabledWindow)
                HandleMouse(UIEvent::DblClick, pt, wParam);
            return false;
        case WM_RBUTTONDOWN:
            if (enabledWindow)
                HandleMouse(UIEvent::RButtonDown, pt, wParam);
            return false;
        case WM_RBUTTONUP:
            if (enabledWindow)
                HandleMouse(UIEvent::RButtonUp, pt, wParam);
            return false;
        case WM_MOUSEWHEEL:
            if (enabledWindow)
                HandleMouse(UIEvent::ScrollWheel, pt, wParam);
            return false;
        case WM_MOUSELEAVE:
            SetHot(nullptr, pt);
            return false;
        case WM_MOUSEHOVER:
            // The pointer rested: the control under it hears of it (tooltips, hover effects).
            if (hot_ && enabledWindow) {
                TEventUI e;
                e.type = UIEvent::MouseHover;
                e.pSender = hot_;
                e.ptMouse = pt;
                e.wParam = wParam;
                e.dwTimestamp = static_cast<uint32_t>(platform::NowMs());
                hot_->DoEvent(e);
            }
            return false;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR: {
            if (!focus_ || !enabledWindow || !focus_->IsEffectivelyEnabled())
                return false;
            TEventUI e;
            e.type = msg == WM_KEYDOWN ? UIEvent::KeyDown
                     : msg == WM_KEYUP ? UIEvent::KeyUp
                                       : UIEvent::Char;
            e.pSender = focus_;
            e.chKey = static_cast<uint32_t>(wParam);
            e.lParam = lParam;
            focus_->DoEvent(e);
            return false;
        }
        default:
            return false;
    }
}

void CPaintManagerUI::SetDPI(int dpi) {
    if (dpi <= 0 || dpi == dpi_)
        return;
    int old = dpi_;
    dpi_ = dpi;
    needUpdate_ = true;
    Invalidate();
    if (window_ && window_->GetHWND()) {
        Rect r = window_->GetWindowRect();
        window_->MoveWindow(r.left, r.top, r.Width() * dpi / old, r.Height() * dpi / old);
    }
}

void CPaintManagerUI::SetAllDPI(int dpi) {
    for (CPaintManagerUI* pm : Managers())
        pm->SetDPI(dpi);
}

void CPaintManagerUI::LayoutIfNeeded() {
    if (!needUpdate_ || !root_)
        return;
    needUpdate_ = false;
    root_->SetPos({0, 0, client_.cx, client_.cy});
    Invalidate();
}

void CPaintManagerUI::SetClientSize(Size size) {
    if (size == client_)
        return;
    client_ = size;
    needUpdate_ = true;
    Invalidate();
}

void CPaintManagerUI::Invalidate(const Rect& rc) {
    if (fullDirty_ || rc.Empty())
        return;
    invalid_ = dirty_
                   ? Rect{std::min(invalid_.left, rc.left), std::min(invalid_.top, rc.top),
                          std::max(invalid_.right, rc.right), std::max(invalid_.bottom, rc.bottom)}
                   : rc;
    dirty_ = true;
}

Rect CPaintManagerUI::TakeInvalidRect() {
    Rect client{0, 0, client_.cx, client_.cy};
    Rect r = !dirty_ ? Rect{} : fullDirty_ ? client : invalid_.Intersect(client);
    dirty_ = fullDirty_ = false;
    invalid_ = {};
    return r;
}

bool CPaintManagerUI::IsCaptionAt(Point pt) const {
    if (caption_ == Rect{} || (window_ && !window_->IsEnabled()))
        return false;
    Rect area{Scale(caption_.left), Scale(caption_.top), client_.cx - Scale(caption_.right),
              Scale(caption_.bottom)};
    if (!area.Contains(pt))
        return false;
    CControlUI* c = FindControl(pt);
    if (!c)
        return true;
    for (const char* takesPresses : {"Button", "Edit", "Progress", "Combo", "List", "ListItem"})
        if (c->GetInterface(takesPresses))
            return false;
    return true;
}

void CPaintManagerUI::SetSharedFont(int id, const FontInfo& font) {
    SharedFonts()[id] = font;
}

void CPaintManagerUI::ClearSharedFonts() {
    SharedFonts().clear();
}

const FontInfo* CPaintManagerUI::GetFont(int id) const {
    if (auto it = fonts_.find(id); it != fonts_.end())
        return &it->second;
    auto& shared = SharedFonts();
    if (auto it = shared.find(id); it != shared.end())
        return &it->second;
    return nullptr;
}

const FontInfo& CPaintManagerUI::GetDefaultFont() const {
    static const FontInfo fallback{"Noto Sans", 14, false, false, false};
    const FontInfo* f = GetFont(-1);
    return f ? *f : fallback;
}

void CPaintManagerUI::ReapObjects(CControlUI* control) {
    if (focus_ == control)
        focus_ = nullptr;
    if (hot_ == control)
        hot_ = nullptr;
    if (capture_ == control)
        capture_ = nullptr;
    KillTimers(control);
    std::erase_if(asyncNotifications_, [&](const TNotifyUI& n) { return n.pSender == control; });
    if (root_ == control)
        root_ = nullptr;
}

}  // namespace dravik::ui
