#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/Automation.h"
#include "ui/MenuWnd.h"

using namespace dravik;
using namespace dravik::ui;

namespace {

class OwnerWindow : public test::RecordingWindow {
  public:
    int64_t HandleCustomMessage(uint32_t msg, uint64_t, int64_t lParam, bool& handled) override {
        if (msg == kMenuCommandMessage) {
            commands.push_back(reinterpret_cast<MenuCommand*>(lParam)->name);
            handled = true;
        }
        return 0;
    }
    std::vector<std::string> commands;
};

}  // namespace

TEST(MenuPlacement, OpensTowardsTheAlignmentAndStaysOnScreen) {
    const Size screen{1920, 1080}, menu{160, 100};
    const struct {
        Point at;
        uint32_t align;
        Rect want;
    } cases[] = {
        {{500, 500}, eMenuAlignment_Left | eMenuAlignment_Top, {500, 500, 660, 600}},
        {{500, 500}, eMenuAlignment_Right | eMenuAlignment_Bottom, {340, 400, 500, 500}},
        {{1900, 1070}, eMenuAlignment_Left | eMenuAlignment_Top, {1760, 980, 1920, 1080}},
        {{10, 10}, eMenuAlignment_Right | eMenuAlignment_Bottom, {0, 0, 160, 100}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CMenuWnd::Place(c.at, menu, c.align, screen), c.want) << c.at.x << "," << c.at.y;
}

TEST(Menu, ChoosingAnItemSendsItsNameToTheOwnerAndAClickElsewhereCloses) {
    ResetQuit();
    auto& rm = CResourceManager::GetInstance();
    rm.SetResourcePath(test::TestSkinPath());
    ASSERT_TRUE(rm.LoadResource("res.xml"));
    OwnerWindow owner;
    owner.Create(0, "owner", WS_VISIBLE, 0, 0, 0, 400, 300);
    AutomationDriver driver;

    auto* menu = new CMenuWnd;
    ASSERT_TRUE(menu->Init("menu.xml", {50, 50}, &owner.GetPaintManager()));
    HWND menuHandle = menu->GetHWND();
    ASSERT_EQ(driver.FindForAction("exit")->GetManager()->GetPaintWindow(), menuHandle);
    driver.Click(driver.FindForAction("exit"));
    EXPECT_EQ(owner.commands, (std::vector<std::string>{"exit"}));
    EXPECT_FALSE(IsWindow(menuHandle));

    menu = new CMenuWnd;
    ASSERT_TRUE(menu->Init("menu.xml", {50, 50}, &owner.GetPaintManager()));
    menuHandle = menu->GetHWND();
    driver.Click(owner.GetPaintManager().FindControl("btn"));
    AutomationDriver::Settle();
    EXPECT_FALSE(IsWindow(menuHandle));
    EXPECT_EQ(owner.commands.size(), 1u);
    owner.DestroyWindow();
}
