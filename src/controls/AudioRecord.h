#pragma once
// CAudioRecordUI: a bar graph of 500 levels (full scale 8192) on a white ground: one black bar
// every second pixel column from the left, as many as the width holds.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/BasicControls.h"

namespace dravik {

class CAudioRecordUI : public ui::CLabelUI {
  public:
    static constexpr int kLevelCount = 500;
    static constexpr int kFullScale = 8192;

    CAudioRecordUI();
    std::string GetClass() const override { return "AudioRecord"; }
    void* GetInterface(const std::string& name) override;
    void DoPaint(ui::Painter& painter, const ui::Rect& clip) override;

    int32_t GetLevel(int index) const;
    // The bars for the current position, left to right (a bar of level 0 is empty).
    std::vector<ui::Rect> GetBars() const;

  private:
    std::array<int32_t, kLevelCount> levels_{};
};

}  // namespace dravik
