#pragma once
// CComboEditContainerElementUI: a list row whose content is the sub-layout
// "XML\CustomControlXML\ComboEditElementItem.xml" with the parts "text1", "text2" and
// "delay_edit". A press selects the row (with Ctrl: toggles it), a release sends "itemclick",
// Enter or a double click activates it ("itemactivate"; Enter also sends "return").
#include <string>

#include "ui/ListControls.h"

namespace dravik {

class CComboEditContainerElementUI : public ui::CListContainerElementUI {
  public:
    static constexpr const char* kItemLayout = "XML\\CustomControlXML\\ComboEditElementItem.xml";

    std::string GetClass() const override { return "ComboEditContainerElement"; }
    void* GetInterface(const std::string& name) override;
    void Init() override;
    void DoEvent(ui::TEventUI& event) override;
    bool Activate() override;
    void SetAttribute(const std::string& name, const std::string& value) override;

    // The row's parts; null when the sub-layout could not be built or lacks them.
    ui::CControlUI* GetText1() const { return text1_; }
    ui::CControlUI* GetText2() const { return text2_; }
    ui::CControlUI* GetDelayEdit() const { return delayEdit_; }
    bool IsHot() const { return hot_; }

  private:
    bool built_ = false;
    bool hot_ = false;
    ui::CControlUI* text1_ = nullptr;
    ui::CControlUI* text2_ = nullptr;
    ui::CControlUI* delayEdit_ = nullptr;
};

}  // namespace dravik
