#pragma once
// CDeviceOptionUI: a device's tab in the tab strip. It holds the tab's option button, the image
// set of the device's kind, the pages it selects (the device page and the power panel), and runs
// the device's timers: light frames, connection, profile refresh, power polling and the
// receiver check.
#include <cstdint>
#include <string>

#include "ui/BasicControls.h"
#include "ui/Container.h"

namespace dravik {

class COrvaneUSBDevice;

class CDeviceOptionUI : public ui::CHorizontalLayoutUI {
  public:
    CDeviceOptionUI();
    ~CDeviceOptionUI() override;
    std::string GetClass() const override { return "DeviceOption"; }
    void* GetInterface(const std::string& name) override;
    void DoEvent(ui::TEventUI& event) override;

    // Chooses the image set and tooltip of the display kind (and variant for the mouse pad).
    void SetKind(int displayKind, int variant);
    int GetDisplayKind() const { return displayKind_; }
    int GetVariant() const { return variant_; }
    void BindPage(const std::string& tabLayoutName, int pageIndex);
    void BindPowerPage(const std::string& name, int index);
    const std::string& GetPageSwitchName() const { return pageSwitch_; }
    int GetPageIndex() const { return pageIndex_; }
    const std::string& GetPowerPageName() const { return powerPage_; }
    int GetPowerPageIndex() const { return powerIndex_; }

    void SetDevice(COrvaneUSBDevice* device);
    COrvaneUSBDevice* GetDevice() const { return device_; }
    void SetSelectPanel(ui::CControlUI* panel) { selectPanel_ = panel; }
    ui::CControlUI* GetSelectPanel() const { return selectPanel_; }

    // The tab's option button "device_select" and the synchronisation check
    // "synchro_device_select" (found on first use).
    ui::COptionUI* OptionButton();
    ui::COptionUI* SynchroButton();
    bool IsOptionSelected();

    const std::string& NormalImage() const { return normal_; }
    const std::string& SelectedImage() const { return selected_; }
    const std::string& SynchroNormalImage() const { return synchroNormal_; }
    const std::string& SynchroSelectedImage() const { return synchroSelected_; }
    int FailureCount() const { return failures_; }

    // The image-set name of a display kind and variant ("" when the variant changes nothing).
    static std::string ImageSetOf(int displayKind, int variant);

  private:
    void OnTimer(uint32_t id);
    void ApplyImages(const std::string& set);
    void SendTabMessage(int lParam);

    COrvaneUSBDevice* device_ = nullptr;
    ui::CControlUI* selectPanel_ = nullptr;
    ui::COptionUI* option_ = nullptr;
    ui::COptionUI* synchro_ = nullptr;
    std::string synchroSelected_, synchroNormal_, selected_, normal_;
    int displayKind_ = 0;
    int variant_ = 0;
    std::string pageSwitch_;
    int pageIndex_ = -1;
    std::string powerPage_;
    int powerIndex_ = -1;
    int failures_ = 0;
};

}  // namespace dravik
