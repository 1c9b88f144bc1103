#include "controls/AudioRecord.h"

#include <algorithm>

#include "ui/Painter.h"

namespace dravik {

CAudioRecordUI::CAudioRecordUI() {
    // A ramp over the first 256 levels, silence after.
    for (int i = 0; i < kLevelCount; ++i)
        levels_[static_cast<size_t>(i)] = i < 256 ? i : 0;
}

void* CAudioRecordUI::GetInterface(const std::string& name) {
    return name == "AudioRecord" ? this : CLabelUI::GetInterface(name);
}

int32_t CAudioRecordUI::GetLevel(int index) const {
    return index >= 0 && index < kLevelCount ? levels_[static_cast<size_t>(index)] : 0;
}

std::vector<ui::Rect> CAudioRecordUI::GetBars() const {
    std::vector<ui::Rect> bars;
    int width = pos_.Width(), height = pos_.Height();
    for (int k = 0; k < kLevelCount && 2 * k < width; ++k) {
        int64_t level = levels_[static_cast<size_t>(k)];
        int top = pos_.top + (height - static_cast<int>(level * height / kFullScale));
        int x = pos_.left + 2 * k;
        bars.push_back({x, std::clamp(top, pos_.top, pos_.bottom), x + 1, pos_.bottom});
    }
    return bars;
}

void CAudioRecordUI::DoPaint(ui::Painter& painter, const ui::Rect& clip) {
    if (pos_.Intersect(clip).Empty())
        return;
    painter.FillRect(pos_, 0xFFFFFFFF);
    for (const ui::Rect& bar : GetBars())
        if (!bar.Empty())
            painter.FillRect(bar, 0xFF000000);
    if (!bkImage_.empty())
        painter.DrawImage(pos_, bkImage_);
    PaintText(painter);
    PaintBorder(painter);
}

}  // namespace dravik
