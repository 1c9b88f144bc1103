#include "ui/CairoPainter.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>

#include "ui/ImageString.h"
#include "ui/PaintManager.h"
#include "ui/ResourceManager.h"

namespace dravik::ui {
namespace {

void SetColor(cairo_t* cr, uint32_t argb) {
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                          (argb & 0xFF) / 255.0, ((argb >> 24) & 0xFF) / 255.0);
}

// Decoded images by path; loaded once per process.
cairo_surface_t* LoadImage(const std::string& file) {
    static std::mutex m;
    static std::map<std::string, cairo_surface_t*> cache;
    std::lock_guard lock(m);
    auto path = CResourceManager::GetInstance().ResolvePath(file).string();
    if (auto it = cache.find(path); it != cache.end())
        return it->second;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        s = nullptr;
    }
    cache[path] = s;
    return s;
}

// Draws the src part of img stretched over dst; with a tint, the part's alpha is used as a
// stencil for the tint colour instead of its own colours.
void DrawPart(cairo_t* cr, cairo_surface_t* img, Rect src, Rect dst, double alpha,
              const uint32_t* tint) {
    if (src.Empty() || dst.Empty())
        return;
    cairo_save(cr);
    cairo_rectangle(cr, dst.left, dst.top, dst.Width(), dst.Height());
    cairo_clip(cr);
    cairo_translate(cr, dst.left, dst.top);
    cairo_scale(cr, double(dst.Width()) / src.Width(), double(dst.Height()) / src.Height());
    if (tint) {
        uint32_t c = *tint;
        cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                              (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0 * alpha);
        cairo_mask_surface(cr, img, -src.left, -src.top);
    } else {
        cairo_set_source_surface(cr, img, -src.left, -src.top);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
}

// The font as pango knows it: the skin's face first, then the faces that carry Latin, Chinese and
// Thai, so that every script finds glyphs of one consistent style.
PangoFontDescription* FontDescription(const FontInfo& font, double scale) {
    PangoFontDescription* desc = pango_font_description_new();
    std::string families = font.face.empty() ? std::string() : font.face + ",";
    families += "Noto Sans,Noto Sans CJK SC,Noto Sans Thai";
    pango_font_description_set_family(desc, families.c_str());
    pango_font_description_set_absolute_size(desc, font.size * scale * PANGO_SCALE);
    if (font.bold)
        pango_font_description_set_weight(desc, PANGO_WEIGHT_BOLD);
    if (font.italic)
        pango_font_description_set_style(desc, PANGO_STYLE_ITALIC);
    return desc;
}

}  // namespace

void CairoPainter::FillRect(const Rect& rc, uint32_t argb) {
    SetColor(cr_, argb);
    cairo_rectangle(cr_, rc.left, rc.top, rc.Width(), rc.Height());
    cairo_fill(cr_);
}

void CairoPainter::FillGradient(const Rect& rc, uint32_t top, uint32_t bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, rc.top, 0, rc.bottom);
    auto stop = [&](double at, uint32_t c) {
        cairo_pattern_add_color_stop_rgba(p, at, ((c >> 16) & 0xFF) / 255.0,
                                          ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                                          ((c >> 24) & 0xFF) / 255.0);
    };
    stop(0, top);
    stop(1, bottom);
    cairo_set_source(cr_, p);
    cairo_rectangle(cr_, rc.left, rc.top, rc.Width(), rc.Height());
    cairo_fill(cr_);
    cairo_pattern_destroy(p);
}

int CairoPainter::Scaled(int v) const {
    return scale_ == 1.0 ? v : static_cast<int>(std::lround(v * scale_));
}

void CairoPainter::DrawBorder(const Rect& rc, uint32_t argb, int width, int roundX, int) {
    width = std::max(1, Scaled(width));
    roundX = Scaled(roundX);
    SetColor(cr_, argb);
    cairo_set_line_width(cr_, width);
    double h = width / 2.0;
    double x = rc.left + h, y = rc.top + h, w = rc.Width() - width, ht = rc.Height() - width;
    double r = std::min<double>(roundX / 2.0, std::min(w, ht) / 2);
    if (r > 0) {
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
        cairo_arc(cr_, x + w - r, y + ht - r, r, 0, M_PI / 2);
        cairo_arc(cr_, x + r, y + ht - r, r, M_PI / 2, M_PI);
        cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
        cairo_close_path(cr_);
    } else {
        cairo_rectangle(cr_, x, y, w, ht);
    }
    cairo_stroke(cr_);
}

void CairoPainter::DrawText(const Rect& rc, const std::string& text, uint32_t argb,
                            const FontInfo& font, uint32_t style) {
    if (rc.Empty() || text.empty())
        return;
    PangoLayout* layout = pango_cairo_create_layout(cr_);
    PangoFontDescription* desc = FontDescription(font, scale_);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    pango_layout_set_text(layout, text.c_str(), -1);
    const bool wrap = style & DT_WORDBREAK;
    const bool ellipsis = style & DT_END_ELLIPSIS;
    if (wrap) {
        // Lines break between words (and inside a word longer than the line, and between CJK
        // characters); with the ellipsis, the last line that fits ends in "…".
        pango_layout_set_width(layout, rc.Width() * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        if (ellipsis) {
            pango_layout_set_height(layout, rc.Height() * PANGO_SCALE);
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        }
    } else {
        // One line: never wrapped; cut with "…" when asked, else clipped at the rectangle.
        pango_layout_set_single_paragraph_mode(layout, TRUE);
        if (ellipsis) {
            pango_layout_set_width(layout, rc.Width() * PANGO_SCALE);
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        }
    }
    const PangoAlignment align = (style & DT_CENTER)  ? PANGO_ALIGN_CENTER
                                 : (style & DT_RIGHT) ? PANGO_ALIGN_RIGHT
                                                      : PANGO_ALIGN_LEFT;
    pango_layout_set_alignment(layout, align);
    if (font.underline) {
        PangoAttrList* attrs = pango_attr_list_new();
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
    }
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    double x = rc.left;
    if (pango_layout_get_width(layout) < 0) {
        // Without a layout width pango does not align: place the line ourselves.
        if (align == PANGO_ALIGN_CENTER)
            x = rc.left + (rc.Width() - logical.width) / 2.0;
        else if (align == PANGO_ALIGN_RIGHT)
            x = rc.right - logical.width;
        x -= logical.x;
    }
    double y = rc.top;
    if (style & DT_VCENTER)
        y = rc.top + (rc.Height() - logical.height) / 2.0;
    else if (style & DT_BOTTOM)
        y = rc.bottom - logical.height;
    cairo_save(cr_);
    cairo_rectangle(cr_, rc.left, rc.top, rc.Width(), rc.Height());
    cairo_clip(cr_);
    SetColor(cr_, argb);
    cairo_move_to(cr_, std::round(x), std::round(y));
    pango_cairo_show_layout(cr_, layout);
    cairo_restore(cr_);
    g_object_unref(layout);
}

bool CairoPainter::DrawImage(const Rect& rc, const std::string& imageString) {
    return Draw(rc, imageString, nullptr);
}

bool CairoPainter::DrawImageTinted(const Rect& rc, const std::string& imageString, uint32_t argb) {
    return Draw(rc, imageString, &argb);
}

bool CairoPainter::Draw(const Rect& rc, const std::string& imageString, const uint32_t* tint) {
    auto parsed = ParseImageString(imageString);
    if (!parsed)
        return false;
    cairo_surface_t* img = LoadImage(parsed->file);
    if (!img)
        return false;
    int iw = cairo_image_surface_get_width(img), ih = cairo_image_surface_get_height(img);
    Rect src = parsed->source.value_or(Rect{0, 0, iw, ih});
    Rect dst = rc;
    if (parsed->dest) {
        const Rect& d = *parsed->dest;
        dst = Rect{Scaled(d.left), Scaled(d.top), Scaled(d.right), Scaled(d.bottom)}.Offset(rc.left,
                                                                                            rc.top);
    }
    double alpha = parsed->fade / 255.0;
    // The corners keep their size in the image; on the window they grow with the DPI.
    const Rect& c = parsed->corner;
    const Rect dc{Scaled(c.left), Scaled(c.top), Scaled(c.right), Scaled(c.bottom)};
    if (c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0) {
        DrawPart(cr_, img, src, dst, alpha, tint);
        return true;
    }
    // Nine slices: corners keep their size, edges stretch along one axis, the middle both.
    int sx[4] = {src.left, src.left + c.left, src.right - c.right, src.right};
    int sy[4] = {src.top, src.top + c.top, src.bottom - c.bottom, src.bottom};
    int dx[4] = {dst.left, dst.left + dc.left, dst.right - dc.right, dst.right};
    int dy[4] = {dst.top, dst.top + dc.top, dst.bottom - dc.bottom, dst.bottom};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            if (parsed->hole && row == 1 && col == 1)
                continue;
            DrawPart(cr_, img, {sx[col], sy[row], sx[col + 1], sy[row + 1]},
                     {dx[col], dy[row], dx[col + 1], dy[row + 1]}, alpha, tint);
        }
    return true;
}

void CairoPainter::FillEllipse(const Rect& rc, uint32_t argb) {
    if (rc.Empty())
        return;
    cairo_save(cr_);
    cairo_translate(cr_, rc.left + rc.Width() / 2.0, rc.top + rc.Height() / 2.0);
    cairo_scale(cr_, rc.Width() / 2.0, rc.Height() / 2.0);
    cairo_arc(cr_, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr_);
    SetColor(cr_, argb);
    cairo_fill(cr_);
}

void CairoPainter::DrawArc(const Rect& rc, double startDeg, double sweepDeg, uint32_t argb,
                           int width) {
    if (rc.Empty())
        return;
    width = Scaled(width);
    double r = std::min(rc.Width(), rc.Height()) / 2.0 - width / 2.0;
    double a0 = startDeg * M_PI / 180, a1 = (startDeg + sweepDeg) * M_PI / 180;
    cairo_new_path(cr_);
    cairo_arc(cr_, rc.left + rc.Width() / 2.0, rc.top + rc.Height() / 2.0, r, std::min(a0, a1),
              std::max(a0, a1));
    SetColor(cr_, argb);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void CairoPainter::FillPie(const Rect& rc, double startDeg, double sweepDeg, uint32_t argb) {
    if (rc.Empty() || sweepDeg == 0)
        return;
    if (sweepDeg >= 360 || sweepDeg <= -360) {
        FillEllipse(rc, argb);
        return;
    }
    double a0 = startDeg * M_PI / 180, a1 = (startDeg + sweepDeg) * M_PI / 180;
    cairo_save(cr_);
    cairo_new_path(cr_);
    cairo_translate(cr_, rc.left + rc.Width() / 2.0, rc.top + rc.Height() / 2.0);
    cairo_scale(cr_, rc.Width() / 2.0, rc.Height() / 2.0);
    cairo_move_to(cr_, 0, 0);
    if (sweepDeg > 0)
        cairo_arc(cr_, 0, 0, 1, a0, a1);
    else
        cairo_arc_negative(cr_, 0, 0, 1, a0, a1);
    cairo_close_path(cr_);
    cairo_restore(cr_);
    SetColor(cr_, argb);
    cairo_fill(cr_);
}

void CairoPainter::PushClip(const Rect& rc) {
    cairo_save(cr_);
    cairo_rectangle(cr_, rc.left, rc.top, rc.Width(), rc.Height());
    cairo_clip(cr_);
}

void CairoPainter::PopClip() {
    cairo_restore(cr_);
}

TextExtent MeasureText(const std::string& text, const FontInfo& font, double dpiScale,
                       int wrapWidth) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* desc = FontDescription(font, dpiScale);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    pango_layout_set_text(layout, text.c_str(), -1);
    if (wrapWidth > 0) {
        pango_layout_set_width(layout, wrapWidth * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    } else {
        pango_layout_set_single_paragraph_mode(layout, TRUE);
    }
    TextExtent e;
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    e.width = logical.width;
    e.height = logical.height;
    e.unknownGlyphs = pango_layout_get_unknown_glyphs_count(layout);
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return e;
}

std::optional<Size> ImageFileSize(const std::string& file) {
    cairo_surface_t* img = file.empty() ? nullptr : LoadImage(file);
    if (!img)
        return std::nullopt;
    return Size{cairo_image_surface_get_width(img), cairo_image_surface_get_height(img)};
}

void PaintTree(CPaintManagerUI& manager, cairo_t* cr, const Rect& clip) {
    if (clip.Empty())
        return;
    cairo_save(cr);
    cairo_rectangle(cr, clip.left, clip.top, clip.Width(), clip.Height());
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    if (CControlUI* root = manager.GetRoot()) {
        CairoPainter painter(cr, manager.GetDPI() / 96.0);
        root->DoPaint(painter, clip);
    }
    cairo_restore(cr);
}

bool RenderToPng(CPaintManagerUI& manager, const std::filesystem::path& file) {
    manager.LayoutIfNeeded();
    Size size = manager.GetClientSize();
    if (size.cx <= 0 || size.cy <= 0 || !manager.GetRoot())
        return false;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.cx, size.cy);
    cairo_t* cr = cairo_create(surface);
    PaintTree(manager, cr, {0, 0, size.cx, size.cy});
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace dravik::ui
