// Full repaint of a 1000x640 window holding about 300 controls, headless: the whole client area
// painted by the cairo/pango renderer into an image surface, as the display backend does after a
// relayout. Prints one line:
//   render full_repaint 1000x640 controls=N runs=R median_ms=X min_ms=Y
// and a second line for a repaint of one button's row (what a hover costs).
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/BasicControls.h"
#include "ui/CairoPainter.h"
#include "ui/Container.h"
#include "ui/PaintManager.h"

using namespace dravik::ui;

namespace {

using Clock = std::chrono::steady_clock;

// 32 rows of 9 controls under a title bar: labels in Latin, Chinese and Thai, buttons with
// state colours and borders, options, sliders and progress bars.
int BuildTree(CPaintManagerUI& pm) {
    auto* root = new CVerticalLayoutUI;
    root->SetAttribute("bkcolor", "#FF1E2127");
    root->SetAttribute("inset", "8,0,8,8");
    int count = 1;
    auto* title = new CHorizontalLayoutUI;
    title->SetAttribute("height", "40");
    title->SetAttribute("bkcolor", "#FF15171C");
    auto* caption = new CLabelUI;
    caption->SetAttribute("text", "Dravik");
    caption->SetAttribute("textcolor", "#FFE8EAED");
    caption->SetAttribute("valign", "center");
    title->Add(caption);
    root->Add(title);
    count += 2;
    const char* texts[] = {
        "DPI 1600", "未检测到设备，请连接设备", "ภาษาไทย", "Polling rate", "灯光效果", "Profile 3"};
    for (int row = 0; row < 32; ++row) {
        auto* line = new CHorizontalLayoutUI;
        line->SetAttribute("height", "18");
        line->SetAttribute("childpadding", "4");
        ++count;
        for (int col = 0; col < 9; ++col) {
            CControlUI* c;
            switch (col % 5) {
                case 0:
                case 3: {
                    c = new CLabelUI;
                    c->SetAttribute("text", texts[(row + col) % 6]);
                    c->SetAttribute("textcolor", "#FFB0B4BA");
                    c->SetAttribute("valign", "center");
                    c->SetAttribute("endellipsis", "true");
                    break;
                }
                case 1: {
                    c = new CButtonUI;
                    c->SetAttribute("text", "Apply");
                    c->SetAttribute("bkcolor", "#FF3D7BD9");
                    c->SetAttribute("hotbkcolor", "#FF5A90E0");
                    c->SetAttribute("bordercolor", "#FF5A90E0");
                    c->SetAttribute("bordersize", "1");
                    c->SetAttribute("borderround", "6,6");
                    c->SetAttribute("textcolor", "#FFFFFFFF");
                    c->SetAttribute("align", "center");
                    c->SetAttribute("valign", "center");
                    break;
                }
                case 2: {
                    c = new COptionUI;
                    c->SetAttribute("text", std::to_string(col));
                    c->SetAttribute("bkcolor", "#FF2A2E36");
                    c->SetAttribute("bkcolor2", "#FF22252B");
                    c->SetAttribute("textcolor", "#FFE8EAED");
                    c->SetAttribute("align", "center");
                    break;
                }
                default: {
                    c = row % 2 ? static_cast<CControlUI*>(new CSliderUI) : new CProgressUI;
                    c->SetAttribute("bkcolor", "#FF3A3F49");
                    c->SetAttribute("value", std::to_string(row * 3));
                    break;
                }
            }
            line->Add(c);
            ++count;
        }
        root->Add(line);
    }
    pm.AttachDialog(root);
    pm.SetClientSize({1000, 640});
    pm.LayoutIfNeeded();
    return count;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::vector<double> Time(int runs, CPaintManagerUI& pm, cairo_t* cr, const Rect& clip) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        auto t0 = Clock::now();
        PaintTree(pm, cr, clip);
        cairo_surface_flush(cairo_get_target(cr));
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    return ms;
}

}  // namespace

// With a file argument the painted frame is also written there as PNG.
int main(int argc, char** argv) {
    CPaintManagerUI pm;
    int controls = BuildTree(pm);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1000, 640);
    cairo_t* cr = cairo_create(surface);
    Time(10, pm, cr, {0, 0, 1000, 640});  // fonts and glyph caches warm, as in a running window
    const int runs = 200;
    auto full = Time(runs, pm, cr, {0, 0, 1000, 640});
    std::printf("render full_repaint 1000x640 controls=%d runs=%d median_ms=%.2f min_ms=%.2f\n",
                controls, runs, Median(full), *std::min_element(full.begin(), full.end()));
    auto row = Time(runs, pm, cr, {8, 58, 992, 76});
    std::printf("render row_repaint 984x18 controls=%d runs=%d median_ms=%.3f min_ms=%.3f\n",
                controls, runs, Median(row), *std::min_element(row.begin(), row.end()));
    if (argc > 1)
        cairo_surface_write_to_png(surface, argv[1]);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return 0;
}
