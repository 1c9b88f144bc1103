#pragma once
// The main window's side of discovery: the device list, one page, tab and power panel per
// device kind, and what happens on the UI thread when the scan thread reports an interface
// arriving or leaving: links opened and closed, cable and receiver switched, tabs shown, hidden
// and selected.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "discovery/DeviceTables.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManager.h"

namespace dravik {

class COrvaneUSBDevice;
class CDeviceOptionUI;
class CMpDevicePowerUI;

// What discovery needs from the window that owns it.
struct DiscoveryHost {
    ui::CPaintManagerUI* manager = nullptr;
    ui::IDialogBuilderCallback* callback = nullptr;
    uint32_t window = 0;
    std::function<void()> restoreAndActivate;
    std::function<void()> closeChildWindows;
    // Stops a running key capture (input hook off, capture ended); false when none ran.
    std::function<bool()> endKeyCapture;
    // More than one tab visible (true) or not; the lighting editors follow it.
    std::function<void(bool several)> severalDevices;
};

class DeviceDiscovery {
  public:
    explicit DeviceDiscovery(DiscoveryHost host) : host_(std::move(host)) {}

    DeviceList& List() { return list_; }
    void SetWindow(uint32_t hwnd) { host_.window = hwnd; }
    // Copies the supported-device table into the device list and finds the window's controls.
    void Init();
    // The pages of option rows 0 (mouse) and 1 (keyboard), created hidden at start-up.
    void CreateStartupPages();
    // Builds the power panel, tab and page of the option row matching the canonical row;
    // nullptr when no option row matches or a layout cannot be built.
    COrvaneUSBDevice* CreatePage(int canonicalRow, int variant);

    void OnArrival(uint64_t row);
    void OnRemoval(uint64_t row);
    // 0xD03 and 0xD05.
    void OnDeviceTab(uint64_t optionRow, int64_t state);
    void OnLinkConfirmed(uint64_t confirmed);
    bool LinkConfirmed() const { return linkConfirmed_; }
    void SetLinkConfirmed(bool on) { linkConfirmed_ = on; }
    // "selectchanged" from a tab's option button.
    void OnTabSelected();

    void ShowTab(int index, bool visible, bool select);
    void HideTab(int index);
    int CountVisibleTabs() const;
    // Shows and selects the nearest visible tab before (-1) or after (+1) the selected one.
    void SelectAdjacentTab(int direction);

    int TabCount() const;
    CDeviceOptionUI* TabAt(int index) const;
    int TabIndexOf(const CDeviceOptionUI* tab) const;
    int TabIndexOfOptionRow(int optionRow) const;
    // The device of the first visible tab whose option button is selected.
    COrvaneUSBDevice* SelectedDevice() const;
    int SelectedTabIndex() const { return selectedIndex_; }
    int SelectedDisplayKind() const { return selectedKind_; }

    const std::vector<COrvaneUSBDevice*>& Mice() const { return mice_; }
    const std::vector<COrvaneUSBDevice*>& Keyboards() const { return keyboards_; }
    const std::vector<COrvaneUSBDevice*>& MousePads() const { return pads_; }
    const std::vector<COrvaneUSBDevice*>& Headsets() const { return headsets_; }
    const std::vector<CMpDevicePowerUI*>& PowerPanels() const { return powerPanels_; }
    std::vector<COrvaneUSBDevice*> AllDevices() const;
    // Mice, mouse pads and keyboards: the devices the window's light and activity states reach.
    std::vector<COrvaneUSBDevice*> LightDevices() const;

    // The command-interface row that stands for the physical device of a row.
    int CommandRowOf(int row) const;
    // Switches a mouse or keyboard between its cable and its receiver.
    bool Switch(COrvaneUSBDevice* device, bool toCable);

  private:
    int CanonicalRowOf(const DeviceEntry& e) const;
    int RowOfIdentity(const DeviceEntry& identity) const;
    COrvaneUSBDevice* DeviceOfRow(int commandRow) const;
    std::vector<COrvaneUSBDevice*>* ListOfKind(int kind);
    void ArriveLinked(int row, const DeviceEntry& e);
    // The entry's partner (its other connection path) is bound and names this row back.
    bool PartnerBound(int row, const DeviceEntry& e) const;
    void ArriveWired(int row, const DeviceEntry& e);
    ui::CControlUI* Find(const std::string& name) const;
    void AfterVisibilityChange();

    DiscoveryHost host_;
    DeviceList list_;
    std::vector<COrvaneUSBDevice*> mice_, keyboards_, pads_, headsets_;
    std::vector<CMpDevicePowerUI*> powerPanels_;
    bool linkConfirmed_ = false;
    int selectedIndex_ = -1;
    int selectedKind_ = 0;
    int selectedVariant_ = 0;
};

}  // namespace dravik
