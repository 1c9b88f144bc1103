#pragma once
// The cairo/pango implementation of Painter, and rendering a window's control tree to PNG.
#include <filesystem>
#include <optional>
#include <string>

#include "ui/Painter.h"

typedef struct _cairo cairo_t;

namespace dravik::ui {

class CPaintManagerUI;

// Rectangles arrive in window pixels, already laid out at the window's DPI. Sizes that come from
// the skin as they are (font sizes, border widths and corner radii, arc widths, an image string's
// corner and dest) are given at 96 DPI and multiplied by dpiScale here.
class CairoPainter : public Painter {
  public:
    explicit CairoPainter(cairo_t* cr, double dpiScale = 1.0) : cr_(cr), scale_(dpiScale) {}
    void FillRect(const Rect& rc, uint32_t argb) override;
    void FillGradient(const Rect& rc, uint32_t top, uint32_t bottom) override;
    void DrawBorder(const Rect& rc, uint32_t argb, int width, int roundX, int roundY) override;
    void DrawText(const Rect& rc, const std::string& text, uint32_t argb, const FontInfo& font,
                  uint32_t style) override;
    bool DrawImage(const Rect& rc, const std::string& imageString) override;
    bool DrawImageTinted(const Rect& rc, const std::string& imageString, uint32_t argb) override;
    void FillEllipse(const Rect& rc, uint32_t argb) override;
    void DrawArc(const Rect& rc, double startDeg, double sweepDeg, uint32_t argb,
                 int width) override;
    void FillPie(const Rect& rc, double startDeg, double sweepDeg, uint32_t argb) override;
    void PushClip(const Rect& rc) override;
    void PopClip() override;

  private:
    bool Draw(const Rect& rc, const std::string& imageString, const uint32_t* tint);
    int Scaled(int v) const;
    cairo_t* cr_;
    double scale_;
};

// What a text needs on one line (or in lines of wrapWidth pixels when wrapWidth > 0) in a font
// at a DPI scale, as DrawText lays it out, and how many of its characters no font could show.
struct TextExtent {
    int width = 0, height = 0;
    int unknownGlyphs = 0;
};
TextExtent MeasureText(const std::string& text, const FontInfo& font, double dpiScale = 1.0,
                       int wrapWidth = -1);

// The pixel size of an image file of the skin, through the renderer's image cache; nullopt when
// the file cannot be loaded.
std::optional<Size> ImageFileSize(const std::string& file);

// Paints the part clip (window pixels) of the manager's tree into cr: the window's white ground,
// then the controls, at the manager's DPI. cr's origin is the client area's top-left corner.
void PaintTree(CPaintManagerUI& manager, cairo_t* cr, const Rect& clip);

// Paints the manager's tree at its client size into a PNG file; false when it cannot be written.
bool RenderToPng(CPaintManagerUI& manager, const std::filesystem::path& file);

}  // namespace dravik::ui
