#pragma once
// The keyboard's profile data: the settings words ("SystemStages") and the custom colour groups
// ("CustomLightMode") besides the common sections.
#include <vector>

#include "profiles/BasicProfiledata.h"

namespace dravik {

class CKeyboardProfiledata : public CBasicProfiledata {
  public:
    // Groups and colours per group that the custom colour operations accept; the keyboard has
    // five groups of 170 keys. Larger requests are refused (read as empty, written not at all)
    // rather than growing the document without bound.
    static constexpr int kMaxCustomGroups = 256;
    static constexpr int kMaxCustomColors = 1024;

    KeyboardSystemSettings ReadKeyboardSettings();
    void WriteKeyboardSettings(const KeyboardSystemSettings& settings);

    // The first count colours of custom group `group`. A missing group, or a missing colour of
    // the group, is created in the document as zeros (it reaches the file on the next save) and
    // read as zeros.
    std::vector<CustomColor> ReadCustomColors(int group, int count);
    // Writes the colours into custom group `group` by position.
    void WriteCustomColors(const std::vector<CustomColor>& colors, int group);
    int ReadCustomGroupIndex();
    void WriteCustomGroupIndex(int index);

    const KeyboardSystemSettings& KeyboardSettings() const { return settings_; }
    const std::vector<CustomColor>& CustomColors() const { return customColors_; }
    int CustomGroupIndex() const { return customGroupIndex_; }

  private:
    KeyboardSystemSettings settings_;
    std::vector<CustomColor> customColors_;
    int customGroupIndex_ = 0;
};

}  // namespace dravik
