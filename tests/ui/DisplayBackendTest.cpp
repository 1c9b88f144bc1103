// The SDL display backend on a private Xvfb server: real pointer and keyboard input sent through
// the X server (xdotool) reaches controls as window messages, and what the server shows is what
// the renderer painted.
#include <cairo.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/Clock.h"
#include "ui/BasicControls.h"
#include "ui/CairoPainter.h"
#include "ui/ListControls.h"
#include "ui/ResourceManager.h"
#include "ui/Screen.h"
#include "ui/SdlBackend.h"
#include "ui/WindowImplBase.h"
#include "ui/XvfbServer.h"

using namespace dravik;
using namespace dravik::ui;
using dravik::test::RunProgram;
using dravik::test::XClient;
using dravik::test::XvfbServer;

namespace {

// A window on the display test skin that records notifications and the window messages that
// input turns into.
class DisplayWindow : public WindowImplBase {
  public:
    std::string GetSkinFile() override { return "XML_DISPLAY"; }
    void Notify(TNotifyUI& msg) override {
        log.push_back(msg.sType + ":" + (msg.pSender ? msg.pSender->GetName() : ""));
        WindowImplBase::Notify(msg);
    }
    int64_t HandleCustomMessage(uint32_t msg, uint64_t wParam, int64_t lParam,
                                bool& handled) override {
        handled = false;
        const char* name = msg == WM_ACTIVATE        ? "activate"
                           : msg == WM_MOUSEHOVER    ? "hover"
                           : msg == WM_MOUSELEAVE    ? "leave"
                           : msg == WM_LBUTTONDBLCLK ? "dblclk"
                           : msg == WM_MOUSEWHEEL    ? "wheel"
                           : msg == WM_KEYDOWN       ? "keydown"
                           : msg == WM_LBUTTONUP     ? "lbuttonup"
                                                     : nullptr;
        if (name) {
            messages.push_back(std::string(name) + " " + std::to_string(wParam));
            if (msg == WM_MOUSEHOVER && !hoverAt)
                hoverAt = platform::NowMs();
            if (msg == WM_LBUTTONUP)
                lastUp = {LParamX(lParam), LParamY(lParam)};
        }
        return 0;
    }
    bool Logged(const std::string& line) const {
        return std::find(log.begin(), log.end(), line) != log.end();
    }
    bool Got(const std::string& prefix) const {
        for (const auto& m : messages)
            if (m.rfind(prefix, 0) == 0)
                return true;
        return false;
    }
    CControlUI* Find(const std::string& name) { return pm_.FindControl(name); }

    std::vector<std::string> log;
    std::vector<std::string> messages;
    uint64_t hoverAt = 0;
    Point lastUp;
};

constexpr int kScreenW = 1366, kScreenH = 768;

struct TestDisplay {
    XvfbServer server;
    bool up = false;
    std::string why;
};

TestDisplay& TheDisplay() {
    static TestDisplay* d = new TestDisplay;
    return *d;
}

class DisplayTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        TestDisplay& d = TheDisplay();
        unsetenv("DRAVIK_SCREEN");
        unsetenv("WAYLAND_DISPLAY");
        d.up = d.server.Start(kScreenW, kScreenH, d.why);
        if (!d.up)
            return;
        setenv("DISPLAY", d.server.Display().c_str(), 1);
        std::string error;
        auto sdl = CreateSdlBackend(&error);
        // The server is up: a backend that cannot use it is a failure, not a reason to skip.
        ASSERT_TRUE(sdl) << error;
        SetDisplayBackend(std::move(sdl));
    }
    static void TearDownTestSuite() {
        SetDisplayBackend(nullptr);
        TheDisplay().server.Stop();
    }

    void SetUp() override {
        if (!TheDisplay().up)
            GTEST_SKIP() << "no X server for the display tests: " << TheDisplay().why;
        ASSERT_STREQ(CurrentBackend().Name(), "sdl");
        ResetQuit();
        auto& rm = CResourceManager::GetInstance();
        rm.SetResourcePath(DRAVIK_TEST_SKIN);
        ASSERT_TRUE(rm.LoadResource("res.xml"));
        x = std::make_unique<XClient>(TheDisplay().server.Display());
        ASSERT_TRUE(x->Ok());
    }
    void TearDown() override {
        for (auto* w : {&wnd, &other})
            if (w->GetHWND())
                w->DestroyWindow();
        PumpMessages(0);
    }

    // Opens a window at (left, top) and waits until the server shows it.
    Window Open(DisplayWindow& w, const std::string& title, int left, int top,
                uint32_t exStyle = 0) {
        w.Create(0, title, WS_POPUP | WS_VISIBLE, exStyle, left, top, 400, 300);
        Window xw = 0;
        PumpUntil([&] {
            xw = x->FindByName(title);
            return xw && x->Shown(xw) && !w.GetPaintManager().IsDirty();
        });
        return xw;
    }

    static bool PumpUntil(const std::function<bool()>& done, uint32_t ms = 5000) {
        uint64_t end = platform::NowMs() + ms;
        while (platform::NowMs() < end) {
            if (done())
                return true;
            PumpMessages(10);
        }
        return done();
    }
    static void Xdo(std::vector<std::string> args) {
        args.insert(args.begin(), "xdotool");
        ASSERT_EQ(RunProgram(args), 0) << args[1];
    }
    static void MoveTo(Point p) { Xdo({"mousemove", std::to_string(p.x), std::to_string(p.y)}); }
    static Point OnScreen(DisplayWindow& w, Point inWindow) {
        Rect r = w.GetWindowRect();
        return {r.left + inWindow.x, r.top + inWindow.y};
    }
    uint32_t ScreenPixel(Window xw, Point p) {
        int width = 0, height = 0;
        auto px = x->Pixels(xw, width, height);
        if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height)
            return 0xDEAD;
        return px[static_cast<size_t>(p.y) * width + p.x];
    }

    DisplayWindow wnd, other;
    std::unique_ptr<XClient> x;
};

}  // namespace

TEST_F(DisplayTest, PointerThroughTheServerHoversClicksAndLeavesAndTheScreenShowsTheRender) {
    Window xw = Open(wnd, "display-pointer", 100, 80);
    ASSERT_TRUE(xw);
    auto* btn = static_cast<CButtonUI*>(wnd.Find("btn"));
    const Rect b = btn->GetPos();
    const Point inside{b.left + 4, b.top + 4};  // clear of the button's text

    uint64_t moved = platform::NowMs();
    MoveTo(OnScreen(wnd, b.Center()));
    ASSERT_TRUE(PumpUntil([&] { return btn->IsHot(); }));
    // The hot colour reaches the server through the partial repaint.
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(xw, inside) == 0xFFD000; }))
        << std::hex << ScreenPixel(xw, inside);
    // Hover comes only after the pointer rested.
    ASSERT_TRUE(PumpUntil([&] { return wnd.Got("hover"); }, 3000));
    EXPECT_GE(wnd.hoverAt - moved, 390u);

    Xdo({"click", "1"});
    ASSERT_TRUE(PumpUntil([&] { return wnd.Logged("click:btn"); }));

    // Every pixel on the server is what the renderer paints for the window in this state.
    ASSERT_TRUE(PumpUntil([&] { return !wnd.GetPaintManager().IsDirty(); }));
    PumpMessages(0);
    int width = 0, height = 0;
    auto screen = x->Pixels(xw, width, height);
    ASSERT_EQ(width, 400);
    ASSERT_EQ(height, 300);
    const std::string png = ::testing::TempDir() + "display-pointer.png";
    ASSERT_TRUE(RenderToPng(wnd.GetPaintManager(), png));
    cairo_surface_t* shot = cairo_image_surface_create_from_png(png.c_str());
    ASSERT_EQ(cairo_image_surface_get_width(shot), 400);
    const unsigned char* data = cairo_image_surface_get_data(shot);
    const int stride = cairo_image_surface_get_stride(shot);
    int differing = 0, distinct = 0;
    for (int yy = 0; yy < height; ++yy)
        for (int xx = 0; xx < width; ++xx) {
            uint32_t rendered =
                *reinterpret_cast<const uint32_t*>(data + yy * stride + xx * 4) & 0xFFFFFF;
            uint32_t shown = screen[static_cast<size_t>(yy) * width + xx];
            differing += rendered != shown;
            distinct += shown != screen[0];
        }
    cairo_surface_destroy(shot);
    EXPECT_EQ(differing, 0);
    EXPECT_GT(distinct, 400 * 300 / 4);  // not a blank window

    // Off the window: leave, and the button is drawn plain again.
    MoveTo({5, 5});
    ASSERT_TRUE(PumpUntil([&] { return wnd.Got("leave"); }));
    EXPECT_FALSE(btn->IsHot());
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(xw, inside) == 0xE0E0E0; }));
}

TEST_F(DisplayTest, DoubleClickWheelAndADragThatEndsOutsideTheWindow) {
    ASSERT_TRUE(Open(wnd, "display-drag", 120, 100));
    auto* list = static_cast<CListUI*>(wnd.Find("list"));
    MoveTo(OnScreen(wnd, wnd.Find("row1")->GetPos().Center()));
    Xdo({"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(PumpUntil([&] { return wnd.Got("dblclk"); }));

    // Wheel down one notch: delta -120 in the high word, and the list scrolls.
    ASSERT_EQ(list->GetScrollPos(), 0);
    Xdo({"click", "5"});
    ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos() > 0; }));
    EXPECT_TRUE(wnd.Got("wheel " + std::to_string(uint64_t(uint16_t(-120)) << 16)));

    // Press on the slider, leave the window to the right while pressed, release out there: the
    // slider keeps the pointer, ends at its maximum and reports the release.
    auto* slider = static_cast<CSliderUI*>(wnd.Find("slider"));
    Rect s = slider->GetPos();
    MoveTo(OnScreen(wnd, {s.left + 2, (s.top + s.bottom) / 2}));
    Xdo({"mousedown", "1"});
    ASSERT_TRUE(PumpUntil([&] { return slider->IsDragging(); }));
    Point outside = OnScreen(wnd, {wnd.GetWindowRect().Width() + 150, (s.top + s.bottom) / 2});
    MoveTo(outside);
    ASSERT_TRUE(PumpUntil([&] { return slider->GetValue() == 100; }));
    EXPECT_TRUE(wnd.Logged("movevaluechanged:slider"));
    Xdo({"mouseup", "1"});
    ASSERT_TRUE(PumpUntil([&] { return wnd.Logged("valuechanged:slider"); }));
    EXPECT_FALSE(slider->IsDragging());
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_GT(wnd.lastUp.x, wnd.GetWindowRect().Width());  // delivered where it happened
    // The pointer left while the button was held: the leave comes once the drag is over.
    EXPECT_TRUE(PumpUntil([&] { return wnd.Got("leave"); }));
}

TEST_F(DisplayTest, ActivationAndKeyboardReachTheFocusedControl) {
    ASSERT_TRUE(Open(wnd, "display-keys", 100, 100));
    ASSERT_TRUE(PumpUntil([&] { return wnd.Got("activate 1"); }));

    auto* edit = static_cast<CEditUI*>(wnd.Find("edit"));
    MoveTo(OnScreen(wnd, edit->GetPos().Center()));
    Xdo({"click", "1"});
    ASSERT_TRUE(PumpUntil([&] { return edit->IsFocused(); }));
    Xdo({"type", "--delay", "20", "ab1"});
    ASSERT_TRUE(PumpUntil([&] { return edit->GetText() == "ab1"; })) << edit->GetText();
    Xdo({"key", "BackSpace"});
    ASSERT_TRUE(PumpUntil([&] { return edit->GetText() == "ab"; })) << edit->GetText();
    Xdo({"key", "Return"});
    ASSERT_TRUE(PumpUntil([&] { return wnd.Logged("return:edit"); }));
    EXPECT_TRUE(wnd.Got("keydown 13"));

    // Another window taking the focus deactivates this one.
    ASSERT_TRUE(Open(other, "display-keys-2", 600, 100));
    EXPECT_TRUE(PumpUntil([&] { return other.Got("activate 1") && wnd.Got("activate 0"); }));
}

TEST_F(DisplayTest, GeometryVisibilityTopmostAndTheMonitorSize) {
    // The monitor's size is the server's screen (the DPI rule reads it).
    EXPECT_EQ(ScreenSize(), (Size{kScreenW, kScreenH}));
    Window xw = Open(wnd, "display-geometry", 100, 100);
    ASSERT_TRUE(xw);
    EXPECT_EQ(MonitorRectOf(wnd.GetHWND()), (Rect{0, 0, kScreenW, kScreenH}));

    using Geo = std::pair<std::pair<int, int>, std::pair<int, int>>;
    auto geometryIs = [&](Geo want) { return PumpUntil([&] { return x->Geometry(xw) == want; }); };
    wnd.MoveWindow(50, 60, 300, 200);
    EXPECT_TRUE(geometryIs({{50, 60}, {300, 200}}));
    // A DPI change scales the window; centring uses the monitor.
    wnd.GetPaintManager().SetDPI(144);
    EXPECT_EQ(wnd.GetWindowRect(), (Rect{50, 60, 500, 360}));
    EXPECT_TRUE(geometryIs({{50, 60}, {450, 300}}));
    wnd.CenterWindow();
    EXPECT_TRUE(geometryIs({{(kScreenW - 450) / 2, (kScreenH - 300) / 2}, {450, 300}}));
    PumpUntil([&] { return !wnd.GetPaintManager().IsDirty(); });
    EXPECT_EQ(wnd.Find("root")->GetPos(), (Rect{0, 0, 450, 300}));

    wnd.ShowWindow(false);
    EXPECT_TRUE(PumpUntil([&] { return !x->Shown(xw); }));
    wnd.ShowWindow(true);
    EXPECT_TRUE(PumpUntil([&] { return x->Shown(xw); }));

    // Topmost at creation and changed later (on a hidden window the state is written at once).
    other.Create(0, "display-topmost", WS_POPUP, WS_EX_TOPMOST, 0, 0, 100, 100);
    PumpMessages(0);
    Window top = 0;
    ASSERT_TRUE(PumpUntil([&] { return (top = x->FindByName("display-topmost")) != 0; }));
    EXPECT_TRUE(x->HasState(top, "_NET_WM_STATE_ABOVE"));
    other.SetTopmost(false);
    EXPECT_TRUE(PumpUntil([&] { return !x->HasState(top, "_NET_WM_STATE_ABOVE"); }));
}
