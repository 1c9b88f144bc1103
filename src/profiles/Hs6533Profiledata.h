#pragma once
// The headset's profile data: the audio settings ("SystemSetStages"), the preset equaliser
// curves ("EQHzValueInfo") and the user's named custom curves ("CustomEQNameInfo",
// "CustomEQHzValueInfo") besides the common sections.
#include <string>
#include <vector>

#include "profiles/BasicProfiledata.h"

namespace dravik {

class CHs6533Profiledata : public CBasicProfiledata {
  public:
    static constexpr int kEqBands = 10;
    static constexpr int kCustomEqType = 13;  // the type that stands for the custom curves
    // Custom slots the curve operations accept (the editor keeps at most 20 names); others read
    // as ten zeros and are never written.
    static constexpr int kMaxCustomEqSlots = 256;

    HeadsetSystemSettings ReadHeadsetSettings();
    void WriteHeadsetSettings(const HeadsetSystemSettings& settings);

    // The ten bands of the preset curve for an equaliser type: types 1-12 are their own preset,
    // type 0 and types outside 0-13 use preset 1, and type 13 (custom) has none (empty list,
    // nothing written). A missing preset is created in the document as ten zero bands.
    std::vector<int> ReadEqCurve(int eqType);
    void WriteEqCurve(int eqType, const std::vector<int>& values);
    std::vector<std::string> ReadCustomEqNames();
    // Replaces the whole name list.
    void WriteCustomEqNames(const std::vector<std::string>& names);
    // The ten bands of custom slot `slot`; a missing slot or band is created as 0.
    std::vector<int> ReadCustomEqCurve(int slot);
    void WriteCustomEqCurve(int slot, const std::vector<int>& values);

    const HeadsetSystemSettings& HeadsetSettings() const { return settings_; }

  private:
    HeadsetSystemSettings settings_;
};

}  // namespace dravik
