#include "ui/BasicControls.h"

#include <algorithm>
#include <cmath>

#include "ui/PaintManager.h"
#include "ui/Painter.h"

namespace dravik::ui {
namespace {

// Number of UTF-8 code points in s.
size_t Utf8Length(const std::string& s) {
    return static_cast<size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void PopUtf8(std::string& s) {
    while (!s.empty()) {
        unsigned char c = static_cast<unsigned char>(s.back());
        s.pop_back();
        if ((c & 0xC0) != 0x80)
            break;
    }
}

}  // namespace

void* CLabelUI::GetInterface(const std::string& name) {
    return name == "Label" ? this : CControlUI::GetInterface(name);
}

void* CTextUI::GetInterface(const std::string& name) {
    return name == "Text" ? this : CLabelUI::GetInterface(name);
}

// ---- button

void* CButtonUI::GetInterface(const std::string& name) {
    return name == "Button" ? this : CLabelUI::GetInterface(name);
}

void CButtonUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "normalimage")
        normalImage_ = value;
    else if (name == "hotimage")
        hotImage_ = value;
    else if (name == "pushedimage")
        pushedImage_ = value;
    else if (name == "focusedimage")
        focusedImage_ = value;
    else if (name == "disabledimage")
        disabledImage_ = value;
    else if (name == "foreimage")
        foreImage_ = value;
    else if (name == "hotbkcolor")
        hotBkColor_ = ParseColor(value);
    else if (name == "pushedbkcolor")
        pushedBkColor_ = ParseColor(value);
    CLabelUI::SetAttribute(name, value);
    Invalidate();
}

void CButtonUI::DoEvent(TEventUI& event) {
    if (!IsEffectivelyEnabled() && event.type != UIEvent::Timer) {
        hot_ = pushed_ = false;
        return;
    }
    switch (event.type) {
        case UIEvent::ButtonDown:
        case UIEvent::DblClick:
            if (pos_.Contains(event.ptMouse)) {
                pushed_ = true;
                Invalidate();
            }
            return;
        case UIEvent::MouseMove:
            if (pushed_)
                Invalidate();
            return;
        case UIEvent::ButtonUp:
            if (pushed_) {
                pushed_ = false;
                Invalidate();
                if (pos_.Contains(event.ptMouse))
                    Activate();
            }
            return;
        case UIEvent::MouseEnter:
            hot_ = true;
            Invalidate();
            return;
        case UIEvent::MouseLeave:
            hot_ = false;
            Invalidate();
            return;
        default:
            CLabelUI::DoEvent(event);
    }
}

bool CButtonUI::Activate() {
    if (!CControlUI::Activate())
        return false;
    if (manager_)
        manager_->SendNotify(this, "click");
    return true;
}

std::string CButtonUI::CurrentStateImage() const {
    if (!IsEffectivelyEnabled() && !disabledImage_.empty())
        return disabledImage_;
    if (pushed_ && !pushedImage_.empty())
        return pushedImage_;
    if (hot_ && !hotImage_.empty())
        return hotImage_;
    if (IsFocused() && !focusedImage_.empty())
        return focusedImage_;
    return normalImage_;
}

void CButtonUI::DoPaint(Painter& painter, const Rect& clip) {
    if (pos_.Intersect(clip).Empty())
        return;
    PaintBackground(painter);
    PaintStatusImage(painter);
    PaintText(painter);
    PaintBorder(painter);
}

void CButtonUI::PaintStatusImage(Painter& painter) {
    Color state = pushed_ && pushedBkColor_ ? pushedBkColor_
                  : hot_ && hotBkColor_     ? hotBkColor_
                                            : 0;
    if (state)
        painter.FillRect(pos_, state);
    std::string image = CurrentStateImage();
    if (!image.empty())
        painter.DrawImage(pos_, image);
    if (!foreImage_.empty())
        painter.DrawImage(pos_, foreImage_);
}

// ---- option

void* COptionUI::GetInterface(const std::string& name) {
    return name == "Option" ? this : CButtonUI::GetInterface(name);
}

void COptionUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "group")
        group_ = value;
    else if (name == "selected")
        Selected(ParseBool(value), false);
    else if (name == "selectedimage")
        selectedImage_ = value;
    else if (name == "selectedhotimage")
        selectedHotImage_ = value;
    else if (name == "selectedbkcolor")
        selectedBkColor_ = ParseColor(value);
    CButtonUI::SetAttribute(name, value);
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate())
        return false;
    if (!group_.empty())
        Selected(true);
    else
        Selected(!selected_);
    return true;
}

void COptionUI::Selected(bool selected, bool notify) {
    if (selected_ == selected)
        return;
    selected_ = selected;
    if (!group_.empty()) {
        if (selected && manager_ && manager_->GetRoot()) {
            manager_->GetRoot()->FindFirst([&](CControlUI* c) {
                auto* o = static_cast<COptionUI*>(c->GetInterface("Option"));
                if (o && o != this && o->group_ == group_ && o->selected_) {
                    o->selected_ = false;
                    o->Invalidate();
                }
                return false;
            });
        }
        if (selected && notify && manager_)
            manager_->SendNotify(this, "selectchanged");
    } else if (notify && manager_) {
        manager_->SendNotify(this, "selectchanged");
    }
    Invalidate();
}

std::string COptionUI::CurrentStateImage() const {
    if (selected_) {
        if (hot_ && !selectedHotImage_.empty())
            return selectedHotImage_;
        if (!selectedImage_.empty())
            return selectedImage_;
    }
    return CButtonUI::CurrentStateImage();
}

void* CCheckBoxUI::GetInterface(const std::string& name) {
    return name == "CheckBox" ? this : COptionUI::GetInterface(name);
}

// ---- edit

void* CEditUI::GetInterface(const std::string& name) {
    return name == "Edit" ? this : CLabelUI::GetInterface(name);
}

void CEditUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "readonly")
        readOnly_ = ParseBool(value);
    else if (name == "numberonly")
        numberOnly_ = ParseBool(value);
    else if (name == "maxchar")
        maxChar_ = ParseInt(value);
    CLabelUI::SetAttribute(name, value);
}

bool CEditUI::InsertChar(uint32_t cp) {
    if (cp < 0x20 || cp == 0x7F)
        return false;
    if (numberOnly_ && (cp < '0' || cp > '9'))
        return false;
    if (maxChar_ > 0 && Utf8Length(text_) >= static_cast<size_t>(maxChar_))
        return false;
    AppendUtf8(text_, cp);
    return true;
}

void CEditUI::ReplaceTextByUser(const std::string& text) {
    if (readOnly_)
        return;
    std::string before = text_;
    text_.clear();
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        uint32_t cp = len == 1 ? c : c & (0x7F >> len);
        for (size_t k = 1; k < len && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        InsertChar(cp);
        i += len;
    }
    Invalidate();
    if (text_ != before && manager_)
        manager_->SendNotify(this, "textchanged");
}

void CEditUI::DoEvent(TEventUI& event) {
    if (!IsEffectivelyEnabled())
        return;
    switch (event.type) {
        case UIEvent::ButtonDown:
        case UIEvent::DblClick:
            SetFocus();
            return;
        case UIEvent::SetFocus:
            Invalidate();
            if (manager_)
                manager_->SendNotify(this, "setfocus");
            return;
        case UIEvent::KillFocus:
            Invalidate();
            if (manager_)
                manager_->SendNotify(this, "killfocus");
            return;
        case UIEvent::Char: {
            if (readOnly_)
                return;
            std::string before = text_;
            if (event.chKey == VK_BACK)
                PopUtf8(text_);
            else
                InsertChar(event.chKey);
            if (text_ != before) {
                Invalidate();
                if (manager_)
                    manager_->SendNotify(this, "textchanged");
            }
            return;
        }
        case UIEvent::KeyDown:
            if (event.chKey == VK_RETURN && manager_)
                manager_->SendNotify(this, "return");
            return;
        default:
            CLabelUI::DoEvent(event);
    }
}

void CEditUI::DoPaint(Painter& painter, const Rect& clip) {
    CLabelUI::DoPaint(painter, clip);
    if (IsFocused())
        painter.DrawBorder(pos_, 0xFF3D7BD9, 1, 0, 0);
}

// ---- progress

void* CProgressUI::GetInterface(const std::string& name) {
    return name == "Progress" ? this : CLabelUI::GetInterface(name);
}

void CProgressUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "min")
        SetMinValue(ParseInt(value));
    else if (name == "max")
        SetMaxValue(ParseInt(value));
    else if (name == "value")
        SetValue(ParseInt(value));
    else if (name == "hor")
        horizontal_ = ParseBool(value);
    else if (name == "foreimage")
        foreImage_ = value;
    else if (name == "forecolor")
        foreColor_ = ParseColor(value);
    CLabelUI::SetAttribute(name, value);
}

void CProgressUI::SetMinValue(int v) {
    min_ = v;
    if (max_ < min_)
        max_ = min_;
    SetValue(value_);
}

void CProgressUI::SetMaxValue(int v) {
    max_ = v;
    if (min_ > max_)
        min_ = max_;
    SetValue(value_);
}

void CProgressUI::SetValue(int v) {
    value_ = std::clamp(v, min_, max_);
    Invalidate();
}

void CProgressUI::DoPaint(Painter& painter, const Rect& clip) {
    if (pos_.Intersect(clip).Empty())
        return;
    PaintBackground(painter);
    if (max_ > min_) {
        Rect fill = pos_;
        double t = double(value_ - min_) / double(max_ - min_);
        if (horizontal_)
            fill.right = fill.left + static_cast<int>(std::lround(fill.Width() * t));
        else
            fill.top = fill.bottom - static_cast<int>(std::lround(fill.Height() * t));
        if (!foreImage_.empty())
            painter.DrawImage(fill, foreImage_);
        else
            painter.FillRect(fill, foreColor_ ? foreColor_ : 0xFF3D7BD9);
    }
    PaintText(painter);
    PaintBorder(painter);
}

// ---- slider

void* CSliderUI::GetInterface(const std::string& name) {
    return name == "Slider" ? this : CProgressUI::GetInterface(name);
}

void CSliderUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "step")
        SetChangeStep(ParseInt(value));
    else if (name == "thumbsize")
        thumbSize_ = ParseSize(value);
    else if (name == "thumbimage")
        thumbImage_ = value;
    CProgressUI::SetAttribute(name, value);
}

int CSliderUI::ValueAt(int x) const {
    int span = std::max(1, (horizontal_ ? pos_.Width() : pos_.Height()) - 1);
    int offset = horizontal_ ? x - pos_.left : pos_.bottom - 1 - x;
    offset = std::clamp(offset, 0, span);
    double v = min_ + double(offset) * (max_ - min_) / span;
    int stepped = min_ + static_cast<int>(std::lround((v - min_) / step_)) * step_;
    return std::clamp(stepped, min_, max_);
}

int CSliderUI::PixelFor(int value) const {
    int span = std::max(1, (horizontal_ ? pos_.Width() : pos_.Height()) - 1);
    double t = max_ > min_ ? double(std::clamp(value, min_, max_) - min_) / (max_ - min_) : 0;
    int off = static_cast<int>(std::lround(t * span));
    return horizontal_ ? pos_.left + off : pos_.bottom - 1 - off;
}

Rect CSliderUI::GetThumbRect() const {
    int w = manager_ ? manager_->Scale(thumbSize_.cx) : thumbSize_.cx;
    int h = manager_ ? manager_->Scale(thumbSize_.cy) : thumbSize_.cy;
    int p = PixelFor(value_);
    if (horizontal_) {
        int top = pos_.top + (pos_.Height() - h) / 2;
        return {p - w / 2, top, p - w / 2 + w, top + h};
    }
    int left = pos_.left + (pos_.Width() - w) / 2;
    return {left, p - h / 2, left + w, p - h / 2 + h};
}

void CSliderUI::DragTo(int value) {
    if (value == value_)
        return;
    value_ = value;
    Invalidate();
    if (manager_)
        manager_->SendNotify(this, "movevaluechanged");
}

void CSliderUI::SetDragValue(int value) {
    if (!dragging_)
        return;
    DragTo(std::clamp(value, min_, max_));
}

void CSliderUI::DoEvent(TEventUI& event) {
    if (!IsEffectivelyEnabled()) {
        dragging_ = false;
        return;
    }
    int coord = horizontal_ ? event.ptMouse.x : event.ptMouse.y;
    switch (event.type) {
        case UIEvent::ButtonDown:
        case UIEvent::DblClick:
            dragging_ = true;
            lastDragPoint_ = event.ptMouse;
            if (!GetThumbRect().Contains(event.ptMouse))
                DragTo(ValueAt(coord));
            return;
        case UIEvent::MouseMove:
            if (dragging_ && !(event.ptMouse == lastDragPoint_)) {
                lastDragPoint_ = event.ptMouse;
                DragTo(ValueAt(coord));
            }
            return;
        case UIEvent::ButtonUp:
            if (dragging_) {
                dragging_ = false;
                if (!(event.ptMouse == lastDragPoint_))
                    value_ = ValueAt(coord);
                Invalidate();
                if (manager_)
                    manager_->SendNotify(this, "valuechanged");
            }
            return;
        default:
            CProgressUI::DoEvent(event);
    }
}

void CSliderUI::DoPaint(Painter& painter, const Rect& clip) {
    CProgressUI::DoPaint(painter, clip);
    Rect thumb = GetThumbRect();
    if (!thumbImage_.empty())
        painter.DrawImage(thumb, thumbImage_);
    else
        painter.FillEllipse(thumb, 0xFFFFFFFF);
}

}  // namespace dravik::ui
