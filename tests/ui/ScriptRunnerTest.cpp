#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "UiTestSupport.h"
#include "ui/ScriptRunner.h"

using namespace dravik;
using namespace dravik::ui;

namespace {

class ScriptTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetQuit();
        auto& rm = CResourceManager::GetInstance();
        rm.SetResourcePath(test::TestSkinPath());
        ASSERT_TRUE(rm.LoadResource("res.xml"));
        wnd.Create(0, "Test", WS_POPUP, 0, 0, 0, 400, 300);
        wnd.ShowWindow(true);
    }
    void TearDown() override { wnd.DestroyWindow(); }
    test::RecordingWindow wnd;
};

}  // namespace

TEST(ScriptTokens, QuotesCommentsAndEmptyText) {
    std::string error;
    auto words = TokenizeScriptLine("expect  edit text \"\"  # trailing", error);
    ASSERT_TRUE(words);
    EXPECT_EQ(*words, (std::vector<std::string>{"expect", "edit", "text", ""}));
    words = TokenizeScriptLine("type \"two words\"", error);
    EXPECT_EQ(words->at(1), "two words");
    EXPECT_FALSE(TokenizeScriptLine("type \"open", error));
}

TEST_F(ScriptTest, ExitStatusIsZeroOneOrTwoAndNamesTheLine) {
    const struct {
        const char* script;
        int status;
        int line;
    } cases[] = {
        {"# all good\nclick opt_b\nexpect opt_b selected true\nexpect opt_a selected 0\n"
         "set slider 250\nexpect slider value 250\nset edit \"a b\"\nexpect edit text \"a b\"\n"
         "choose combo 1\nexpect combo value 1\nexpect list count 4\nwait 10\n",
         0, 0},
        {"click btn\nexpect btn text Pressed\n", 1, 2},
        {"waitfor opt_a selected true 50\n", 1, 1},
        {"click nosuch\n", 2, 1},
        {"\nfrobnicate btn\n", 2, 2},
        {"expect btn colour red\n", 2, 1},
        {"plug mouse\n", 2, 1},
        {"expect hidden_label visible false\nclick hidden_label\n", 2, 2},
    };
    for (const auto& c : cases) {
        ScriptRunner runner;
        ScriptResult r = runner.RunText(c.script);
        EXPECT_EQ(r.status, c.status) << c.script << r.message;
        EXPECT_EQ(r.line, c.line) << c.script;
        if (c.status) {
            EXPECT_NE(r.message.find("line " + std::to_string(c.line)), std::string::npos);
        }
    }
}

TEST_F(ScriptTest, ScreenshotWritesAPngOfTheWindowThatIsNotBlank) {
    auto file = std::filesystem::temp_directory_path() / "dravik-shot-test.png";
    ScriptRunner runner;
    ScriptResult r = runner.RunText("screenshot \"" + file.string() + "\"\n");
    ASSERT_EQ(r.status, 0) << r.message;
    cairo_surface_t* s = cairo_image_surface_create_from_png(file.c_str());
    ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(s), 400);
    EXPECT_EQ(cairo_image_surface_get_height(s), 300);
    cairo_surface_flush(s);
    const unsigned char* px = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    std::set<uint32_t> colours;
    for (int y = 0; y < 300; y += 3)
        for (int x = 0; x < 400; x += 3)
            colours.insert(*reinterpret_cast<const uint32_t*>(px + y * stride + x * 4));
    EXPECT_GT(colours.size(), 3u);  // background, text and the slider at least
    cairo_surface_destroy(s);
    std::filesystem::remove(file);
}
