#pragma once
// CChartViewUI: a pie ("view" = "pie") or column ("view" = "histpgram") chart of named values.
// Pie slices start at the top and run clockwise in proportion to the positive values; columns
// stand on a common base line, scaled to the largest value. With "showtext" the names are written
// in a 25-pixel strip along the bottom. The column view lays its shadow image across the control
// just above that strip; a shadow image that cannot be drawn is dropped.
#include <string>
#include <utility>
#include <vector>

#include "ui/Control.h"

namespace dravik {

class CChartViewUI : public ui::CControlUI {
  public:
    static constexpr int kTextStrip = 25;

    struct Slice {
        double startDeg = 0;
        double sweepDeg = 0;
    };

    void SetAttribute(const std::string& name, const std::string& value) override;
    void DoPaint(ui::Painter& painter, const ui::Rect& clip) override;
    virtual void DoPaintPie(ui::Painter& painter);
    virtual void DoPaintHistogram(ui::Painter& painter);

    // Items keep their order; negative values count as 0.
    void AddItem(const std::string& name, double value);
    void RemoveAllItems();
    const std::vector<std::pair<std::string, double>>& GetItems() const { return items_; }

    int GetView() const { return view_; }
    const std::string& GetShadowImage() const { return shadowImage_; }
    int GetShadowImageHeight() const { return shadowImageHeight_; }
    const std::string& GetPillarImage() const { return pillarImage_; }
    int GetPillarImageWidth() const { return pillarImageWidth_; }
    bool IsShowHtml() const { return showHtml_; }
    bool IsShowText() const { return showText_; }
    int GetFontIndex() const { return fontIndex_; }

    // Geometry for the current position.
    ui::Rect GetPieRect() const;
    std::vector<Slice> GetSlices() const;  // one per item
    ui::Rect GetShadowRect() const;
    std::vector<ui::Rect> GetColumns() const;  // one per item
    // The colour of item i.
    static uint32_t ItemColor(size_t i);

  private:
    int BaseLine() const { return pos_.bottom - (showText_ ? kTextStrip : 0); }
    void PaintNames(ui::Painter& painter, const std::vector<ui::Rect>& cells);

    std::vector<std::pair<std::string, double>> items_;
    int view_ = 0;
    std::string shadowImage_;
    int shadowImageHeight_ = 0;
    std::string pillarImage_;
    int pillarImageWidth_ = 0;
    bool showHtml_ = false;
    bool showText_ = true;
    int fontIndex_ = -1;
};

}  // namespace dravik
