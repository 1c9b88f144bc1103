#pragma once
// The four device classes, created by their page layouts' tags. Each registers itself for its
// page's notifications and maps its page buttons; their own configuration reads, writes and
// editors come with each kind's page.
#include "devices/OrvaneUSBDevice.h"

namespace dravik {

// What the four classes share beyond the base: registration for page notifications, the page
// builder and a copy of the light settings.
class COrvaneDeviceCommon : public COrvaneUSBDevice {
  public:
    ~COrvaneDeviceCommon() override { CloseAllNotifications(); }
    void InitPage() override {
        RegisterAsNotifier();
        BuildPage();
    }
    virtual void BuildPage() { MapPageButtons(); }
    virtual LightInfo GetLightInfo() const { return CurrentLightInfo(); }
};

// Mouse and keyboard reach their device by cable or through a receiver: the device behind the
// receiver counts as present only while it answers the receiver's link query.
class COrvaneReceiverDevice : public COrvaneDeviceCommon {
  public:
    bool IsReceiverLinkAlive() override;
};

class COrvaneMouseDevice : public COrvaneReceiverDevice {
  public:
    std::string GetClass() const override { return "OrvaneMouseDevice"; }
    void* GetInterface(const std::string& name) override;
    void SetExtra(int extra) override { extra_ = extra; }
    int GetExtra() const { return extra_; }

  private:
    int extra_ = -1;
};

class COrvaneKeyboardDevice : public COrvaneReceiverDevice {
  public:
    std::string GetClass() const override { return "OrvaneKeyboardDevice"; }
    void* GetInterface(const std::string& name) override;
};

class COrvaneMousePadDevice : public COrvaneDeviceCommon {
  public:
    std::string GetClass() const override { return "OrvaneMousePadDevice"; }
    void* GetInterface(const std::string& name) override;
};

class COrvaneHS6533Device : public COrvaneDeviceCommon {
  public:
    std::string GetClass() const override { return "OrvaneHS6533Device"; }
    void* GetInterface(const std::string& name) override;
};

}  // namespace dravik
