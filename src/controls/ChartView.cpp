#include "controls/ChartView.h"

#include <algorithm>

#include "ui/PaintManager.h"
#include "ui/Painter.h"

namespace dravik {

void CChartViewUI::SetAttribute(const std::string& name, const std::string& value) {
    CControlUI::SetAttribute(name, value);
    if (name == "view") {
        if (value == "pie")
            view_ = 0;
        else if (value == "histpgram")
            view_ = 1;
    } else if (name == "shadowimage") {
        shadowImage_ = value;
    } else if (name == "shadowimageheight") {
        shadowImageHeight_ = ui::ParseInt(value);
    } else if (name == "pillarimage") {
        pillarImage_ = value;
    } else if (name == "pillarimagewidth") {
        pillarImageWidth_ = ui::ParseInt(value);
    } else if (name == "showhtml") {
        showHtml_ = value == "true";
    } else if (name == "showtext") {
        showText_ = value == "true";
    } else if (name == "font") {
        fontIndex_ = ui::ParseInt(value);
    }
}

void CChartViewUI::AddItem(const std::string& name, double value) {
    items_.emplace_back(name, std::max(0.0, value));
    Invalidate();
}

void CChartViewUI::RemoveAllItems() {
    items_.clear();
    Invalidate();
}

uint32_t CChartViewUI::ItemColor(size_t i) {
    static const uint32_t palette[] = {0xFF3D7BD9, 0xFFE8833A, 0xFF4CAF50, 0xFFD9434B,
                                       0xFF8E6BC8, 0xFF2BB3B3, 0xFFC9B037, 0xFF7A7A7A};
    return palette[i % (sizeof palette / sizeof palette[0])];
}

ui::Rect CChartViewUI::GetPieRect() const {
    int w = pos_.Width(), h = BaseLine() - pos_.top;
    int side = std::max(0, std::min(w, h));
    int left = pos_.left + (w - side) / 2, top = pos_.top + (h - side) / 2;
    return {left, top, left + side, top + side};
}

std::vector<CChartViewUI::Slice> CChartViewUI::GetSlices() const {
    double total = 0;
    for (const auto& item : items_)
        total += item.second;
    std::vector<Slice> slices;
    double start = -90;
    for (const auto& item : items_) {
        double sweep = total > 0 ? item.second / total * 360.0 : 0;
        slices.push_back({start, sweep});
        start += sweep;
    }
    return slices;
}

ui::Rect CChartViewUI::GetShadowRect() const {
    int base = BaseLine();
    return {pos_.left, base - shadowImageHeight_, pos_.right, base};
}

std::vector<ui::Rect> CChartViewUI::GetColumns() const {
    std::vector<ui::Rect> columns;
    if (items_.empty())
        return columns;
    double largest = 0;
    for (const auto& item : items_)
        largest = std::max(largest, item.second);
    int base = BaseLine();
    int room = std::max(0, base - pos_.top - (showText_ ? kTextStrip : 0));
    int slot = pos_.Width() / static_cast<int>(items_.size());
    int width = pillarImageWidth_ > 0 ? std::min(pillarImageWidth_, slot) : std::max(1, slot / 2);
    for (size_t i = 0; i < items_.size(); ++i) {
        int left = pos_.left + slot * static_cast<int>(i) + (slot - width) / 2;
        int height = largest > 0 ? static_cast<int>(items_[i].second / largest * room) : 0;
        columns.push_back({left, base - height, left + width, base});
    }
    return columns;
}

void CChartViewUI::DoPaint(ui::Painter& painter, const ui::Rect& clip) {
    if (pos_.Intersect(clip).Empty())
        return;
    CControlUI::DoPaint(painter, clip);
    if (view_ == 0)
        DoPaintPie(painter);
    else
        DoPaintHistogram(painter);
}

void CChartViewUI::PaintNames(ui::Painter& painter, const std::vector<ui::Rect>& cells) {
    if (!showText_ || !manager_)
        return;
    const ui::FontInfo* font = manager_->GetFont(fontIndex_);
    for (size_t i = 0; i < items_.size() && i < cells.size(); ++i)
        painter.DrawText(cells[i], items_[i].first, ItemColor(i),
                         font ? *font : manager_->GetDefaultFont(),
                         ui::DT_CENTER | ui::DT_VCENTER | ui::DT_SINGLELINE | ui::DT_END_ELLIPSIS);
}

void CChartViewUI::DoPaintPie(ui::Painter& painter) {
    ui::Rect pie = GetPieRect();
    auto slices = GetSlices();
    for (size_t i = 0; i < slices.size(); ++i)
        if (slices[i].sweepDeg > 0)
            painter.FillPie(pie, slices[i].startDeg, slices[i].sweepDeg, ItemColor(i));
    // A legend: one cell of the text strip per item.
    std::vector<ui::Rect> cells;
    int n = static_cast<int>(items_.size());
    for (int i = 0; i < n; ++i) {
        int l = pos_.left + pos_.Width() * i / n, r = pos_.left + pos_.Width() * (i + 1) / n;
        cells.push_back({l, BaseLine(), r, pos_.bottom});
    }
    PaintNames(painter, cells);
}

void CChartViewUI::DoPaintHistogram(ui::Painter& painter) {
    if (!shadowImage_.empty() && !painter.DrawImage(GetShadowRect(), shadowImage_))
        shadowImage_.clear();  // not tried again
    auto columns = GetColumns();
    std::vector<ui::Rect> cells;
    for (size_t i = 0; i < columns.size(); ++i) {
        const ui::Rect& c = columns[i];
        if (!c.Empty()) {
            if (pillarImage_.empty() || !painter.DrawImage(c, pillarImage_))
                painter.FillRect(c, ItemColor(i));
        }
        int slot = items_.empty() ? 0 : pos_.Width() / static_cast<int>(items_.size());
        int l = pos_.left + slot * static_cast<int>(i);
        cells.push_back({l, BaseLine(), l + slot, pos_.bottom});
    }
    PaintNames(painter, cells);
}

}  // namespace dravik
