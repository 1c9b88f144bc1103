// The renderer's text placement, DPI scaling and script coverage on real pixels, what a change
// marks for repainting, and the window commands nobody handles.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>

#include "UiTestSupport.h"
#include "ui/Automation.h"
#include "ui/CairoPainter.h"
#include "ui/PaintManager.h"

using namespace dravik;
using namespace dravik::ui;

namespace {

// A white canvas and the bounding box of what was drawn on it.
class Canvas {
  public:
    Canvas(int w, int h) : s_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h)) {
        cr_ = cairo_create(s_);
        cairo_set_source_rgb(cr_, 1, 1, 1);
        cairo_paint(cr_);
    }
    ~Canvas() {
        cairo_destroy(cr_);
        cairo_surface_destroy(s_);
    }
    cairo_t* Cr() { return cr_; }
    uint32_t Pixel(int x, int y) {
        cairo_surface_flush(s_);
        return *reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s_) +
                                                  y * cairo_image_surface_get_stride(s_) + x * 4);
    }
    Rect Ink() {
        Rect r{1 << 20, 1 << 20, -1, -1};
        for (int y = 0; y < cairo_image_surface_get_height(s_); ++y)
            for (int x = 0; x < cairo_image_surface_get_width(s_); ++x)
                if (Pixel(x, y) != 0xFFFFFFFFu)
                    r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
                         std::max(r.bottom, y + 1)};
        return r;
    }

  private:
    cairo_surface_t* s_;
    cairo_t* cr_;
};

const FontInfo kFont{"Noto Sans", 14, false, false, false};

}  // namespace

TEST(Renderer, TextIsPlacedByItsAlignmentAndWrapsOnlyWhenAsked) {
    const std::string longText = "one two three four five six seven eight";
    const struct {
        const char* what;
        std::string text;
        uint32_t style;
        std::function<bool(const Rect& ink)> holds;
    } cases[] = {
        // A single line stays one line however narrow the box (it is clipped, never wrapped).
        {"single line", longText, DT_LEFT, [](const Rect& i) { return i.bottom <= 24; }},
        {"word break", longText, DT_WORDBREAK, [](const Rect& i) { return i.bottom > 40; }},
        {"centre", "ab", DT_CENTER,
         [](const Rect& i) { return std::abs((i.left + i.right) / 2 - 60) <= 2; }},
        {"right", "ab", DT_RIGHT, [](const Rect& i) { return i.right >= 116 && i.left > 90; }},
        {"middle", "ab", DT_CENTER | DT_VCENTER,
         [](const Rect& i) { return std::abs((i.top + i.bottom) / 2 - 40) <= 3; }},
        {"bottom", "ab", DT_BOTTOM, [](const Rect& i) { return i.bottom >= 74 && i.top > 50; }},
    };
    for (const auto& c : cases) {
        Canvas canvas(160, 100);
        CairoPainter painter(canvas.Cr());
        painter.DrawText({0, 0, 120, 80}, c.text, 0xFF000000, kFont, c.style);
        Rect ink = canvas.Ink();
        EXPECT_TRUE(c.holds(ink)) << c.what << ": ink " << ink.left << "," << ink.top << ","
                                  << ink.right << "," << ink.bottom;
    }
}

TEST(Renderer, SkinSizesGrowWithTheDpi) {
    // A border of 2 at 96 DPI is 3 pixels wide at 144.
    for (double scale : {1.0, 1.5}) {
        Canvas canvas(40, 40);
        CairoPainter painter(canvas.Cr(), scale);
        painter.DrawBorder({0, 0, 40, 40}, 0xFFFF0000, 2, 0, 0);
        EXPECT_EQ(canvas.Pixel(1, 20), 0xFFFF0000u) << scale;
        EXPECT_EQ(canvas.Pixel(2, 20), scale == 1.0 ? 0xFFFFFFFFu : 0xFFFF0000u) << scale;
    }
    TextExtent at96 = MeasureText("Hg", kFont, 1.0), at144 = MeasureText("Hg", kFont, 1.5);
    EXPECT_NEAR(at144.height, at96.height * 1.5, 2);
    EXPECT_NEAR(at144.width, at96.width * 1.5, 2);
}

TEST(Renderer, ChineseThaiAndLatinFindFontsAndThaiMarksStack) {
    for (const char* text : {"未检测到设备，请连接设备", "ภาษาไทย", "Polling rate", "V1.0.0"})
        EXPECT_EQ(MeasureText(text, kFont).unknownGlyphs, 0) << text;
    // Shaped Thai puts the vowel and the tone mark above the consonant: no advance of their own.
    EXPECT_NEAR(MeasureText("ที่", kFont).width, MeasureText("ท", kFont).width, 1);
    // A face the system lacks falls back to the same faces, not to missing glyphs.
    EXPECT_EQ(MeasureText("中文", {"No Such Face", 14, false, false, false}).unknownGlyphs, 0);
}

TEST(Renderer, AChangeMarksOnlyItsParentForRepaintALayoutChangeTheWholeWindow) {
    ResetQuit();
    auto& rm = CResourceManager::GetInstance();
    rm.SetResourcePath(test::TestSkinPath());
    ASSERT_TRUE(rm.LoadResource("res.xml"));
    test::RecordingWindow wnd;
    wnd.Create(0, "Test", WS_POPUP | WS_VISIBLE, 0, 0, 0, 400, 300);
    CPaintManagerUI& pm = wnd.GetPaintManager();
    AutomationDriver::Settle();
    EXPECT_EQ(pm.TakeInvalidRect(), (Rect{0, 0, 400, 300}));
    EXPECT_FALSE(pm.IsDirty());

    CControlUI* btn = pm.FindControl("btn");
    PostMessage(wnd.GetHWND(), WM_MOUSEMOVE, 0,
                MakeLParam(btn->GetPos().Center().x, btn->GetPos().Center().y));
    AutomationDriver::Settle();
    ASSERT_EQ(pm.GetHot(), btn);
    EXPECT_EQ(pm.TakeInvalidRect(), pm.FindControl("row")->GetPos());
    // Two changes far apart: the box around both.
    btn->SetText("Other");
    pm.FindControl("pagebtn")->SetText("x");
    const Rect row = pm.FindControl("row")->GetPos(), page = pm.FindControl("page")->GetPos();
    EXPECT_EQ(pm.TakeInvalidRect(), (Rect{std::min(row.left, page.left), row.top,
                                          std::max(row.right, page.right), page.bottom}));
    pm.FindControl("hidden_label")->SetVisible(true);
    EXPECT_EQ(pm.TakeInvalidRect(), (Rect{0, 0, 400, 300}));
    wnd.DestroyWindow();
}

TEST(Renderer, WindowCommandsNobodyHandlesAndDpiChangesActOnTheWindow) {
    ResetQuit();
    auto& rm = CResourceManager::GetInstance();
    rm.SetResourcePath(test::TestSkinPath());
    ASSERT_TRUE(rm.LoadResource("res.xml"));
    test::RecordingWindow wnd;
    wnd.Create(0, "Test", WS_POPUP | WS_VISIBLE, 0, 10, 20, 400, 300);
    // The layout's size, then scaled from the top-left corner with the DPI.
    EXPECT_EQ(wnd.GetWindowRect(), (Rect{10, 20, 410, 320}));
    wnd.GetPaintManager().SetDPI(144);
    EXPECT_EQ(wnd.GetWindowRect(), (Rect{10, 20, 610, 470}));
    EXPECT_EQ(wnd.GetPaintManager().GetClientSize(), (Size{600, 450}));
    wnd.GetPaintManager().SetDPI(96);
    EXPECT_EQ(wnd.GetWindowRect(), (Rect{10, 20, 410, 320}));

    SendMessage(wnd.GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(wnd.IsMinimized());
    wnd.ShowWindow(false);
    SendMessage(wnd.GetHWND(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(wnd.IsMinimized());
    EXPECT_TRUE(wnd.IsVisible());
    HWND h = wnd.GetHWND();
    SendMessage(h, WM_SYSCOMMAND, SC_CLOSE, 0);
    AutomationDriver::Settle();
    EXPECT_FALSE(IsWindow(h));
}

TEST(Renderer, TheCaptionMovesTheWindowExceptWhereAControlTakesThePress) {
    ResetQuit();
    auto& rm = CResourceManager::GetInstance();
    rm.SetResourcePath(test::TestSkinPath());
    ASSERT_TRUE(rm.LoadResource("res.xml"));
    class DisplaySkinWindow : public WindowImplBase {
      public:
        std::string GetSkinFile() override { return "XML_DISPLAY"; }
    } wnd;
    wnd.Create(0, "caption", WS_POPUP | WS_VISIBLE, 0, 0, 0, 400, 300);
    CPaintManagerUI& pm = wnd.GetPaintManager();
    pm.LayoutIfNeeded();
    // caption="0,0,0,60": the top 60 pixels across; the row's own background counts, its button
    // and edit do not, nor does anything below.
    const struct {
        Point at;
        bool caption;
    } cases[] = {{{330, 30}, true},  {{5, 5}, true},      {{50, 30}, false},
                 {{200, 30}, false}, {{330, 100}, false}, {{399, 59}, true}};
    for (const auto& c : cases)
        EXPECT_EQ(pm.IsCaptionAt(c.at), c.caption) << c.at.x << "," << c.at.y;
    // Scaled with the DPI; a disabled window (a modal's owner) does not move.
    pm.SetDPI(144);
    pm.LayoutIfNeeded();
    EXPECT_TRUE(pm.IsCaptionAt({500, 85}));
    wnd.EnableWindow(false);
    EXPECT_FALSE(pm.IsCaptionAt({500, 85}));
    wnd.DestroyWindow();
}
