#pragma once
// The drawing seam between controls and the renderer. Controls describe what to draw; the
// renderer (cairo/pango) draws it into the window's surface.
#include <cstdint>
#include <string>

#include "ui/Geometry.h"

namespace dravik::ui {

struct FontInfo;

class Painter {
  public:
    virtual ~Painter() = default;
    virtual void FillRect(const Rect& rc, uint32_t argb) = 0;
    virtual void FillGradient(const Rect& rc, uint32_t top, uint32_t bottom) = 0;
    virtual void DrawBorder(const Rect& rc, uint32_t argb, int width, int roundX, int roundY) = 0;
    virtual void DrawText(const Rect& rc, const std::string& text, uint32_t argb,
                          const FontInfo& font, uint32_t style) = 0;
    // An image string: "file.png" or "file='…' source='l,t,r,b' corner='…' dest='…' fade='…'".
    virtual bool DrawImage(const Rect& rc, const std::string& imageString) = 0;
    // The same image used as a stencil: its shape (alpha) painted in the colour's RGB, at the
    // colour's alpha as opacity. Lights and highlights are drawn this way.
    virtual bool DrawImageTinted(const Rect& rc, const std::string& imageString, uint32_t argb) = 0;
    virtual void FillEllipse(const Rect& rc, uint32_t argb) = 0;
    virtual void DrawArc(const Rect& rc, double startDeg, double sweepDeg, uint32_t argb,
                         int width) = 0;
    // A filled slice of the ellipse inscribed in rc. Angles in degrees, clockwise from the
    // positive x axis (90 is straight down); a sweep of 360 or more fills the whole ellipse.
    virtual void FillPie(const Rect& rc, double startDeg, double sweepDeg, uint32_t argb) = 0;
    virtual void PushClip(const Rect& rc) = 0;
    virtual void PopClip() = 0;
};

}  // namespace dravik::ui
