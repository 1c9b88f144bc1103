#include <gtest/gtest.h>

#include <algorithm>

#include "ControlsTestSupport.h"
#include "controls/AudioRecord.h"
#include "controls/ChartView.h"
#include "controls/CircleProgress.h"
#include "controls/ComboEditContainerElement.h"
#include "controls/DeviceKeyButton.h"
#include "controls/HandImgButtons.h"
#include "controls/SelectPanel.h"
#include "controls/SimpleControls.h"
#include "ui/Automation.h"
#include "ui/ListControls.h"
#include "ui/ResourceManager.h"

using namespace dravik;
using namespace dravik::ui;
using dravik::test::ControlsWindow;
using dravik::test::RecordingPainter;
using dravik::test::RectText;

namespace {

// A key button whose class name differs from "DeviceKeyButton" only in case.
class LookAlikeKey : public CDeviceKeyButtonUI {
  public:
    std::string GetClass() const override { return "deviceKeyButton"; }
};

using Log = std::vector<std::string>;

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetQuit();
        CControlFactory::GetInstance().Clear();
        RegisterControlClasses();
        CControlFactory::GetInstance().RegistControl("LookAlikeKey",
                                                     [] { return new LookAlikeKey; });
        auto& rm = CResourceManager::GetInstance();
        rm.SetResourcePath(test::ControlsSkinPath());
        ASSERT_TRUE(rm.LoadResource("res.xml"));
        wnd.Create(0, "Controls", WS_POPUP, 0, 0, 0, 640, 480);
        ASSERT_TRUE(wnd.GetPaintManager().GetRoot());
        wnd.ShowWindow(true);
        AutomationDriver::Settle();
        wnd.GetPaintManager().LayoutIfNeeded();
        wnd.Clear();
    }
    void TearDown() override {
        if (wnd.GetHWND())
            wnd.DestroyWindow();
        CControlFactory::GetInstance().Clear();
    }
    CControlUI* Find(const std::string& name) { return wnd.GetPaintManager().FindControl(name); }
    template <typename T>
    T* Get(const std::string& name) {
        auto* c = dynamic_cast<T*>(Find(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // Raw pointer input at window pixels, as the platform delivers it.
    void Post(uint32_t msg, Point p, uint64_t keys = 0) {
        PostMessage(wnd.GetHWND(), msg, keys, MakeLParam(p.x, p.y));
        AutomationDriver::Settle();
    }
    void Layout() {
        AutomationDriver::Settle();
        wnd.GetPaintManager().LayoutIfNeeded();
    }
    std::vector<int> Marks() {
        std::vector<int> out;
        for (const char* n : {"key_0", "key_1", "light_0"})
            out.push_back(Get<CDeviceKeyButtonUI>(n)->IsMarqueeSelected());
        return out;
    }

    ControlsWindow wnd;
    AutomationDriver driver;
};

}  // namespace

// ---- registration

TEST_F(ControlsTest, ClassesRegisterInTableOrderAndLayoutTagsCreateThem) {
    struct Case {
        const char* className;  // factory name
        const char* tag;        // main layout tag, or nullptr when the factory alone serves it
        const char* getClass;
    };
    const Case cases[] = {
        {"CCircleProgressUI", "CircleProgress", "CircleProgress"},
        {"CChartViewUI", nullptr, "ControlUI"},
        {"CWndUI", nullptr, "Wnd"},
        {"CSelectPanelUI", "SelectPanel", "SelectPanel"},
        {"CDeviceKeyButtonUI", "DeviceKeyButton", "DeviceKeyButton"},
        {"CComboEditContainerElementUI", "ComboEditContainerElement", "ComboEditContainerElement"},
        {"CHandImgButtonUI", "HandImgButton", "HandImgButton"},
        {"CHandImgSelectButtonUI", "HandImgSelectButton", "HandImgSelectButton"},
        {"CRedioMacroButtonUI", "RedioMacroButton", "RedioMacroButton"},
        {"CAudioRecordUI", "AudioRecord", "AudioRecord"},
    };
    auto names = CControlFactory::GetInstance().RegisteredNames();
    size_t last = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        // Registered, after the previous class of the table.
        auto it = std::find(names.begin(), names.end(), c.className);
        ASSERT_NE(it, names.end());
        size_t at = static_cast<size_t>(it - names.begin());
        EXPECT_GE(at, last);
        last = at;
        std::unique_ptr<CControlUI> made(CControlFactory::GetInstance().CreateControl(c.className));
        ASSERT_TRUE(made);
        EXPECT_EQ(made->GetClass(), c.getClass);
        if (c.tag) {
            std::string lower = c.tag;
            std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
            std::unique_ptr<CControlUI> tagged(CreateMainLayoutControl(lower, nullptr));
            ASSERT_TRUE(tagged);
            EXPECT_EQ(tagged->GetClass(), c.getClass);
        }
    }
    // The test skin built through both paths.
    EXPECT_EQ(Find("panel")->GetClass(), "SelectPanel");
    EXPECT_EQ(Find("chart")->GetClass(), "ControlUI");
    EXPECT_NE(dynamic_cast<CChartViewUI*>(Find("chart")), nullptr);
    EXPECT_EQ(Find("host")->GetClass(), "Wnd");
    EXPECT_EQ(Find("row_0")->GetInterface("ComboEditContainerElement"), Find("row_0"));
}

// ---- select panel

TEST_F(ControlsTest, DragMarksTheKeyButtonsItTouchesAndNotifiesOnce) {
    auto* panel = Get<CSelectPanelUI>("panel");
    Get<CDeviceKeyButtonUI>("look_alike")->SetMarqueeSelected(1);
    Get<CDeviceKeyButtonUI>("nested_key")->SetMarqueeSelected(1);
    const Rect origin = panel->GetPos();

    // Over key_0 and light_0 (and the plain button and both look-alikes' column): a rectangle
    // drawn from bottom-right to top-left.
    ASSERT_FALSE(driver.Drag(panel, 55, 95, 5, 5));
    EXPECT_EQ(Marks(), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(panel->GetSelectionRect(),
              (Rect{origin.left + 5, origin.top + 5, origin.left + 55, origin.top + 95}));
    EXPECT_EQ(wnd.Of({"click_select_end"}), (Log{"click_select_end:panel"}));
    EXPECT_FALSE(panel->IsPressed());
    EXPECT_FALSE(panel->IsDragging());

    // A later drag over key_1 only: the earlier marks are cleared, not accumulated; children of
    // another class, and key buttons deeper in the tree, keep whatever they had.
    ASSERT_FALSE(driver.Drag(panel, 55, 5, 280, 100));
    EXPECT_EQ(Marks(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(Get<CDeviceKeyButtonUI>("look_alike")->IsMarqueeSelected(), 1);
    EXPECT_EQ(Get<CDeviceKeyButtonUI>("nested_key")->IsMarqueeSelected(), 1);

    // Zero width or zero height: nothing marked, still notified.
    ASSERT_FALSE(driver.Drag(panel, 20, 5, 20, 100));
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 0}));
    ASSERT_FALSE(driver.Drag(panel, 5, 45, 5, 45));  // a move to the same point still ends a drag
    ASSERT_FALSE(driver.Drag(panel, 5, 25, 200, 25));
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(wnd.Of({"click_select_end"}).size(), 5u);
}

TEST_F(ControlsTest, PanelStatesAndPressWithoutMoveMarksNothing) {
    auto* panel = Get<CSelectPanelUI>("panel");
    const Rect p = panel->GetPos();
    Get<CDeviceKeyButtonUI>("key_0")->SetMarqueeSelected(1);

    Post(WM_MOUSEMOVE, {p.left + 150, p.top + 20});
    EXPECT_FALSE(panel->IsPressed());
    Post(WM_LBUTTONDOWN, {p.left + 150, p.top + 20}, 1);
    EXPECT_TRUE(panel->IsPressed());
    EXPECT_FALSE(panel->IsDragging());
    EXPECT_EQ(panel->GetAnchorPoint(), (Point{p.left + 150, p.top + 20}));
    Post(WM_LBUTTONUP, {p.left + 150, p.top + 20});
    EXPECT_FALSE(panel->IsPressed());
    EXPECT_TRUE(wnd.Of({"click_select_end"}).empty());
    EXPECT_EQ(Get<CDeviceKeyButtonUI>("key_0")->IsMarqueeSelected(), 1);

    // Pressed, then dragging from the first move; the rectangle follows the pointer.
    Post(WM_LBUTTONDOWN, {p.left + 150, p.top + 20}, 1);
    Post(WM_MOUSEMOVE, {p.left + 40, p.top + 30}, 1);
    EXPECT_TRUE(panel->IsDragging());
    EXPECT_EQ(panel->GetSelectionRect(), (Rect{p.left + 40, p.top + 20, p.left + 150, p.top + 30}));
    EXPECT_TRUE(wnd.Of({"click_select_end"}).empty());
    Post(WM_LBUTTONUP, {p.left + 40, p.top + 30});
    EXPECT_EQ(Marks(), (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(panel->GetAnchorPoint(), panel->GetCurrentPoint());
    EXPECT_EQ(wnd.Of({"click_select_end"}), (Log{"click_select_end:panel"}));
}

TEST_F(ControlsTest, DragFromThePictureWorksAndDragFromAKeyClicksTheKey) {
    auto* panel = Get<CSelectPanelUI>("panel");
    // The picture label lies over the panel's lower half; its input reaches the panel.
    ASSERT_FALSE(driver.Drag(panel, 200, 200, 20, 80));
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(wnd.Of({"click_select_end"}).size(), 1u);
    // A press on a key button belongs to the key: released outside it, nothing happens; no
    // selection either way.
    wnd.Clear();
    ASSERT_FALSE(driver.Drag(panel, 30, 25, 250, 100));
    ASSERT_FALSE(driver.Drag(panel, 30, 25, 35, 30));
    EXPECT_EQ(wnd.Of({"click", "click_select_end"}), (Log{"click:key_0"}));
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 1}));
    EXPECT_FALSE(panel->IsPressed());
}

TEST_F(ControlsTest, DragSelectionUsesWindowPixelsAtEveryDpi) {
    wnd.GetPaintManager().SetDPI(144);
    Layout();
    auto* panel = Get<CSelectPanelUI>("panel");
    // key_1 sits at 60..100 x 10..40 at 96 DPI, so 90..150 x 15..60 now.
    ASSERT_FALSE(driver.Drag(panel, 120, 5, 125, 20));
    EXPECT_EQ(Marks(), (std::vector<int>{0, 1, 0}));
}

// ---- key button

TEST_F(ControlsTest, KeyButtonKeepsOverlayAndBadgeStateAndDrawsThemWhenAsked) {
    auto* key = Get<CDeviceKeyButtonUI>("key_0");
    EXPECT_EQ(key->GetLightImage(), "img/light.png");  // attribute names without case
    EXPECT_EQ(key->GetKeySetImage(), "img/badge.png");
    EXPECT_EQ(key->GetLightColor(), 255u);
    EXPECT_EQ(key->GetLightLevel(), 200);
    EXPECT_FALSE(key->IsLightShown());
    EXPECT_EQ(key->GetKeySetImageHidden(), 1);
    EXPECT_EQ(key->IsMarqueeSelected(), 0);
    EXPECT_EQ(key->GetAttribute("gmnametextcolor"), "");

    const std::string at = RectText(key->GetPos());
    RecordingPainter plain;
    key->DoPaint(plain, key->GetPos());
    EXPECT_TRUE(plain.Of("tinted").empty());
    EXPECT_TRUE(plain.Of("image").empty());  // the badge image alone draws nothing

    key->SetKeySetImageHidden(0);
    key->SetLightColor(CDeviceKeyButtonUI::PackLightColor(0x11, 0x22, 0x33), 128, true);
    EXPECT_EQ(key->GetLightColor(), 0x00223311u);  // red, blue, green from the low byte up
    RecordingPainter lit;
    key->DoPaint(lit, key->GetPos());
    EXPECT_EQ(lit.Of("tinted"), (Log{"tinted " + at + " img/light.png 80112233"}));
    EXPECT_EQ(lit.Of("image"), (Log{"image " + at + " img/badge.png"}));
    EXPECT_EQ(lit.Of("clip"), (Log{"clip " + at}));

    key->SetLightColor(CDeviceKeyButtonUI::PackLightColor(255, 255, 255), 0, false);
    key->SetKeySetImageHidden(1);
    RecordingPainter off;
    key->DoPaint(off, key->GetPos());
    EXPECT_TRUE(off.Of("tinted").empty());
    EXPECT_TRUE(off.Of("image").empty());

    struct Level {
        int32_t level;
        uint32_t argb;
    };
    for (Level l : {Level{255, 0xFFFF0000u}, Level{300, 0xFFFF0000u}, Level{-5, 0x00FF0000u}})
        EXPECT_EQ(CDeviceKeyButtonUI::OverlayArgb(255, l.level), l.argb) << l.level;
}

TEST_F(ControlsTest, KeyButtonClicksAndDoubleClicksWhileEnabled) {
    auto* key = Get<CDeviceKeyButtonUI>("key_1");
    ASSERT_FALSE(driver.DoubleClick(key));
    EXPECT_EQ(wnd.Of({"click", "dbclick", "click_select_end"}),
              (Log{"click:key_1", "dbclick:key_1", "click:key_1"}));
    EXPECT_FALSE(key->IsPushed());
    wnd.Clear();
    key->SetEnabled(false);
    ASSERT_FALSE(driver.DoubleClick(key));
    EXPECT_TRUE(wnd.Of({"click", "dbclick"}).empty());
}

// ---- ring progress

TEST_F(ControlsTest, RingSweepIsTheValuesShareOfTheRangeClampedToAFullTurn) {
    auto* ring = Get<CCircleProgressUI>("ring");
    struct Case {
        int min, max, value, sweep;
    };
    const Case cases[] = {
        {0, 100, 100, 360},  {0, 100, 0, 0},       {0, 100, 50, 180},   {0, 100, 33, 118},
        {0, 100, 250, 360},  {0, 100, -20, 0},     {50, 150, 150, 360}, {50, 150, 50, 0},
        {50, 150, 100, 180}, {-100, 100, -100, 0}, {10, 10, 10, 0},
    };
    for (const Case& c : cases) {
        ring->SetMinValue(-1000);
        ring->SetMaxValue(1000);
        ring->SetMinValue(c.min);
        ring->SetMaxValue(c.max);
        ring->SetValue(c.value);
        EXPECT_EQ(ring->GetSweepAngle(), c.sweep) << c.min << ".." << c.max << " " << c.value;
    }
}

TEST_F(ControlsTest, RingDrawsDiscArcFromTheBottomAndWhiteCentre) {
    auto* ring = Get<CCircleProgressUI>("ring");
    const Rect r = ring->GetPos();
    ASSERT_EQ(r.Width(), 60);
    const std::string at = RectText(r);
    const std::string inner = RectText({r.left + 10, r.top + 10, r.right - 10, r.bottom - 10});
    ring->SetValue(100);
    RecordingPainter full;
    ring->DoPaint(full, r);
    EXPECT_EQ(full.Of("pie"),
              (Log{"pie " + at + " 0 360 ffdddddd", "pie " + at + " 90 360 ff3d7bd9",
                   "pie " + inner + " 0 360 ffffffff"}));
    ring->SetValue(0);
    RecordingPainter empty;
    ring->DoPaint(empty, r);
    EXPECT_EQ(empty.Of("pie"),
              (Log{"pie " + at + " 0 360 ffdddddd", "pie " + inner + " 0 360 ffffffff"}));
}

// ---- picture buttons

TEST_F(ControlsTest, PictureButtonTellsHoverAndClicksOnlyOnReleaseInside) {
    auto* btn = Get<CHandImgButtonUI>("hand_btn");
    EXPECT_EQ(btn->GetDeleteNormalImage(), "img/badge.png");
    const Rect r = btn->GetPos();
    Post(WM_MOUSEMOVE, r.Center());
    EXPECT_TRUE(btn->IsHot());
    Post(WM_MOUSEMOVE, {5, 470});
    EXPECT_FALSE(btn->IsHot());
    EXPECT_EQ(wnd.Of({"msenter", "msleave"}), (Log{"msenter:hand_btn", "msleave:hand_btn"}));

    // Pressed inside, moved out (no longer pushed), released outside: no click.
    Post(WM_MOUSEMOVE, r.Center());
    Post(WM_LBUTTONDOWN, r.Center(), 1);
    EXPECT_TRUE(btn->IsPushed());
    EXPECT_TRUE(btn->IsCaptured());
    Post(WM_MOUSEMOVE, {r.right + 40, r.top}, 1);
    EXPECT_FALSE(btn->IsPushed());
    Post(WM_LBUTTONUP, {r.right + 40, r.top});
    EXPECT_FALSE(btn->IsCaptured());
    EXPECT_TRUE(wnd.Of({"click"}).empty());
    ASSERT_FALSE(driver.Click(btn));
    EXPECT_EQ(wnd.Of({"click"}), (Log{"click:hand_btn"}));

    RecordingPainter p;
    btn->DoPaint(p, r);
    EXPECT_EQ(p.Of("image"), (Log{"image " + RectText(r) + " img/small.png"}));

    Post(WM_MOUSEMOVE, {5, 470});
    wnd.Clear();
    btn->SetEnabled(false);
    Post(WM_MOUSEMOVE, r.Center());
    ASSERT_FALSE(driver.Click(btn));
    EXPECT_TRUE(wnd.Of({"msenter", "msleave", "click"}).empty());
}

TEST_F(ControlsTest, PannedPictureFollowsDragsWithinThePicture) {
    auto* pan = Get<CHandImgSelectButtonUI>("pan");
    EXPECT_EQ(pan->GetPictureSize(), (Size{200, 120}));
    EXPECT_EQ(pan->GetCursor(), 32649);
    // The window takes the control's size once laid out.
    EXPECT_EQ(pan->GetSourceWindow(), (Rect{0, 0, 100, 60}));
    EXPECT_EQ(pan->GetDrawnImage(), "file='img/picture.png' source='0,0,100,60'");

    struct Step {
        int x1, y1, x2, y2;
        Rect window;
    };
    const Step steps[] = {
        {80, 50, 50, 50, {30, 0, 130, 60}},   // pointer left: the window moves right
        {90, 50, 10, 50, {100, 0, 200, 60}},  // stops at the picture's right edge
        {90, 50, 10, 50, {100, 0, 200, 60}},
        {50, 55, 50, 5, {100, 50, 200, 110}},  // pointer up: the window moves down
        {50, 55, 50, 5, {100, 60, 200, 120}},  // and stops at the bottom
        {10, 5, 40, 5, {70, 60, 170, 120}},    // pointer right: back
        {5, 5, 95, 55, {0, 10, 100, 70}},      // to the left edge, keeping its size
        {5, 5, 95, 55, {0, 0, 100, 60}},
    };
    for (const Step& s : steps) {
        ASSERT_FALSE(driver.Drag(pan, s.x1, s.y1, s.x2, s.y2));
        EXPECT_EQ(pan->GetSourceWindow(), s.window)
            << s.x1 << "," << s.y1 << " to " << s.x2 << "," << s.y2;
        EXPECT_FALSE(pan->IsPanning());
    }
    EXPECT_EQ(pan->GetDrawnImage(), "file='img/picture.png' source='0,0,100,60'");
    EXPECT_TRUE(wnd.Of({"click"}).empty());
    EXPECT_EQ(wnd.Of({"msenter"}).size(), 1u);

    RecordingPainter p;
    pan->DoPaint(p, pan->GetPos());
    EXPECT_EQ(p.Of("image"),
              (Log{"image " + RectText(pan->GetPos()) + " " + pan->GetDrawnImage()}));
}

TEST_F(ControlsTest, PannedPictureNoLargerThanTheControlStaysWholeAndBadPicturesChangeNothing) {
    auto* small = Get<CHandImgSelectButtonUI>("pan_small");
    EXPECT_EQ(small->GetDrawnImage(), "img/small.png");
    ASSERT_FALSE(driver.Drag(small, 90, 50, 10, 10));
    ASSERT_FALSE(driver.Drag(small, 10, 10, 90, 50));
    EXPECT_EQ(small->GetSourceWindow(), (Rect{0, 0, 100, 60}));
    EXPECT_EQ(small->GetDrawnImage(), "img/small.png");

    auto* pan = Get<CHandImgSelectButtonUI>("pan");
    ASSERT_FALSE(driver.Drag(pan, 80, 50, 50, 50));
    pan->SetAttribute("handimage", "img/missing.png");
    pan->SetAttribute("cursor", "no-such-cursor");
    EXPECT_EQ(pan->GetHandImage(), "img/missing.png");
    EXPECT_EQ(pan->GetPictureSize(), (Size{200, 120}));
    EXPECT_EQ(pan->GetSourceWindow(), (Rect{30, 0, 130, 60}));
    EXPECT_EQ(pan->GetDrawnImage(), "file='img/picture.png' source='30,0,130,60'");
    EXPECT_EQ(pan->GetCursor(), 32649);
}

TEST_F(ControlsTest, PannedPictureWindowFollowsTheControlSize) {
    auto* pan = Get<CHandImgSelectButtonUI>("pan");
    ASSERT_FALSE(driver.Drag(pan, 90, 50, 10, 50));  // window at 80..180
    wnd.GetPaintManager().SetDPI(144);
    Layout();
    ASSERT_EQ(pan->GetPos().Width(), 150);
    EXPECT_EQ(pan->GetSourceWindow(), (Rect{50, 0, 200, 90}));
}

// ---- recording button, host placeholder

TEST_F(ControlsTest, RecordButtonKeepsItsImageAndClicksAsAButton) {
    auto* rec = Get<CRedioMacroButtonUI>("record");
    EXPECT_EQ(rec->GetRedioImage(), "img/badge.png");
    rec->SetAttribute("RedioImage", "img/light.png");
    EXPECT_EQ(rec->GetRedioImage(), "img/light.png");
    ASSERT_FALSE(driver.Click(rec));
    EXPECT_EQ(wnd.Of({"click"}), (Log{"click:record"}));
    RecordingPainter p;
    rec->DoPaint(p, rec->GetPos());
    EXPECT_TRUE(p.Of("image").empty());  // kept for the editor, not drawn
    EXPECT_EQ(p.Of("text").size(), 1u);
}

// ---- bar graph

TEST_F(ControlsTest, BarGraphDrawsEverySecondColumnUpToFiveHundredLevels) {
    auto* bars = Get<CAudioRecordUI>("bars");
    EXPECT_EQ(bars->GetLevel(0), 0);
    EXPECT_EQ(bars->GetLevel(255), 255);
    EXPECT_EQ(bars->GetLevel(256), 0);
    EXPECT_EQ(bars->GetLevel(499), 0);
    const Rect r = bars->GetPos();
    ASSERT_EQ(r.Width(), 300);
    ASSERT_EQ(r.Height(), 100);
    auto list = bars->GetBars();
    ASSERT_EQ(list.size(), 150u);
    EXPECT_EQ(list[0], (Rect{r.left, r.bottom, r.left + 1, r.bottom}));  // level 0: empty
    // Level 149 of full scale 8192 over 100 pixels: one pixel (integer arithmetic).
    EXPECT_EQ(list[149], (Rect{r.left + 298, r.bottom - 1, r.left + 299, r.bottom}));
    RecordingPainter p;
    bars->DoPaint(p, r);
    auto fills = p.Of("rect");
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.front(), "rect " + RectText(r) + " ffffffff");
    // Levels 82 and up reach one pixel at this height.
    EXPECT_EQ(fills.size(), 1u + (150 - 82));

    bars->SetFixedWidth(1200);
    Layout();
    EXPECT_EQ(bars->GetBars().size(), 500u);  // the levels run out before the width
}

// ---- chart

TEST_F(ControlsTest, ChartAttributesAreExactAndReachTheBase) {
    auto* chart = Get<CChartViewUI>("chart");
    EXPECT_EQ(chart->GetView(), 1);
    EXPECT_EQ(chart->GetShadowImageHeight(), 6);
    struct Case {
        const char* name;
        const char* value;
    };
    for (Case c : {Case{"view", "bogus"}, Case{"View", "pie"}, Case{"view", "Pie"}})
        chart->SetAttribute(c.name, c.value);
    EXPECT_EQ(chart->GetView(), 1);
    chart->SetAttribute("view", "pie");
    EXPECT_EQ(chart->GetView(), 0);
    chart->SetAttribute("showtext", "yes");
    chart->SetAttribute("showhtml", "true");
    chart->SetAttribute("font", "3");
    chart->SetAttribute("pillarimage", "img/light.png");
    chart->SetAttribute("pillarimagewidth", "12");
    EXPECT_FALSE(chart->IsShowText());
    EXPECT_TRUE(chart->IsShowHtml());
    EXPECT_EQ(chart->GetFontIndex(), 3);
    EXPECT_EQ(chart->GetPillarImageWidth(), 12);
    EXPECT_EQ(chart->GetAttribute("pillarimage"), "img/light.png");
    chart->SetAttribute("bkcolor", "#FF112233");
    EXPECT_EQ(chart->GetBkColor(), 0xFF112233u);
}

TEST_F(ControlsTest, EmptyChartDrawsOnlyTheShadowStripAndDropsAShadowThatFails) {
    auto* chart = Get<CChartViewUI>("chart");
    const Rect r = chart->GetPos();
    RecordingPainter columns;
    chart->DoPaint(columns, r);
    Rect strip{r.left, r.bottom - 25 - 6, r.right, r.bottom - 25};
    EXPECT_EQ(columns.Of("image"), (Log{"image " + RectText(strip) + " img/badge.png"}));
    EXPECT_TRUE(columns.Of("rect").empty());
    EXPECT_TRUE(columns.Of("text").empty());

    chart->SetAttribute("showtext", "false");
    EXPECT_EQ(chart->GetShadowRect(), (Rect{r.left, r.bottom - 6, r.right, r.bottom}));

    chart->SetAttribute("view", "pie");
    RecordingPainter pie;
    chart->DoPaint(pie, r);
    EXPECT_TRUE(pie.lines.empty());

    chart->SetAttribute("view", "histpgram");
    RecordingPainter failing;
    failing.failing = "badge";
    chart->DoPaint(failing, r);
    EXPECT_EQ(failing.Of("image").size(), 1u);
    EXPECT_EQ(chart->GetShadowImage(), "");
    RecordingPainter again;
    chart->DoPaint(again, r);
    EXPECT_TRUE(again.Of("image").empty());
}

TEST_F(ControlsTest, ChartShowsValuesAsSlicesAndColumns) {
    auto* chart = Get<CChartViewUI>("chart");
    const Rect r = chart->GetPos();  // 200 x 100, text strip 25
    chart->AddItem("a", 1);
    chart->AddItem("b", 3);
    chart->AddItem("c", -2);  // counts as nothing
    auto slices = chart->GetSlices();
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_DOUBLE_EQ(slices[0].startDeg, -90);
    EXPECT_DOUBLE_EQ(slices[0].sweepDeg, 90);
    EXPECT_DOUBLE_EQ(slices[1].startDeg, 0);
    EXPECT_DOUBLE_EQ(slices[1].sweepDeg, 270);
    EXPECT_DOUBLE_EQ(slices[2].sweepDeg, 0);
    EXPECT_EQ(chart->GetPieRect(), (Rect{r.left + 62, r.top, r.left + 137, r.top + 75}));

    auto cols = chart->GetColumns();
    ASSERT_EQ(cols.size(), 3u);
    const int base = r.bottom - 25;
    EXPECT_EQ(cols[1].bottom, base);
    EXPECT_EQ(cols[1].Height(), 50);  // the largest fills the room between the strips
    EXPECT_EQ(cols[0].Height(), 16);
    EXPECT_TRUE(cols[2].Empty());
    EXPECT_LT(cols[0].right, cols[1].left);

    RecordingPainter p;
    chart->DoPaint(p, r);
    EXPECT_EQ(p.Of("rect").size(), 2u);
    EXPECT_EQ(p.Of("text").size(), 3u);
    chart->SetAttribute("view", "pie");
    RecordingPainter pie;
    chart->DoPaint(pie, r);
    EXPECT_EQ(pie.Of("pie").size(), 2u);
}

// ---- list row

TEST_F(ControlsTest, ListRowBuildsItsPartsAndReportsPressesAndKeys) {
    auto* list = Get<CListUI>("rows");
    auto* row0 = Get<CComboEditContainerElementUI>("row_0");
    auto* row1 = Get<CComboEditContainerElementUI>("row_1");
    ASSERT_NE(row0->GetText1(), nullptr);
    EXPECT_EQ(row0->GetText1()->GetName(), "text1");
    ASSERT_NE(row0->GetText2(), nullptr);
    ASSERT_NE(row0->GetDelayEdit(), nullptr);
    EXPECT_NE(row0->GetDelayEdit()->GetInterface("Edit"), nullptr);
    EXPECT_EQ(row0->GetCount(), 1);
    EXPECT_NE(row1->GetText1(), row0->GetText1());
    EXPECT_EQ(row0->GetAttribute("normalimage"), "");  // state images are not the row's

    ASSERT_FALSE(driver.Click(row0->GetText1()));
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_EQ(wnd.Of({"itemselect", "itemclick", "itemactivate", "return"}),
              (Log{"itemselect:rows", "itemclick:row_0"}));
    EXPECT_TRUE(row0->IsHot());

    wnd.Clear();
    driver.Key("Enter", "");
    EXPECT_EQ(wnd.Of({"itemactivate", "return"}), (Log{"itemactivate:row_0", "return:row_0"}));

    // Ctrl with the press toggles the row.
    wnd.Clear();
    const Point c = row0->GetPos().Center();
    Post(WM_LBUTTONDOWN, c, 1 | 0x0008);
    Post(WM_LBUTTONUP, c);
    EXPECT_EQ(list->GetCurSel(), -1);
    Post(WM_LBUTTONDOWN, c, 1 | 0x0008);
    Post(WM_LBUTTONUP, c);
    EXPECT_EQ(list->GetCurSel(), 0);

    wnd.Clear();
    ASSERT_FALSE(driver.DoubleClick(row1));
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(wnd.Of({"itemactivate"}), (Log{"itemactivate:row_1"}));

    wnd.Clear();
    ASSERT_TRUE(row1->SetTimer(7, 10));
    RunFor(40);
    row1->KillTimer(7);
    auto timers = wnd.Of({"timer"});
    ASSERT_FALSE(timers.empty());
    EXPECT_EQ(timers.front(), "timer:row_1");
    EXPECT_EQ(
        wnd.params[static_cast<size_t>(std::find(wnd.log.begin(), wnd.log.end(), "timer:row_1") -
                                       wnd.log.begin())]
            .first,
        7u);

    // Disabled rows neither select nor report.
    wnd.Clear();
    row0->SetEnabled(false);
    ASSERT_FALSE(driver.Click(row0));
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_TRUE(wnd.Of({"itemselect", "itemclick"}).empty());
}

TEST_F(ControlsTest, ListRowWithoutItsLayoutStaysEmpty) {
    auto& rm = CResourceManager::GetInstance();
    auto saved = rm.GetResourcePath();
    rm.SetResourcePath(saved / "img");  // no XML folder there
    auto* row = new CComboEditContainerElementUI;
    row->SetAttribute("name", "orphan");
    static_cast<CListUI*>(Find("rows"))->Add(row);
    rm.SetResourcePath(saved);
    EXPECT_EQ(row->GetCount(), 0);
    EXPECT_EQ(row->GetText1(), nullptr);
    EXPECT_EQ(row->GetText2(), nullptr);
    EXPECT_EQ(row->GetDelayEdit(), nullptr);
}
