#pragma once
// The automation driver: finds controls by name and drives them through the same input path a
// pointer or keyboard uses (window messages to the control's window), then lets the loop run.
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/Control.h"
#include "ui/Window.h"

namespace dravik::ui {

class AutomationDriver {
  public:
    // NAME is case-insensitive; "A/B" is B inside A. For actions: the first match that is visible
    // together with its ancestors, topmost window first.
    CControlUI* FindForAction(const std::string& path) const;
    // For checks: the first match, preferring a visible one (hidden controls can be checked).
    CControlUI* FindForQuery(const std::string& path) const;

    // Each returns an error text, or nullopt on success.
    std::optional<std::string> Click(CControlUI* c);
    std::optional<std::string> DoubleClick(CControlUI* c);
    std::optional<std::string> RightClick(CControlUI* c);
    std::optional<std::string> Drag(CControlUI* c, int x1, int y1, int x2, int y2);
    std::optional<std::string> Set(CControlUI* c, const std::string& value);
    std::optional<std::string> Choose(CControlUI* c, int index);
    std::optional<std::string> Type(const std::string& text);
    // key: a key name (A, F5, Enter, LCtrl …); phase: "", "down" or "up".
    std::optional<std::string> Key(const std::string& key, const std::string& phase);
    std::optional<std::string> Button(const std::string& button, const std::string& phase);

    // text, visible, enabled, selected, value, count; nullopt when the property does not apply.
    std::optional<std::string> Property(CControlUI* c, const std::string& prop) const;

    // Lets queued messages and notifications run. Works from the UI thread (it pumps) and from
    // a script thread (it waits for the loop), so that a modal window opened by an action does
    // not stop the script.
    static void Settle();
    // Lets time pass while the loop runs.
    static void WaitMs(uint32_t ms);

  private:
    bool Aim(CControlUI* c, HWND& h, Rect& pos) const;
    // Moves the pointer to the control's centre and posts the button messages there.
    std::optional<std::string> PressAtCentre(
        CControlUI* c, std::initializer_list<std::pair<uint32_t, uint64_t>> messages);
    std::optional<std::string> PropertyOnUi(CControlUI* c, const std::string& prop) const;
    HWND WindowOf(CControlUI* c) const;
    HWND FocusWindow() const;
};

// Key names to the platform's virtual-key codes (0 when unknown).
uint32_t VirtualKeyFromName(const std::string& name);

}  // namespace dravik::ui
