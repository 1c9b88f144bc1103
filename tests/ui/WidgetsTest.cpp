#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "UiTestSupport.h"
#include "platform/Clock.h"
#include "ui/Automation.h"
#include "ui/Container.h"
#include "ui/ListControls.h"

using namespace dravik;
using namespace dravik::ui;
using dravik::test::RecordingWindow;

namespace {

class UiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetQuit();
        CControlFactory::GetInstance().RegistControl("FactoryThing", [] {
            auto* c = new CLabelUI;
            c->SetUserData("factory");
            return c;
        });
        CControlFactory::GetInstance().RegistControl("CallbackThing", [] {
            auto* c = new CLabelUI;
            c->SetUserData("factory");
            return c;
        });
        auto& rm = CResourceManager::GetInstance();
        rm.SetResourcePath(test::TestSkinPath());
        ASSERT_TRUE(rm.LoadResource("res.xml"));
        wnd.Create(0, "Test", WS_POPUP, 0, 0, 0, 400, 300);
        ASSERT_TRUE(wnd.GetPaintManager().GetRoot());
        wnd.ShowWindow(true);
        AutomationDriver::Settle();
        wnd.log.clear();
    }
    void TearDown() override {
        if (wnd.GetHWND())
            wnd.DestroyWindow();
        CControlFactory::GetInstance().Clear();
    }
    CControlUI* Find(const std::string& name) { return wnd.GetPaintManager().FindControl(name); }
    template <typename T>
    T* As(const std::string& name, const char* iface) {
        CControlUI* c = Find(name);
        return c ? static_cast<T*>(c->GetInterface(iface)) : nullptr;
    }

    RecordingWindow wnd;
    AutomationDriver driver;
};

}  // namespace

TEST_F(UiTest, BuilderResolvesTagsInOrderAndDropsUnknownOnes) {
    // The window's callback wins over the factory; sub-layouts see only the factory.
    EXPECT_EQ(Find("from_callback")->GetUserData(), "callback");
    EXPECT_EQ(Find("sub_factory")->GetUserData(), "factory");
    EXPECT_EQ(Find("sub_callback_should_not_exist")->GetUserData(), "factory");
    EXPECT_EQ(Find("sub_label")->GetText(), "inside");
    EXPECT_EQ(Find("ghost"), nullptr);
    EXPECT_EQ(Find("ghost_child"), nullptr);
    EXPECT_EQ(wnd.GetPaintManager().GetFont(3)->size, 18);
    EXPECT_EQ(CControlFactory::GetInstance().RegisteredNames(),
              (std::vector<std::string>{"FactoryThing", "CallbackThing"}));
}

TEST_F(UiTest, LayoutPlacesFixedAndStretchChildrenAndScalesWithDpi) {
    AutomationDriver::Settle();
    EXPECT_EQ(Find("root")->GetPos(), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(Find("row")->GetPos(), (Rect{10, 10, 390, 50}));
    EXPECT_EQ(Find("btn")->GetPos(), (Rect{10, 10, 90, 50}));
    EXPECT_EQ(Find("opt_a")->GetPos().left, 94);
    EXPECT_EQ(Find("slider")->GetPos().top, 55);
    // The filler stretches over what the fixed children leave.
    EXPECT_EQ(Find("filler")->GetPos().bottom, 290);
    wnd.GetPaintManager().SetDPI(144);
    AutomationDriver::Settle();
    EXPECT_EQ(Find("btn")->GetPos(), (Rect{15, 15, 135, 75}));
}

TEST_F(UiTest, ClickNotifiesAndDisabledContainerBlocksInput) {
    driver.Click(Find("btn"));
    driver.Click(Find("deadbtn"));
    EXPECT_EQ(wnd.Of({"click"}), (std::vector<std::string>{"click:btn"}));
    EXPECT_FALSE(Find("deadbtn")->IsEffectivelyEnabled());
}

TEST_F(UiTest, OptionGroupNotifiesOnlyTheNewlySelectedAndCheckBoxEveryToggle) {
    auto* a = As<COptionUI>("opt_a", "Option");
    auto* b = As<COptionUI>("opt_b", "Option");
    driver.Click(b);
    driver.Click(b);  // already selected: nothing changes
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    driver.Click(Find("chk"));
    driver.Click(Find("chk"));
    EXPECT_EQ(wnd.Of({"selectchanged"}),
              (std::vector<std::string>{"selectchanged:opt_b", "selectchanged:chk",
                                        "selectchanged:chk"}));
    a->Selected(true, false);  // from code, silently
    EXPECT_FALSE(b->IsSelected());
    EXPECT_EQ(wnd.Of({"selectchanged"}).size(), 3u);
}

TEST_F(UiTest, SliderNotifiesWhileDraggingAndOnReleaseButNotFromCode) {
    auto* s = As<CSliderUI>("slider", "Slider");
    s->SetValue(500);
    EXPECT_TRUE(wnd.Of({"valuechanged", "movevaluechanged"}).empty());
    ASSERT_FALSE(driver.Set(s, "730"));
    EXPECT_EQ(s->GetValue(), 730);
    auto seen = wnd.Of({"valuechanged", "movevaluechanged"});
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front(), "movevaluechanged:slider");
    EXPECT_EQ(seen.back(), "valuechanged:slider");
    // A press and release without moving still ends in one "valuechanged".
    wnd.log.clear();
    Point thumb = s->GetThumbRect().Center();
    driver.Drag(s, thumb.x - s->GetPos().left, 5, thumb.x - s->GetPos().left, 5);
    EXPECT_EQ(wnd.Of({"valuechanged", "movevaluechanged"}),
              (std::vector<std::string>{"valuechanged:slider"}));
    EXPECT_EQ(s->GetValue(), 730);
}

TEST_F(UiTest, EditTypingReturnAndLeavingNotifyInOrder) {
    auto* e = As<CEditUI>("edit", "Edit");
    e->SetText("x");  // from code: silent
    driver.Click(e);
    driver.Type("ab");
    driver.Key("Enter", "");
    driver.Click(Find("btn"));
    EXPECT_EQ(e->GetText(), "xab");
    EXPECT_EQ(wnd.Of({"textchanged", "return", "killfocus"}),
              (std::vector<std::string>{"textchanged:edit", "textchanged:edit", "return:edit",
                                        "killfocus:edit"}));
    driver.Set(e, "123456789");  // cut to maxchar 5
    EXPECT_EQ(e->GetText(), "12345");
}

TEST_F(UiTest, ListAndComboSelectionNotifyAsUsersAndStaySilentFromCode) {
    auto* list = As<CListUI>("list", "List");
    auto* combo = As<CComboUI>("combo", "Combo");
    list->SelectItem(1, false, false);
    combo->SelectItem(0, false, false);
    EXPECT_TRUE(wnd.Of({"itemselect", "itemclick"}).empty());
    ASSERT_FALSE(driver.Choose(list, 3));  // below the fold: scrolled into view, then clicked
    ASSERT_FALSE(driver.Choose(combo, 1));
    EXPECT_EQ(wnd.Of({"itemselect", "itemclick"}),
              (std::vector<std::string>{"itemclick:li3", "itemselect:list", "itemselect:combo"}));
    // The combo's choice was made in its drop-down, which closed again.
    for (CWindowWnd* w : WindowsInZOrder())
        EXPECT_NE(w->GetWindowClassName(), "ComboWnd");
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_TRUE(list->HasScrollBar());
    EXPECT_EQ(combo->GetText(), "one");
    EXPECT_EQ(driver.Property(combo, "value"), "1");
    EXPECT_EQ(driver.Property(list, "count"), "4");
}

TEST_F(UiTest, NotificationsReachTheVirtualWindowPumpByName) {
    CNotifyPump page;
    std::vector<std::string> pageClicks;
    page.OnNotifyType("click", [&](TNotifyUI& m) { pageClicks.push_back(m.pSender->GetName()); });
    ASSERT_TRUE(wnd.AddVirtualWnd("page", &page));
    driver.Click(Find("pagebtn"));
    driver.Click(Find("btn"));
    EXPECT_EQ(pageClicks, (std::vector<std::string>{"pagebtn"}));
    wnd.RemoveVirtualWnd("page");
}

TEST_F(UiTest, ControlAndWindowTimersFireUntilKilled) {
    CControlUI* btn = Find("btn");
    ASSERT_TRUE(btn->SetTimer(1032, 20));
    ASSERT_TRUE(SetTimer(wnd.GetHWND(), 77, 20));
    RunFor(110);
    ASSERT_TRUE(btn->KillTimer(1032));
    size_t fired = wnd.Of({"timer"}).size();
    EXPECT_GE(fired, 2u);
    RunFor(60);
    EXPECT_EQ(wnd.Of({"timer"}).size(), fired);
    EXPECT_TRUE(KillTimer(wnd.GetHWND(), 77));
}

TEST_F(UiTest, ScriptLookupFollowsTheNameRules) {
    EXPECT_EQ(driver.FindForAction("ROW/BTN"), Find("btn"));
    EXPECT_EQ(driver.FindForAction("page/btn"), nullptr);  // no btn inside page
    EXPECT_EQ(driver.FindForAction("hidden_label"), nullptr);
    EXPECT_EQ(driver.FindForQuery("hidden_label"), Find("hidden_label"));
    EXPECT_EQ(driver.Property(Find("hidden_label"), "visible"), "false");
}

TEST(Layout, FloatControlsFollowTheirParentWithRelativePositions) {
    CPaintManagerUI pm;
    CDialogBuilder builder;
    pm.AttachDialog(builder.CreateFromText(
        "<Container>"
        "<Control name=\"fixed\" float=\"true\" pos=\"10,10,30,30\"/>"
        "<Control name=\"corner\" float=\"true\" pos=\"80,80,100,100\" "
        "relativepos=\"100,100,0,0\"/>"
        "<Control name=\"stretch\" float=\"true\" pos=\"0,50,100,60\" relativepos=\"0,0,100,0\"/>"
        "</Container>"));
    pm.SetClientSize({100, 100});
    pm.LayoutIfNeeded();
    EXPECT_EQ(pm.FindControl("corner")->GetPos(), (Rect{80, 80, 100, 100}));
    pm.SetClientSize({200, 150});
    pm.LayoutIfNeeded();
    EXPECT_EQ(pm.FindControl("fixed")->GetPos(), (Rect{10, 10, 30, 30}));
    EXPECT_EQ(pm.FindControl("corner")->GetPos(), (Rect{180, 130, 200, 150}));
    EXPECT_EQ(pm.FindControl("stretch")->GetPos(), (Rect{0, 50, 200, 60}));
}
