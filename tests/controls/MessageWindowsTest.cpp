#include <gtest/gtest.h>

#include "controls/AboutWnd.h"
#include "controls/MsgWnd.h"
#include "platform/Trace.h"
#include "ui/Automation.h"
#include "ui/ResourceManager.h"

using namespace dravik;
using namespace dravik::ui;

namespace {

// The shipped skin, as the program uses it.
class MessageWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetQuit();
        auto& rm = CResourceManager::GetInstance();
        rm.SetResourcePath(DRAVIK_SKIN_DIR);
        ASSERT_TRUE(rm.LoadResource("res.xml"));
        ASSERT_TRUE(rm.LoadLanguage("lan_en.xml"));
    }
    void TearDown() override { CPaintManagerUI::SetAllDPI(96); }

    // Runs action inside the modal loop that the call under test starts.
    void WhileModal(std::function<void()> action) { PostTask(std::move(action)); }
    AutomationDriver driver;
};

}  // namespace

TEST_F(MessageWindowsTest, ButtonModesAndResults) {
    const struct {
        int mode;
        const char* press;
        bool cancelShown;
        uint32_t result;
    } cases[] = {
        {0, "confirm_btn", false, 1},
        {1, "confirm_btn", true, 1},
        {1, "cancel_btn", true, 0},
        {1, "closebtn", true, 0},
    };
    for (const auto& c : cases) {
        bool cancelShown = !c.cancelShown;
        std::string text;
        WhileModal([&] {
            cancelShown = driver.FindForAction("cancel_btn") != nullptr;
            text = driver.FindForQuery("MessageText")->GetText();
            driver.Click(driver.FindForAction(c.press));
        });
        EXPECT_EQ(CMsgWnd::ShowMessageBox(0, "Title", "msg_ok", 96, true, c.mode), c.result)
            << c.mode << " " << c.press;
        EXPECT_EQ(cancelShown, c.cancelShown) << c.mode;
        EXPECT_EQ(text, "OK");  // a resource text shows the language's text
    }
}

TEST_F(MessageWindowsTest, UnknownDpiFallsBackTo96WithTheTrace) {
    platform::TraceCapture trace;
    EXPECT_EQ(CMsgWnd::CheckedDpi(100), 96);
    EXPECT_TRUE(trace.Contains("MSG_WND DPI SET ERROR"));
    for (int dpi : {48, 72, 96, 120, 144, 168, 192})
        EXPECT_EQ(CMsgWnd::CheckedDpi(dpi), dpi);
    EXPECT_EQ(trace.Count("MSG_WND DPI SET ERROR"), 1u);

    int seenDpi = 0, dpiAfterChange = 0;
    Rect placed;
    WhileModal([&] {
        seenDpi = driver.FindForAction("confirm_btn")->GetManager()->GetDPI();
        HWND box = driver.FindForAction("confirm_btn")->GetManager()->GetPaintWindow();
        Rect suggested{10, 20, 640, 350};
        SendMessage(box, WM_DPICHANGED, 120 | (120 << 16), reinterpret_cast<int64_t>(&suggested));
        dpiAfterChange = driver.FindForAction("confirm_btn")->GetManager()->GetDPI();
        placed = WindowFromHandle(box)->GetWindowRect();
        driver.Click(driver.FindForAction("confirm_btn"));
    });
    CMsgWnd::ShowMessageBox(0, "", "plain text", 144, false, 0);
    EXPECT_EQ(seenDpi, 144);
    EXPECT_EQ(dpiAfterChange, 120);
    EXPECT_EQ(placed, (Rect{10, 20, 640, 350}));
}

TEST_F(MessageWindowsTest, AboutShowsTheVersionAndOpensOnlyOnce) {
    HWND held = 0;
    std::string version;
    int aboutWindows = 0;
    WhileModal([&] {
        version = driver.FindForQuery("software_ver_label")->GetText();
        CAboutWnd::Open(0, held);  // a second request while it is open does nothing
        for (CWindowWnd* w : WindowsInZOrder())
            aboutWindows += w->GetWindowClassName() == "AboutWnd";
        SendMessage(held, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    CAboutWnd::Open(0, held);
    EXPECT_EQ(version, "V1.0.0 (2026-12-11)");
    EXPECT_EQ(aboutWindows, 1);
    EXPECT_EQ(held, 0u);
    EXPECT_FALSE(QuitRequested());  // closing About never ends the program
}
