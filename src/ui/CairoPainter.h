#pragma once
// The cairo/pango implementation of Painter, and rendering a window's control tree to PNG.
#include <filesystem>
#include <string>

#include "ui/Painter.h"

typedef struct _cairo cairo_t;

namespace dravik::ui {

class CPaintManagerUI;

class CairoPainter : public Painter {
  public:
    explicit CairoPainter(cairo_t* cr) : cr_(cr) {}
    void FillRect(const Rect& rc, uint32_t argb) override;
    void FillGradient(const Rect& rc, uint32_t top, uint32_t bottom) override;
    void DrawBorder(const Rect& rc, uint32_t argb, int width, int roundX, int roundY) override;
    void DrawText(const Rect& rc, const std::string& text, uint32_t argb, const FontInfo& font,
                  uint32_t style) override;
    bool DrawImage(const Rect& rc, const std::string& imageString) override;
    void FillEllipse(const Rect& rc, uint32_t argb) override;
    void DrawArc(const Rect& rc, double startDeg, double sweepDeg, uint32_t argb,
                 int width) override;
    void PushClip(const Rect& rc) override;
    void PopClip() override;

  private:
    cairo_t* cr_;
};

// Paints the manager's tree at its client size into a PNG file; false when it cannot be written.
bool RenderToPng(CPaintManagerUI& manager, const std::filesystem::path& file);

}  // namespace dravik::ui
