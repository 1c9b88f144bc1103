#include "controls/HandImgButtons.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>

#include "ui/CairoPainter.h"
#include "ui/ImageString.h"
#include "ui/PaintManager.h"
#include "ui/Painter.h"

namespace dravik {
namespace {

bool Is(const std::string& name, const char* attribute) {
    return strcasecmp(name.c_str(), attribute) == 0;
}

// Draws an image string over the control, kept inside it (a "dest" part cannot spill out).
void DrawOver(ui::Painter& painter, const ui::Rect& pos, const std::string& image) {
    if (image.empty() || pos.Empty())
        return;
    painter.PushClip(pos);
    painter.DrawImage(pos, image);
    painter.PopClip();
}

}  // namespace

int CursorFromName(const std::string& name) {
    static const std::pair<const char*, int> table[] = {
        {"arrow", 32512},    {"ibeam", 32513},  {"wait", 32514},   {"cross", 32515},
        {"uparrow", 32516},  {"size", 32640},   {"icon", 32641},   {"sizenwse", 32642},
        {"sizenesw", 32643}, {"sizewe", 32644}, {"sizens", 32645}, {"sizeall", 32646},
        {"no", 32648},       {"hand", 32649},
    };
    for (const auto& [n, id] : table)
        if (name == n)
            return id;
    return 0;
}

// ---- picture button

void* CHandImgButtonUI::GetInterface(const std::string& name) {
    return name == "HandImgButton" ? this : CButtonUI::GetInterface(name);
}

void CHandImgButtonUI::SetAttribute(const std::string& name, const std::string& value) {
    if (Is(name, "handimage")) {
        handImage_ = value;
        Invalidate();
    } else if (Is(name, "deletenormalimage")) {
        deleteNormalImage_ = value;
    } else if (Is(name, "deletehotimage")) {
        deleteHotImage_ = value;
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

bool CHoverNotifyButtonUI::HandleHover(ui::TEventUI& event) {
    if (event.type != ui::UIEvent::MouseEnter && event.type != ui::UIEvent::MouseLeave)
        return false;
    if (IsEffectivelyEnabled()) {
        bool enter = event.type == ui::UIEvent::MouseEnter;
        hot_ = enter;
        if (manager_)
            manager_->SendNotify(this, enter ? "msenter" : "msleave");
        Invalidate();
    }
    CButtonUI::DoEvent(event);
    return true;
}

void CHandImgButtonUI::DoEvent(ui::TEventUI& event) {
    if (HandleHover(event))
        return;
    bool enabled = IsEffectivelyEnabled();
    bool inside = pos_.Contains(event.ptMouse);
    switch (event.type) {
        case ui::UIEvent::ButtonDown:
        case ui::UIEvent::DblClick:
            if (inside && enabled) {
                pushed_ = captured_ = true;
                Invalidate();
            }
            return;
        case ui::UIEvent::ButtonUp:
            if (!captured_)
                return;
            if (inside)
                Activate();
            pushed_ = captured_ = false;
            Invalidate();
            return;
        case ui::UIEvent::MouseMove:
            if (captured_) {
                pushed_ = inside;
                Invalidate();
            }
            return;
        default:
            CButtonUI::DoEvent(event);
    }
}

void CHandImgButtonUI::PaintStatusImage(ui::Painter& painter) {
    CButtonUI::PaintStatusImage(painter);
    DrawOver(painter, pos_, handImage_);
}

// ---- panned picture

void* CHandImgSelectButtonUI::GetInterface(const std::string& name) {
    return name == "HandImgSelectButton" ? this : CButtonUI::GetInterface(name);
}

void CHandImgSelectButtonUI::SetAttribute(const std::string& name, const std::string& value) {
    if (Is(name, "handimage")) {
        handImage_ = value;
        LoadPicture();
        Invalidate();
    } else if (Is(name, "cursor")) {
        if (int id = CursorFromName(value))
            cursor_ = id;
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void CHandImgSelectButtonUI::LoadPicture() {
    auto parsed = ui::ParseImageString(handImage_);
    auto size = parsed ? ui::ImageFileSize(parsed->file) : std::nullopt;
    if (!size)
        return;  // an unreadable picture leaves the window and the drawn image as they were
    pictureFile_ = parsed->file;
    picture_ = *size;
    source_ = {0, 0, pos_.Width(), pos_.Height()};
    whole_ = pos_.Width() >= picture_.cx && pos_.Height() >= picture_.cy;
    if (whole_)
        drawnImage_ = handImage_;
    else
        RebuildDrawnImage();
}

void CHandImgSelectButtonUI::SetPos(const ui::Rect& rc) {
    ui::Size before{pos_.Width(), pos_.Height()};
    CButtonUI::SetPos(rc);
    if (pictureFile_.empty() || (before == ui::Size{pos_.Width(), pos_.Height()}))
        return;
    // The window follows the control's size (a layout sets it after the attributes were read),
    // keeping its corner but staying inside the picture.
    int w = pos_.Width(), h = pos_.Height();
    int left = std::clamp(source_.left, 0, std::max(0, picture_.cx - w));
    int top = std::clamp(source_.top, 0, std::max(0, picture_.cy - h));
    source_ = {left, top, left + w, top + h};
    whole_ = w >= picture_.cx && h >= picture_.cy;
    if (whole_)
        drawnImage_ = handImage_;
    else
        RebuildDrawnImage();
}

void CHandImgSelectButtonUI::RebuildDrawnImage() {
    char buf[96];
    std::snprintf(buf, sizeof buf, "source='%d,%d,%d,%d'", source_.left, source_.top, source_.right,
                  source_.bottom);
    drawnImage_ = "file='" + pictureFile_ + "' " + buf;
}

void CHandImgSelectButtonUI::Pan(ui::Point pt) {
    // One axis: the pointer moving towards lower coordinates moves the window towards the
    // picture's far edge, and back; the window keeps its size and never leaves the picture.
    auto axis = [](int p, int last, int& lo, int& hi, int extent) {
        if (p < last) {
            if (hi < extent) {
                int step = std::min(last - p, extent - hi);
                lo += step;
                hi += step;
            }
        } else if (lo > 0) {
            int d = p - last;
            if (d < lo) {
                lo -= d;
                hi -= d;
            } else {
                hi -= lo;
                lo = 0;
            }
        }
    };
    axis(pt.x, last_.x, source_.left, source_.right, picture_.cx);
    axis(pt.y, last_.y, source_.top, source_.bottom, picture_.cy);
    last_ = pt;
    if (!whole_ && !pictureFile_.empty())
        RebuildDrawnImage();
}

void CHandImgSelectButtonUI::DoEvent(ui::TEventUI& event) {
    if (HandleHover(event))
        return;
    bool inside = pos_.Contains(event.ptMouse);
    switch (event.type) {
        case ui::UIEvent::ButtonDown:
        case ui::UIEvent::DblClick:
            if (inside && IsEffectivelyEnabled()) {
                pushed_ = captured_ = true;
                Invalidate();
            }
            // The pan starts from the press, wherever it was.
            pressed_ = true;
            last_ = event.ptMouse;
            return;
        case ui::UIEvent::ButtonUp:
            if (captured_) {
                pushed_ = captured_ = false;
                Invalidate();
            }
            pressed_ = false;
            return;
        case ui::UIEvent::MouseMove:
            if (pressed_)
                Pan(event.ptMouse);
            if (captured_)
                pushed_ = inside;
            Invalidate();
            return;
        default:
            CButtonUI::DoEvent(event);
    }
}

void CHandImgSelectButtonUI::PaintStatusImage(ui::Painter& painter) {
    CButtonUI::PaintStatusImage(painter);
    DrawOver(painter, pos_, drawnImage_);
}

}  // namespace dravik
