#pragma once
// CControlUI: the base of every control in the retained control tree. A control has a name, a
// class, text (shown as is, or as a language key when its resource-text flag is set), layout
// properties, state and attributes set from XML or from code through one SetAttribute.
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "ui/Events.h"
#include "ui/Geometry.h"

namespace dravik::ui {

class CPaintManagerUI;
class CContainerUI;
class Painter;

// Colours are 0xAARRGGBB; 0 means "none".
using Color = uint32_t;

class CControlUI {
  public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual std::string GetClass() const { return "ControlUI"; }
    // Returns this when the control is (or derives from) the named interface, else nullptr.
    virtual void* GetInterface(const std::string& name);

    const std::string& GetName() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

    // The text as the user sees it: the language's text for the key when resource text is on.
    virtual std::string GetText() const;
    virtual void SetText(const std::string& text);
    const std::string& GetRawText() const { return text_; }
    bool IsResourceText() const { return resourceText_; }
    void SetResourceText(bool on);
    std::string GetToolTip() const;
    void SetToolTip(const std::string& tip) { tooltip_ = tip; }

    bool IsVisible() const { return visible_; }
    virtual void SetVisible(bool visible = true);
    // Visible together with every ancestor.
    bool IsEffectivelyVisible() const;
    bool IsEnabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled = true);
    // Enabled together with every ancestor (a disabled container disables everything inside).
    bool IsEffectivelyEnabled() const;
    bool IsMouseEnabled() const { return mouseEnabled_; }
    void SetMouseEnabled(bool on) { mouseEnabled_ = on; }
    bool IsFocused() const;
    void SetFocus();

    const std::string& GetUserData() const { return userData_; }
    void SetUserData(const std::string& data) { userData_ = data; }
    uintptr_t GetTag() const { return tag_; }
    void SetTag(uintptr_t tag) { tag_ = tag; }
    const std::string& GetVirtualWnd() const;
    void SetVirtualWnd(const std::string& name) { virtualWnd_ = name; }

    // Layout properties (unscaled pixels; the paint manager's DPI scales them).
    int GetFixedWidth() const { return fixedSize_.cx; }
    int GetFixedHeight() const { return fixedSize_.cy; }
    void SetFixedWidth(int cx);
    void SetFixedHeight(int cy);
    int GetMinWidth() const { return minSize_.cx; }
    int GetMinHeight() const { return minSize_.cy; }
    int GetMaxWidth() const { return maxSize_.cx; }
    int GetMaxHeight() const { return maxSize_.cy; }
    void SetMinWidth(int v) {
        minSize_.cx = v;
        NeedParentUpdate();
    }
    void SetMinHeight(int v) {
        minSize_.cy = v;
        NeedParentUpdate();
    }
    void SetMaxWidth(int v) {
        maxSize_.cx = v;
        NeedParentUpdate();
    }
    void SetMaxHeight(int v) {
        maxSize_.cy = v;
        NeedParentUpdate();
    }
    const Rect& GetPadding() const { return padding_; }
    void SetPadding(const Rect& r) {
        padding_ = r;
        NeedParentUpdate();
    }
    bool IsFloat() const { return float_; }
    void SetFloat(bool on) {
        float_ = on;
        NeedParentUpdate();
    }
    // Float position relative to the parent's client area (unscaled).
    const Rect& GetFloatPos() const { return floatPos_; }
    // How a float control follows its parent's growth: percentages of the change in the parent's
    // width and height by which it moves (x, y) and grows (cx, cy) — "relativepos" in layouts.
    struct RelativePos {
        bool on = false;
        int moveX = 0, moveY = 0, zoomX = 0, zoomY = 0;
        Size parentAtStart;  // the parent's client size when first placed
    };
    RelativePos& GetRelativePos() { return relativePos_; }
    void SetFloatPos(const Rect& r) {
        floatPos_ = r;
        NeedParentUpdate();
    }

    // Position in window pixels after layout.
    const Rect& GetPos() const { return pos_; }
    virtual void SetPos(const Rect& rc);
    // The size this control wants given the available space (0 = stretch).
    virtual Size EstimateSize(Size available);

    // Appearance attributes used by the renderer.
    Color GetBkColor() const { return bkColor_; }
    void SetBkColor(Color c) {
        bkColor_ = c;
        Invalidate();
    }
    Color GetBkColor2() const { return bkColor2_; }
    const std::string& GetBkImage() const { return bkImage_; }
    void SetBkImage(const std::string& image) {
        bkImage_ = image;
        Invalidate();
    }
    Color GetBorderColor() const { return borderColor_; }
    int GetBorderSize() const { return borderSize_; }
    Size GetBorderRound() const { return borderRound_; }

    // Sets one attribute by its XML name; unknown names are kept and readable with GetAttribute.
    virtual void SetAttribute(const std::string& name, const std::string& value);
    std::string GetAttribute(const std::string& name) const;

    CControlUI* GetParent() const { return parent_; }
    CPaintManagerUI* GetManager() const { return manager_; }
    // Attaches the control (and its children) to a manager and parent.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    virtual void Init() {}

    // Finds the topmost visible, enabled-for-mouse control at pt (window pixels), or nullptr.
    virtual CControlUI* FindControlAt(Point pt);
    // Visits this control and its descendants in tree order until the visitor returns true.
    virtual CControlUI* FindFirst(const std::function<bool(CControlUI*)>& match);

    virtual void DoEvent(TEventUI& event);
    // What a click does: buttons and options notify; returns false when inactive.
    virtual bool Activate();
    virtual void DoPaint(Painter& painter, const Rect& clip);

    void Invalidate();
    void NeedUpdate();
    void NeedParentUpdate();

    // Control timers: the "timer" notification, wParam = the timer id.
    bool SetTimer(uint32_t id, uint32_t elapseMs);
    bool KillTimer(uint32_t id);

  protected:
    void PaintBackground(Painter& painter);
    void PaintText(Painter& painter);
    void PaintBorder(Painter& painter);

    std::string name_;
    std::string text_;
    bool resourceText_ = false;
    std::string tooltip_;
    bool visible_ = true;
    bool enabled_ = true;
    bool mouseEnabled_ = true;
    bool float_ = false;
    std::string userData_;
    uintptr_t tag_ = 0;
    std::string virtualWnd_;
    Size fixedSize_;
    Size minSize_;
    Size maxSize_{9999, 9999};
    Rect padding_;
    Rect floatPos_;
    RelativePos relativePos_;
    Rect pos_;
    Color bkColor_ = 0, bkColor2_ = 0, borderColor_ = 0, textColor_ = 0, disabledTextColor_ = 0;
    int borderSize_ = 0;
    Size borderRound_;
    std::string bkImage_;
    int font_ = -1;
    uint32_t textStyle_ = 0;  // alignment flags of the renderer
    Rect textPadding_;
    std::map<std::string, std::string> attributes_;
    CControlUI* parent_ = nullptr;
    CPaintManagerUI* manager_ = nullptr;

    friend class CContainerUI;
};

// Attribute value parsing shared by the controls.
bool ParseBool(const std::string& v);
int ParseInt(const std::string& v);
Rect ParseRect(const std::string& v);
Size ParseSize(const std::string& v);
Color ParseColor(const std::string& v);

// Text alignment flags.
enum TextStyle : uint32_t {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_END_ELLIPSIS = 0x8000,
};

}  // namespace dravik::ui
