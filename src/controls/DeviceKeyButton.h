#pragma once
// CDeviceKeyButtonUI: one key or LED on a device picture. Besides a button's state images it
// draws a light overlay in the LED's colour at the LED's level, and a badge on a key whose
// function was changed. The select panel that holds it marks it when a drag rectangle covers it.
#include <cstdint>
#include <string>

#include "ui/BasicControls.h"

namespace dravik {

class CDeviceKeyButtonUI : public ui::CButtonUI {
  public:
    // Light colours arrive packed the way the device pages pack their LED buffers:
    // red in bits 0-7, blue in bits 8-15, green in bits 16-23.
    static uint32_t PackLightColor(uint8_t r, uint8_t g, uint8_t b) {
        return uint32_t{r} | uint32_t{b} << 8 | uint32_t{g} << 16;
    }
    // The overlay's paint colour: the packed light colour as 0xAARRGGBB with the level (0-255,
    // clamped) as alpha.
    static uint32_t OverlayArgb(uint32_t lightColor, int32_t level);

    std::string GetClass() const override { return "DeviceKeyButton"; }
    void* GetInterface(const std::string& name) override;
    void Init() override {}
    void DoEvent(ui::TEventUI& event) override;
    void SetAttribute(const std::string& name, const std::string& value) override;

    // Stores the overlay's colour, level and visibility; the caller repaints the picture.
    void SetLightColor(uint32_t color, int32_t level, bool shown);
    // Hides (non-zero) or shows (0) the remapped-key badge; repaints only on a change.
    void SetKeySetImageHidden(int32_t hidden);
    // Set by the select panel after each drag: whether the button lay inside the rectangle.
    void SetMarqueeSelected(int32_t selected);
    int32_t IsMarqueeSelected() const { return marqueeSelected_; }

    uint32_t GetLightColor() const { return lightColor_; }
    int32_t GetLightLevel() const { return lightLevel_; }
    bool IsLightShown() const { return lightShown_; }
    int32_t GetKeySetImageHidden() const { return keySetImageHidden_; }
    const std::string& GetLightImage() const { return lightImage_; }
    const std::string& GetKeySetImage() const { return keySetImage_; }

  protected:
    void PaintStatusImage(ui::Painter& painter) override;

  private:
    std::string lightImage_;
    std::string keySetImage_;
    uint32_t lightColor_ = 255;
    int32_t lightLevel_ = 200;
    bool lightShown_ = false;
    int32_t keySetImageHidden_ = 1;
    int32_t marqueeSelected_ = 0;
};

}  // namespace dravik
