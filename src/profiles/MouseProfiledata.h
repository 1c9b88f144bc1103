#pragma once
// The mouse's profile data: DPI stages ("DPIStages") and the settings words ("SystemStages" and
// "ReportStages") besides the common sections.
#include <vector>

#include "profiles/BasicProfiledata.h"

namespace dravik {

class CMouseProfiledata : public CBasicProfiledata {
  public:
    // Reads "DPIStages": the active stage and the stages, merged into the stages in memory
    // (stage j of the document replaces stage j, further stages are appended, stages the
    // document does not have keep their values). Returns a copy of the merged stages.
    std::vector<DpiStage> ReadDpiStages();
    // Replaces the stages and writes each into "StageDPIs" by position; stored stages beyond the
    // vector stay as they are.
    void WriteDpiStages(const std::vector<DpiStage>& stages);
    // The active stage in memory (as last read or written).
    int GetActiveStage() const { return activeStage_; }
    void WriteActiveStage(int stage);

    MouseSystemSettings ReadMouseSettings();
    void WriteMouseSettings(const MouseSystemSettings& settings);

    const std::vector<DpiStage>& Stages() const { return stages_; }
    const MouseSystemSettings& MouseSettings() const { return settings_; }

  private:
    std::vector<DpiStage> stages_;
    int activeStage_ = 0;
    MouseSystemSettings settings_;
};

}  // namespace dravik
