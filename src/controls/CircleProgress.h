#pragma once
// CCircleProgressUI: progress shown as a ring. The background colour fills a disc; the
// foreground colour fills a slice from straight down, clockwise, in proportion to the value; a
// white disc 10 pixels inside the edge leaves a ring.
#include <string>

#include "ui/BasicControls.h"

namespace dravik {

class CCircleProgressUI : public ui::CProgressUI {
  public:
    static constexpr int kRingWidth = 10;
    static constexpr int kStartAngle = 90;  // straight down; angles run clockwise

    std::string GetClass() const override { return "CircleProgress"; }
    void* GetInterface(const std::string& name) override;
    void DoPaint(ui::Painter& painter, const ui::Rect& clip) override;

    // The coloured arc in whole degrees: the value's share of the range, 0..360. An empty range
    // (maximum equal to minimum) shows no arc.
    int GetSweepAngle() const;
    // The white centre disc.
    ui::Rect GetInnerRect() const;
};

}  // namespace dravik
