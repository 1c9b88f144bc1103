// The message box and the About window on the shipped skin, in Chinese and in English, at 96 and
// 144 DPI: every text they show is drawn with real glyphs (no character without a font) and fits
// the control that shows it. Screenshots of each are left in the build folder for a person to
// look at (tests/e2e/screens).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "controls/AboutWnd.h"
#include "controls/MsgWnd.h"
#include "ui/CairoPainter.h"
#include "ui/PaintManager.h"
#include "ui/ResourceManager.h"

using namespace dravik;
using namespace dravik::ui;

namespace {

class LanguageWindows : public ::testing::TestWithParam<std::tuple<const char*, int>> {
  protected:
    void SetUp() override {
        ResetQuit();
        auto& rm = CResourceManager::GetInstance();
        rm.SetResourcePath(DRAVIK_SKIN_DIR);
        ASSERT_TRUE(rm.LoadResource("res.xml"));
        ASSERT_TRUE(rm.LoadLanguage(std::get<0>(GetParam())));
        std::filesystem::create_directories(DRAVIK_SCREEN_DIR);
    }
    void TearDown() override { CPaintManagerUI::SetAllDPI(96); }

    std::string Shot(const std::string& what) const {
        std::string lang = std::get<0>(GetParam());
        lang = lang.substr(4, 2);  // lan_cn.xml -> cn
        return std::string(DRAVIK_SCREEN_DIR) + "/" + what + "-" + lang + "-" +
               std::to_string(std::get<1>(GetParam())) + ".png";
    }

    // The topmost visible window's paint manager.
    static CPaintManagerUI* Top() {
        for (CWindowWnd* w : WindowsInZOrder())
            if (w->IsVisible())
                for (CPaintManagerUI* pm : CPaintManagerUI::AllManagers())
                    if (pm->GetWindow() == w)
                        return pm;
        return nullptr;
    }

    // Every shown text: real glyphs only, and inside its control (on one line unless the control
    // wraps, then within its height).
    static void CheckTexts(CPaintManagerUI& pm) {
        pm.LayoutIfNeeded();
        int checked = 0;
        pm.GetRoot()->FindFirst([&](CControlUI* c) {
            std::string text = c->GetText();
            if (text.empty() || !c->IsEffectivelyVisible())
                return false;
            const std::string f = c->GetAttribute("font");
            const FontInfo* font = pm.GetFont(f.empty() ? -1 : ParseInt(f));
            Rect pad = ParseRect(c->GetAttribute("textpadding"));
            Rect box = c->GetPos().Deflate(
                {pm.Scale(pad.left), pm.Scale(pad.top), pm.Scale(pad.right), pm.Scale(pad.bottom)});
            bool wrap =
                ParseBool(c->GetAttribute("wordbreak")) || ParseBool(c->GetAttribute("multiline"));
            TextExtent e = MeasureText(text, font ? *font : pm.GetDefaultFont(), pm.GetDPI() / 96.0,
                                       wrap ? box.Width() : -1);
            EXPECT_EQ(e.unknownGlyphs, 0) << c->GetName() << " \"" << text << "\"";
            EXPECT_LE(e.width, box.Width()) << c->GetName() << " \"" << text << "\"";
            EXPECT_LE(e.height, box.Height()) << c->GetName() << " \"" << text << "\"";
            ++checked;
            return false;
        });
        EXPECT_GE(checked, 3);
    }
};

}  // namespace

TEST_P(LanguageWindows, MessageBoxAndAboutShowEveryTextWhole) {
    const int dpi = std::get<1>(GetParam());
    bool seen = false;
    PostTask([&] {
        CPaintManagerUI* pm = Top();
        ASSERT_TRUE(pm);
        seen = true;
        CheckTexts(*pm);
        EXPECT_TRUE(RenderToPng(*pm, Shot("msgbox")));
        pm->GetWindow()->Close(1);
    });
    EXPECT_EQ(CMsgWnd::ShowMessageBox(0, "Dravik", "nodevice_text", dpi, true, 1), 1u);
    EXPECT_TRUE(seen);

    seen = false;
    HWND held = 0;
    PostTask([&] {
        CPaintManagerUI* pm = Top();
        ASSERT_TRUE(pm);
        seen = true;
        pm->SetDPI(dpi);
        CheckTexts(*pm);
        EXPECT_TRUE(RenderToPng(*pm, Shot("about")));
        pm->GetWindow()->Close(IDOK);
    });
    CAboutWnd::Open(0, held);
    EXPECT_TRUE(seen);
}

INSTANTIATE_TEST_SUITE_P(ChineseAndEnglish, LanguageWindows,
                         ::testing::Combine(::testing::Values("lan_cn.xml", "lan_en.xml"),
                                            ::testing::Values(96, 144)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param)).substr(4, 2) + "_" +
                                    std::to_string(std::get<1>(info.param));
                         });
