#include "app/ControlRegistry.h"

#include <strings.h>

#include "controls/AudioRecord.h"
#include "controls/ChartView.h"
#include "controls/CircleProgress.h"
#include "controls/ComboEditContainerElement.h"
#include "controls/DeviceKeyButton.h"
#include "controls/HandImgButtons.h"
#include "controls/SelectPanel.h"
#include "controls/SimpleControls.h"
#include "devices/OrvaneDevices.h"
#include "discovery/DeviceOption.h"
#include "discovery/MpDevicePower.h"
#include "ui/DialogBuilder.h"

namespace dravik {

const std::vector<ControlClass>& ControlClassTable() {
    // The order is the factory's registration order; creators are filled in as each class joins
    // the program.
    static const std::vector<ControlClass> table = {
        {"CCircleProgressUI", [] { return new CCircleProgressUI; }},
        {"CChartViewUI", [] { return new CChartViewUI; }},
        {"CWndUI", [] { return new CWndUI; }},
        {"CSelectPanelUI", [] { return new CSelectPanelUI; }},
        {"CDeviceKeyButtonUI", [] { return new CDeviceKeyButtonUI; }},
        {"CCloudShareListItemUI", {}},
        {"CUpdateInfoListItemUI", {}},
        {"CDeviceOptionUI", [] { return new CDeviceOptionUI; }},
        {"CMpDevicePowerUI", [] { return new CMpDevicePowerUI; }},
        {"CComboEditContainerElementUI", [] { return new CComboEditContainerElementUI; }},
        {"CHandImgButtonUI", [] { return new CHandImgButtonUI; }},
        {"CHandImgSelectButtonUI", [] { return new CHandImgSelectButtonUI; }},
        {"CRedioMacroButtonUI", [] { return new CRedioMacroButtonUI; }},
        {"CAudioRecordUI", [] { return new CAudioRecordUI; }},
        {"CLightControlUI", {}},
        {"CMacroControlUI", {}},
        {"CKeySetControlUI", {}},
        {"CDeviceProfileUI", {}},
        {"CShootControlUI", {}},
        {"CMagicControlUI", {}},
        {"CVoice6533ControlUI", {}},
        {"COrvaneUSBDevice", [] { return new COrvaneUSBDevice; }},
        {"COrvaneMousePadDevice", [] { return new COrvaneMousePadDevice; }},
        {"COrvaneHS6533Device", [] { return new COrvaneHS6533Device; }},
    };
    return table;
}

void RegisterControlClasses() {
    for (const ControlClass& c : ControlClassTable())
        if (c.create)
            ui::CControlFactory::GetInstance().RegistControl(c.className, c.create);
}

const std::vector<LayoutTag>& MainLayoutTags() {
    static const std::vector<LayoutTag> tags = {
        {"CircleProgress", "CCircleProgressUI", nullptr},
        {"SelectPanel", "CSelectPanelUI", nullptr},
        {"DeviceKeyButton", "CDeviceKeyButtonUI", nullptr},
        {"HandImgButton", "CHandImgButtonUI", nullptr},
        {"AudioRecord", "CAudioRecordUI", nullptr},
        {"HandImgSelectButton", "CHandImgSelectButtonUI", nullptr},
        {"RedioMacroButton", "CRedioMacroButtonUI", nullptr},
        {"ComboEditContainerElement", "CComboEditContainerElementUI", nullptr},
        {"OrvaneMousePadDevice", "COrvaneMousePadDevice", nullptr},
        {"OrvaneHS6533Device", "COrvaneHS6533Device", nullptr},
        {"OrvaneMouseDevice", "COrvaneMouseDevice", nullptr},
        {"OrvaneKeyboardDevice", "COrvaneKeyboardDevice", nullptr},
        {"DeviceProfile", "CDeviceProfileUI", nullptr},
        {"LightControl", "CLightControlUI", nullptr},
        {"MagicControl", "CMagicControlUI", nullptr},
        {"Voice6533Control", "CVoice6533ControlUI", nullptr},
        {"KeySetControl", "CKeySetControlUI", nullptr},
        {"ShootControl", "CShootControlUI", nullptr},
        {"DeviceProfileUI", nullptr, "XML\\CustomControlXML\\DeviceProfile.xml"},
        {"LightSetControlUI", nullptr, "XML\\CustomControlXML\\LightControl.xml"},
        {"Voice6533SetControlUI", nullptr, "XML\\CustomControlXML\\Voice6533Control.xml"},
        {"MagicSetControlUI", nullptr, "XML\\CustomControlXML\\MagicControl.xml"},
        {"KeySetControlUI", nullptr, "XML\\CustomControlXML\\KeySetControl.xml"},
        {"MacroSetControlUI", nullptr, "XML\\CustomControlXML\\MacroControl.xml"},
        {"ShootKeySetControlUI", nullptr, "XML\\CustomControlXML\\ShootControl.xml"},
        {"VirtualSetControlUI", nullptr, "XML\\CustomControlXML\\VirtualSet.xml"},
    };
    return tags;
}

namespace {

// Classes the layout creates that are not registered with the factory (the mouse and keyboard
// device classes) are looked up here by class name.
ControlCreator LayoutOnlyCreator(const std::string& className) {
    if (className == "COrvaneMouseDevice")
        return [] { return new COrvaneMouseDevice; };
    if (className == "COrvaneKeyboardDevice")
        return [] { return new COrvaneKeyboardDevice; };
    return {};
}

}  // namespace

ui::CControlUI* CreateMainLayoutControl(const std::string& tag, ui::CPaintManagerUI* manager) {
    for (const LayoutTag& row : MainLayoutTags()) {
        if (strcasecmp(row.tag, tag.c_str()) != 0)
            continue;
        if (row.subLayout) {
            ui::CDialogBuilder builder;
            return builder.Create(row.subLayout, "", nullptr, manager, nullptr);
        }
        for (const ControlClass& c : ControlClassTable())
            if (c.create && std::string(c.className) == row.className)
                return c.create();
        if (ControlCreator make = LayoutOnlyCreator(row.className))
            return make();
        return nullptr;
    }
    return nullptr;
}

}  // namespace dravik
