#include "ui/Automation.h"

#include <strings.h>

#include <algorithm>
#include <sstream>

#include "platform/Clock.h"
#include "ui/BasicControls.h"
#include "ui/ComboWnd.h"
#include "ui/Container.h"
#include "ui/ListControls.h"
#include "ui/PaintManager.h"

namespace dravik::ui {
namespace {

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::stringstream in(path);
    std::string part;
    while (std::getline(in, part, '/'))
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

bool NameIs(CControlUI* c, const std::string& name) {
    return strcasecmp(c->GetName().c_str(), name.c_str()) == 0;
}

// Every control matching the path under root, in tree order.
void Collect(CControlUI* root, const std::vector<std::string>& parts, size_t i,
             std::vector<CControlUI*>& out) {
    root->FindFirst([&](CControlUI* c) {
        if (c != root || i == 0) {
            if (NameIs(c, parts[i])) {
                if (i + 1 == parts.size())
                    out.push_back(c);
                else
                    Collect(c, parts, i + 1, out);
            }
        }
        return false;
    });
}

std::vector<CControlUI*> Matches(const std::string& path) {
    std::vector<CControlUI*> out;
    auto parts = SplitPath(path);
    if (parts.empty())
        return out;
    for (CWindowWnd* w : WindowsInZOrder()) {
        for (CPaintManagerUI* pm : CPaintManagerUI::AllManagers()) {
            if (pm->GetWindow() != w || !pm->GetRoot())
                continue;
            std::vector<CControlUI*> found;
            Collect(pm->GetRoot(), parts, 0, found);
            for (CControlUI* c : found)
                if (std::find(out.begin(), out.end(), c) == out.end())
                    out.push_back(c);
        }
    }
    return out;
}

bool Shown(CControlUI* c) {
    if (!c->IsEffectivelyVisible())
        return false;
    CPaintManagerUI* pm = c->GetManager();
    return pm && pm->GetWindow() && pm->GetWindow()->IsVisible();
}

// Positions must be current before a pointer is aimed at a control.
void LayoutAll() {
    for (CPaintManagerUI* pm : CPaintManagerUI::AllManagers())
        pm->LayoutIfNeeded();
}

void PostMouse(HWND h, uint32_t msg, Point p, uint64_t wParam = 0) {
    PostMessage(h, msg, wParam, MakeLParam(p.x, p.y));
}

}  // namespace

void AutomationDriver::Settle() {
    if (IsUiThread()) {
        for (int i = 0; i < 4; ++i)
            PumpMessages(0);
        return;
    }
    // From another thread: wait until the loop has worked through what was posted so far and
    // the notifications that produced (a modal loop keeps pumping, so this returns while a
    // dialog is open).
    for (int i = 0; i < 3; ++i)
        if (!RunOnUiThread([] {}))
            return;
}

void AutomationDriver::WaitMs(uint32_t ms) {
    if (IsUiThread())
        RunFor(ms);
    else
        platform::SleepMs(ms);
}

CControlUI* AutomationDriver::FindForAction(const std::string& path) const {
    CControlUI* found = nullptr;
    RunOnUiThread([&] {
        for (CControlUI* c : Matches(path))
            if (Shown(c)) {
                found = c;
                return;
            }
    });
    return found;
}

CControlUI* AutomationDriver::FindForQuery(const std::string& path) const {
    CControlUI* found = nullptr;
    RunOnUiThread([&] {
        auto all = Matches(path);
        for (CControlUI* c : all)
            if (Shown(c)) {
                found = c;
                return;
            }
        found = all.empty() ? nullptr : all.front();
    });
    return found;
}

bool AutomationDriver::Aim(CControlUI* c, HWND& h, Rect& pos) const {
    RunOnUiThread([&] {
        LayoutAll();
        h = WindowOf(c);
        pos = c->GetPos();
    });
    return h != 0;
}

HWND AutomationDriver::WindowOf(CControlUI* c) const {
    return c && c->GetManager() ? c->GetManager()->GetPaintWindow() : 0;
}

HWND AutomationDriver::FocusWindow() const {
    for (CWindowWnd* w : WindowsInZOrder())
        if (w->IsVisible() && w->IsEnabled())
            return w->GetHWND();
    auto all = WindowsInZOrder();
    return all.empty() ? 0 : all.front()->GetHWND();
}

std::optional<std::string> AutomationDriver::PressAtCentre(
    CControlUI* c, std::initializer_list<std::pair<uint32_t, uint64_t>> messages) {
    HWND h = 0;
    Rect pos;
    if (!Aim(c, h, pos))
        return "control has no window";
    Point p = pos.Center();
    PostMouse(h, WM_MOUSEMOVE, p);
    for (const auto& [msg, buttons] : messages)
        PostMouse(h, msg, p, buttons);
    Settle();
    return std::nullopt;
}

std::optional<std::string> AutomationDriver::Click(CControlUI* c) {
    return PressAtCentre(c, {{WM_LBUTTONDOWN, 1}, {WM_LBUTTONUP, 0}});
}

std::optional<std::string> AutomationDriver::DoubleClick(CControlUI* c) {
    return PressAtCentre(
        c, {{WM_LBUTTONDOWN, 1}, {WM_LBUTTONUP, 0}, {WM_LBUTTONDBLCLK, 1}, {WM_LBUTTONUP, 0}});
}

std::optional<std::string> AutomationDriver::RightClick(CControlUI* c) {
    return PressAtCentre(c, {{WM_RBUTTONDOWN, 2}, {WM_RBUTTONUP, 0}});
}

std::optional<std::string> AutomationDriver::Drag(CControlUI* c, int x1, int y1, int x2, int y2) {
    HWND h = 0;
    Rect r;
    if (!Aim(c, h, r))
        return "control has no window";
    Point a{r.left + x1, r.top + y1}, b{r.left + x2, r.top + y2};
    PostMouse(h, WM_MOUSEMOVE, a);
    PostMouse(h, WM_LBUTTONDOWN, a, 1);
    PostMouse(h, WM_MOUSEMOVE, b, 1);
    PostMouse(h, WM_LBUTTONUP, b);
    Settle();
    return std::nullopt;
}

std::optional<std::string> AutomationDriver::Set(CControlUI* c, const std::string& value) {
    HWND h = 0;
    Rect pos;
    if (!Aim(c, h, pos))
        return "control has no window";
    CSliderUI* slider = nullptr;
    CEditUI* edit = nullptr;
    RunOnUiThread([&] {
        slider = static_cast<CSliderUI*>(c->GetInterface("Slider"));
        edit = static_cast<CEditUI*>(c->GetInterface("Edit"));
    });
    if (slider) {
        char* end = nullptr;
        long v = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end)
            return "slider value must be a number: " + value;
        Point from, to;
        RunOnUiThread([&] {
            from = slider->GetThumbRect().Center();
            int px = slider->PixelFor(static_cast<int>(v));
            to = slider->IsHorizontal() ? Point{px, from.y} : Point{from.x, px};
        });
        PostMouse(h, WM_MOUSEMOVE, from);
        PostMouse(h, WM_LBUTTONDOWN, from, 1);
        PostMouse(h, WM_MOUSEMOVE, to, 1);
        Settle();
        // A pixel may stand for a range of values; the drag stops exactly at the asked one.
        RunOnUiThread([&] { slider->SetDragValue(static_cast<int>(v)); });
        PostMouse(h, WM_LBUTTONUP, to);
        Settle();
        return std::nullopt;
    }
    if (edit) {
        if (auto err = Click(c))
            return err;
        bool focused = false;
        RunOnUiThread([&] {
            focused = edit->IsFocused();
            if (!focused)
                return;
            edit->ReplaceTextByUser(value);
            // Leave the field: focus goes elsewhere, as clicking outside would.
            if (CPaintManagerUI* pm = edit->GetManager())
                pm->SetFocus(nullptr);
        });
        if (!focused)
            return "edit did not take the focus";
        Settle();
        return std::nullopt;
    }
    return "set works on sliders and edits";
}

std::optional<std::string> AutomationDriver::Choose(CControlUI* c, int index) {
    CListUI* list = nullptr;
    CComboUI* combo = nullptr;
    CControlUI* item = nullptr;
    RunOnUiThread([&] {
        list = static_cast<CListUI*>(c->GetInterface("List"));
        combo = static_cast<CComboUI*>(c->GetInterface("Combo"));
        auto* box = static_cast<CContainerUI*>(c->GetInterface("Container"));
        item = box && index >= 0 ? box->GetItemAt(index) : nullptr;
        if (list && item) {
            LayoutAll();
            list->EnsureVisible(index);
        }
    });
    if (!list && !combo)
        return "choose works on combos and lists";
    if (!item)
        return "no item " + std::to_string(index);
    if (list)
        return Click(item);
    // A combo's items live in its drop-down: open it, then click the item there.
    if (auto err = Click(c))
        return err;
    CControlUI* row = nullptr;
    RunOnUiThread([&] {
        for (CWindowWnd* w : WindowsInZOrder()) {
            if (w->GetWindowClassName() != "ComboWnd" || !w->IsVisible())
                continue;
            auto* list =
                static_cast<CListUI*>(static_cast<CComboWnd*>(w)->GetPaintManager().GetRoot());
            if (!list || index >= list->GetCount())
                return;
            LayoutAll();
            list->EnsureVisible(index);
            row = list->GetItemAt(index);
            return;
        }
    });
    if (!row)
        return "the combo's drop-down did not open";
    if (auto err = Click(row))
        return err;
    Settle();
    return std::nullopt;
}

std::optional<std::string> AutomationDriver::Type(const std::string& text) {
    HWND h = 0;
    RunOnUiThread([&] { h = FocusWindow(); });
    if (!h)
        return "no window";
    for (size_t i = 0; i < text.size();) {
        unsigned char ch = static_cast<unsigned char>(text[i]);
        size_t len = ch < 0x80 ? 1 : (ch >> 5) == 6 ? 2 : (ch >> 4) == 14 ? 3 : 4;
        uint32_t cp = len == 1 ? ch : ch & (0x7F >> len);
        for (size_t k = 1; k < len && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        PostMessage(h, WM_CHAR, cp, 0);
        i += len;
    }
    Settle();
    return std::nullopt;
}

uint32_t VirtualKeyFromName(const std::string& name) {
    if (name.size() == 1) {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return static_cast<uint32_t>(c);
    }
    if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
        int n = std::atoi(name.c_str() + 1);
        if (n >= 1 && n <= 24)
            return 0x70 + static_cast<uint32_t>(n - 1);
    }
    static const std::pair<const char*, uint32_t> table[] = {
        {"Enter", VK_RETURN},  {"Return", VK_RETURN}, {"Esc", VK_ESCAPE},   {"Escape", VK_ESCAPE},
        {"Tab", VK_TAB},       {"Space", VK_SPACE},   {"Back", VK_BACK},    {"Backspace", VK_BACK},
        {"Delete", VK_DELETE}, {"Left", VK_LEFT},     {"Right", VK_RIGHT},  {"Up", VK_UP},
        {"Down", VK_DOWN},     {"Shift", VK_SHIFT},   {"Ctrl", VK_CONTROL}, {"Alt", VK_MENU},
        {"LShift", 0xA0},      {"RShift", 0xA1},      {"LCtrl", 0xA2},      {"RCtrl", 0xA3},
        {"LAlt", 0xA4},        {"RAlt", 0xA5},        {"LWin", 0x5B},       {"RWin", 0x5C},
        {"Home", 0x24},        {"End", 0x23},         {"PageUp", 0x21},     {"PageDown", 0x22},
        {"Insert", 0x2D},      {"CapsLock", 0x14},
    };
    for (const auto& [n, vk] : table)
        if (strcasecmp(n, name.c_str()) == 0)
            return vk;
    return 0;
}

std::optional<std::string> AutomationDriver::Key(const std::string& key, const std::string& phase) {
    uint32_t vk = VirtualKeyFromName(key);
    if (!vk)
        return "unknown key " + key;
    HWND h = 0;
    RunOnUiThread([&] { h = FocusWindow(); });
    if (!h)
        return "no window";
    if (phase.empty() || phase == "down")
        PostMessage(h, WM_KEYDOWN, vk, 0);
    if (phase.empty() || phase == "up")
        PostMessage(h, WM_KEYUP, vk, 0);
    if (!phase.empty() && phase != "down" && phase != "up")
        return "key phase must be down or up";
    Settle();
    return std::nullopt;
}

std::optional<std::string> AutomationDriver::Button(const std::string& button,
                                                    const std::string& phase) {
    HWND h = 0;
    RunOnUiThread([&] { h = FocusWindow(); });
    if (!h)
        return "no window";
    uint32_t down, up;
    if (strcasecmp(button.c_str(), "left") == 0) {
        down = WM_LBUTTONDOWN;
        up = WM_LBUTTONUP;
    } else if (strcasecmp(button.c_str(), "right") == 0) {
        down = WM_RBUTTONDOWN;
        up = WM_RBUTTONUP;
    } else {
        return "unknown button " + button;
    }
    if (!phase.empty() && phase != "down" && phase != "up")
        return "button phase must be down or up";
    if (phase.empty() || phase == "down")
        PostMessage(h, down, 0, MakeLParam(-1, -1));
    if (phase.empty() || phase == "up")
        PostMessage(h, up, 0, MakeLParam(-1, -1));
    Settle();
    return std::nullopt;
}

std::optional<std::string> AutomationDriver::Property(CControlUI* c,
                                                      const std::string& prop) const {
    std::optional<std::string> out;
    RunOnUiThread([&] { out = PropertyOnUi(c, prop); });
    return out;
}

std::optional<std::string> AutomationDriver::PropertyOnUi(CControlUI* c,
                                                          const std::string& prop) const {
    if (prop == "text")
        return c->GetText();
    if (prop == "visible")
        return Shown(c) ? "true" : "false";
    if (prop == "enabled")
        return c->IsEffectivelyEnabled() ? "true" : "false";
    if (prop == "selected") {
        if (auto* o = static_cast<COptionUI*>(c->GetInterface("Option")))
            return o->IsSelected() ? "true" : "false";
        return std::nullopt;
    }
    if (prop == "value") {
        if (auto* p = static_cast<CProgressUI*>(c->GetInterface("Progress")))
            return std::to_string(p->GetValue());
        if (auto* l = static_cast<CListUI*>(c->GetInterface("List")))
            return std::to_string(l->GetCurSel());
        if (auto* cb = static_cast<CComboUI*>(c->GetInterface("Combo")))
            return std::to_string(cb->GetCurSel());
        return std::nullopt;
    }
    if (prop == "count") {
        if (auto* box = static_cast<CContainerUI*>(c->GetInterface("Container")))
            return std::to_string(box->GetCount());
        return "0";
    }
    return std::nullopt;
}

}  // namespace dravik::ui
