#include "ui/Control.h"

#include <cstdlib>
#include <sstream>

#include "ui/PaintManager.h"
#include "ui/Painter.h"
#include "ui/ResourceManager.h"

namespace dravik::ui {

bool ParseBool(const std::string& v) {
    return v == "true" || v == "1" || v == "TRUE" || v == "True";
}

int ParseInt(const std::string& v) {
    return static_cast<int>(std::strtol(v.c_str(), nullptr, 10));
}

Rect ParseRect(const std::string& v) {
    Rect r;
    std::sscanf(v.c_str(), "%d,%d,%d,%d", &r.left, &r.top, &r.right, &r.bottom);
    return r;
}

Size ParseSize(const std::string& v) {
    Size s;
    std::sscanf(v.c_str(), "%d,%d", &s.cx, &s.cy);
    return s;
}

Color ParseColor(const std::string& v) {
    std::string s = v;
    if (!s.empty() && s[0] == '#')
        s = s.substr(1);
    if (s.size() > 2 && (s[0] == '0') && (s[1] == 'x' || s[1] == 'X'))
        s = s.substr(2);
    Color c = static_cast<Color>(std::strtoul(s.c_str(), nullptr, 16));
    if (s.size() <= 6)
        c |= 0xFF000000u;  // RRGGBB: opaque
    return c;
}

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (manager_)
        manager_->ReapObjects(this);
}

void* CControlUI::GetInterface(const std::string& name) {
    return name == "Control" ? this : nullptr;
}

std::string CControlUI::GetText() const {
    if (!resourceText_)
        return text_;
    auto t = CResourceManager::GetInstance().GetText(text_);
    return t ? *t : text_;
}

void CControlUI::SetText(const std::string& text) {
    if (text_ == text)
        return;
    text_ = text;
    Invalidate();
}

void CControlUI::SetResourceText(bool on) {
    resourceText_ = on;
    Invalidate();
}

std::string CControlUI::GetToolTip() const {
    if (!resourceText_)
        return tooltip_;
    auto t = CResourceManager::GetInstance().GetText(tooltip_);
    return t ? *t : tooltip_;
}

void CControlUI::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    if (!visible && manager_) {
        // Hidden controls lose focus and hot state.
        for (CControlUI* c = manager_->GetFocus(); c; c = c->parent_)
            if (c == this) {
                manager_->SetFocus(nullptr);
                break;
            }
    }
    NeedParentUpdate();
}

bool CControlUI::IsEffectivelyVisible() const {
    for (const CControlUI* c = this; c; c = c->parent_)
        if (!c->visible_)
            return false;
    return true;
}

void CControlUI::SetEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    Invalidate();
}

bool CControlUI::IsEffectivelyEnabled() const {
    for (const CControlUI* c = this; c; c = c->parent_)
        if (!c->enabled_)
            return false;
    return true;
}

bool CControlUI::IsFocused() const {
    return manager_ && manager_->GetFocus() == this;
}

void CControlUI::SetFocus() {
    if (manager_)
        manager_->SetFocus(this);
}

const std::string& CControlUI::GetVirtualWnd() const {
    for (const CControlUI* c = this; c; c = c->parent_)
        if (!c->virtualWnd_.empty())
            return c->virtualWnd_;
    return virtualWnd_;
}

void CControlUI::SetFixedWidth(int cx) {
    fixedSize_.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy) {
    fixedSize_.cy = cy;
    NeedParentUpdate();
}

void CControlUI::SetPos(const Rect& rc) {
    pos_ = rc;
    if (pos_.right < pos_.left)
        pos_.right = pos_.left;
    if (pos_.bottom < pos_.top)
        pos_.bottom = pos_.top;
}

Size CControlUI::EstimateSize(Size) {
    if (!manager_)
        return fixedSize_;
    return {manager_->Scale(fixedSize_.cx), manager_->Scale(fixedSize_.cy)};
}

void CControlUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "name") {
        name_ = value;
    } else if (name == "text") {
        SetText(value);
    } else if (name == "resourcetext") {
        SetResourceText(ParseBool(value));
    } else if (name == "tooltip") {
        tooltip_ = value;
    } else if (name == "visible") {
        SetVisible(ParseBool(value));
    } else if (name == "enabled") {
        SetEnabled(ParseBool(value));
    } else if (name == "mouse") {
        mouseEnabled_ = ParseBool(value);
    } else if (name == "width") {
        SetFixedWidth(ParseInt(value));
    } else if (name == "height") {
        SetFixedHeight(ParseInt(value));
    } else if (name == "minwidth") {
        SetMinWidth(ParseInt(value));
    } else if (name == "minheight") {
        SetMinHeight(ParseInt(value));
    } else if (name == "maxwidth") {
        SetMaxWidth(ParseInt(value));
    } else if (name == "maxheight") {
        SetMaxHeight(ParseInt(value));
    } else if (name == "padding") {
        SetPadding(ParseRect(value));
    } else if (name == "float") {
        SetFloat(ParseBool(value));
    } else if (name == "pos") {
        Rect r = ParseRect(value);
        SetFixedWidth(r.Width());
        SetFixedHeight(r.Height());
        floatPos_ = r;
    } else if (name == "relativepos") {
        Rect r = ParseRect(value);
        relativePos_ = {true, r.left, r.top, r.right, r.bottom, {}};
    } else if (name == "userdata") {
        userData_ = value;
    } else if (name == "tag") {
        tag_ = static_cast<uintptr_t>(std::strtoull(value.c_str(), nullptr, 10));
    } else if (name == "virtualwnd") {
        virtualWnd_ = value;
    } else if (name == "bkcolor") {
        bkColor_ = ParseColor(value);
    } else if (name == "bkcolor2") {
        bkColor2_ = ParseColor(value);
    } else if (name == "bkimage") {
        bkImage_ = value;
    } else if (name == "bordercolor") {
        borderColor_ = ParseColor(value);
    } else if (name == "bordersize") {
        borderSize_ = ParseInt(value);
    } else if (name == "borderround") {
        borderRound_ = ParseSize(value);
    } else if (name == "textcolor") {
        textColor_ = ParseColor(value);
    } else if (name == "disabledtextcolor") {
        disabledTextColor_ = ParseColor(value);
    } else if (name == "font") {
        font_ = ParseInt(value);
    } else if (name == "textpadding") {
        textPadding_ = ParseRect(value);
    } else if (name == "align") {
        textStyle_ &= ~(DT_CENTER | DT_RIGHT);
        if (value.find("center") != std::string::npos)
            textStyle_ |= DT_CENTER;
        if (value.find("right") != std::string::npos)
            textStyle_ |= DT_RIGHT;
    } else if (name == "valign") {
        textStyle_ &= ~(DT_VCENTER | DT_BOTTOM);
        if (value.find("center") != std::string::npos || value.find("vcenter") != std::string::npos)
            textStyle_ |= DT_VCENTER;
        if (value.find("bottom") != std::string::npos)
            textStyle_ |= DT_BOTTOM;
    } else if (name == "endellipsis") {
        if (ParseBool(value))
            textStyle_ |= DT_END_ELLIPSIS;
        else
            textStyle_ &= ~DT_END_ELLIPSIS;
    } else if (name == "multiline" || name == "wordbreak") {
        if (ParseBool(value))
            textStyle_ |= DT_WORDBREAK;
        else
            textStyle_ &= ~DT_WORDBREAK;
    }
    attributes_[name] = value;
}

std::string CControlUI::GetAttribute(const std::string& name) const {
    auto it = attributes_.find(name);
    return it == attributes_.end() ? std::string() : it->second;
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    manager_ = manager;
    parent_ = parent;
    if (init && manager)
        Init();
}

CControlUI* CControlUI::FindControlAt(Point pt) {
    if (!visible_ || !pos_.Contains(pt))
        return nullptr;
    return mouseEnabled_ ? this : nullptr;
}

CControlUI* CControlUI::FindFirst(const std::function<bool(CControlUI*)>& match) {
    return match(this) ? this : nullptr;
}

void CControlUI::DoEvent(TEventUI& event) {
    if (event.type == UIEvent::Timer && manager_) {
        manager_->SendNotify(this, "timer", event.wParam, event.lParam);
        return;
    }
    if (event.type == UIEvent::SetFocus || event.type == UIEvent::KillFocus) {
        Invalidate();
        return;
    }
    // Anything a control does not handle goes to its parent, as a plain control cannot use it.
    if (parent_ && event.type != UIEvent::MouseEnter && event.type != UIEvent::MouseLeave)
        parent_->DoEvent(event);
}

bool CControlUI::Activate() {
    return visible_ && IsEffectivelyEnabled();
}

void CControlUI::PaintBackground(Painter& painter) {
    if (bkColor_) {
        if (bkColor2_)
            painter.FillGradient(pos_, bkColor_, bkColor2_);
        else
            painter.FillRect(pos_, bkColor_);
    }
    if (!bkImage_.empty())
        painter.DrawImage(pos_, bkImage_);
}

void CControlUI::PaintText(Painter& painter) {
    std::string text = GetText();
    if (text.empty() || !manager_)
        return;
    const FontInfo* font = manager_->GetFont(font_);
    Color color = IsEffectivelyEnabled() || !disabledTextColor_ ? textColor_ : disabledTextColor_;
    if (!color)
        color = 0xFF000000u;
    const Rect pad{manager_->Scale(textPadding_.left), manager_->Scale(textPadding_.top),
                   manager_->Scale(textPadding_.right), manager_->Scale(textPadding_.bottom)};
    painter.DrawText(pos_.Deflate(pad), text, color, font ? *font : manager_->GetDefaultFont(),
                     textStyle_);
}

void CControlUI::PaintBorder(Painter& painter) {
    if (borderSize_ > 0 && borderColor_)
        painter.DrawBorder(pos_, borderColor_, borderSize_, borderRound_.cx, borderRound_.cy);
}

void CControlUI::DoPaint(Painter& painter, const Rect& clip) {
    if (pos_.Intersect(clip).Empty())
        return;
    PaintBackground(painter);
    PaintText(painter);
    PaintBorder(painter);
}

void CControlUI::Invalidate() {
    // A control draws only inside its parent (containers clip their children), so the parent's
    // rectangle covers whatever this control changes, overhanging parts included.
    if (manager_)
        manager_->Invalidate(parent_ ? parent_->GetPos() : pos_);
}

void CControlUI::NeedUpdate() {
    if (manager_)
        manager_->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
    if (manager_) {
        manager_->NeedUpdate();
        manager_->Invalidate();
    }
}

bool CControlUI::SetTimer(uint32_t id, uint32_t elapseMs) {
    return manager_ && manager_->SetTimer(this, id, elapseMs);
}

bool CControlUI::KillTimer(uint32_t id) {
    return manager_ && manager_->KillTimer(this, id);
}

}  // namespace dravik::ui
