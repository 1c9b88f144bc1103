#pragma once
// CMpDevicePowerUI: a device's battery panel: charge, charging state, the wireless mark and, on
// the mouse pad, the phone lying on its charger.
#include <array>
#include <cstdint>
#include <string>

#include "ui/Container.h"

namespace dravik {

class COrvaneUSBDevice;

class CMpDevicePowerUI : public ui::CVerticalLayoutUI {
  public:
    ~CMpDevicePowerUI() override;
    std::string GetClass() const override { return "MpDevicePower"; }
    void* GetInterface(const std::string& name) override;

    void SetKind(int kind, int variant) {
        kind_ = kind;
        variant_ = variant;
    }
    int GetKind() const { return kind_; }
    int GetVariant() const { return variant_; }
    void SetOwner(COrvaneUSBDevice* device) { owner_ = device; }
    // Shows "device_power_Layout" only for a device with a power panel.
    void ShowPowerLayout(bool show);

    // Takes up to 64 bytes of a power-status record: byte 0 charge in percent, 1 charging state
    // (0 charged, 1 charging, 2 on battery), 3 connection (1 through the receiver), 5 the phone on
    // a mouse pad's charger.
    void Update(const uint8_t* record, size_t length);
    const std::array<uint8_t, 64>& LastRecord() const { return record_; }

  private:
    bool FindParts();

    COrvaneUSBDevice* owner_ = nullptr;
    int kind_ = 0;
    int variant_ = 0;
    std::array<uint8_t, 64> record_{};
    ui::CControlUI* value_ = nullptr;
    ui::CControlUI* wireless_ = nullptr;
    ui::CControlUI* progress_ = nullptr;
    ui::CControlUI* status_ = nullptr;
    ui::CControlUI* phone_ = nullptr;
};

}  // namespace dravik
