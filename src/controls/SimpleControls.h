#pragma once
// Two small controls of the skin.
//
// CRedioMacroButtonUI: the macro editor's record button; a plain button that also keeps the
// image of its recording state ("redioimage") for the editor to use.
//
// CWndUI: a placeholder where a native window would be hosted; it is a plain control.
#include <string>

#include "ui/BasicControls.h"

namespace dravik {

class CRedioMacroButtonUI : public ui::CButtonUI {
  public:
    std::string GetClass() const override { return "RedioMacroButton"; }
    void* GetInterface(const std::string& name) override;
    void Init() override {}
    void SetAttribute(const std::string& name, const std::string& value) override;

    const std::string& GetRedioImage() const { return redioImage_; }

  private:
    std::string redioImage_;
};

class CWndUI : public ui::CControlUI {
  public:
    std::string GetClass() const override { return "Wnd"; }
};

}  // namespace dravik
