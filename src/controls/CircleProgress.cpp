#include "controls/CircleProgress.h"

#include <algorithm>

#include "ui/Painter.h"

namespace dravik {

void* CCircleProgressUI::GetInterface(const std::string& name) {
    return name == "CircleProgress" ? this : CProgressUI::GetInterface(name);
}

int CCircleProgressUI::GetSweepAngle() const {
    if (max_ <= min_)
        return 0;
    // The value is kept inside the range, but a range set after the value or a minimum above
    // zero must still give a share between none and all of the ring.
    float share = static_cast<float>(value_ - min_) * 1.0f / static_cast<float>(max_ - min_);
    int sweep = static_cast<int>(share * 360.0f);
    return std::clamp(sweep, 0, 360);
}

ui::Rect CCircleProgressUI::GetInnerRect() const {
    return {pos_.left + kRingWidth, pos_.top + kRingWidth, pos_.right - kRingWidth,
            pos_.bottom - kRingWidth};
}

void CCircleProgressUI::DoPaint(ui::Painter& painter, const ui::Rect& clip) {
    if (pos_.Intersect(clip).Empty())
        return;
    painter.FillPie(pos_, 0, 360, bkColor_);
    if (!bkImage_.empty())
        painter.DrawImage(pos_, bkImage_);
    if (int sweep = GetSweepAngle())
        painter.FillPie(pos_, kStartAngle, sweep, foreColor_ ? foreColor_ : 0xFF3D7BD9);
    ui::Rect inner = GetInnerRect();
    if (!inner.Empty())
        painter.FillPie(inner, 0, 360, 0xFFFFFFFF);
    PaintText(painter);
    PaintBorder(painter);
}

}  // namespace dravik
