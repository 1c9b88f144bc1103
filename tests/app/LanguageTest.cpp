#include <gtest/gtest.h>

#include <fstream>

#include "app/Language.h"
#include "platform/Trace.h"
#include "support/TempDir.h"
#include "ui/DialogBuilder.h"
#include "ui/ResourceManager.h"
#include "ui/Window.h"

using namespace dravik;
using dravik::test::IsolatedXdg;

namespace {

class ChildWindow : public ui::CWindowWnd {
public:
    int64_t HandleMessage(uint32_t msg, uint64_t w, int64_t l) override {
        if (msg == 0xC11) ++languageMessages;
        return ui::CWindowWnd::HandleMessage(msg, w, l);
    }
    int languageMessages = 0;
};

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& rm = ui::CResourceManager::GetInstance();
        rm.SetResourcePath(DRAVIK_SKIN_DIR);
        ASSERT_TRUE(rm.LoadLanguage("lan_cn.xml"));
        ui::CDialogBuilder builder;
        pm.AttachDialog(builder.CreateFromText(
            "<VerticalLayout><Label name=\"text_test\" visible=\"false\"/></VerticalLayout>"));
        child.Create(0, "child", 0, 0, 0, 0, 10, 10);
    }
    void TearDown() override {
        child.DestroyWindow();
        ui::CPaintManagerUI::ClearSharedFonts();
    }
    std::filesystem::path Config() const { return DRAVIK_LANGUAGE_CONFIG; }

    IsolatedXdg xdg;
    platform::SettingsStore store;
    ui::CPaintManagerUI pm;
    ChildWindow child;
};

}  // namespace

TEST_F(LanguageTest, IndexComesFromTheStoredIdentifier) {
    LanguageManager lang(pm, store, Config());
    EXPECT_EQ(lang.ReadLanguageIndex(), 0);  // no key
    ASSERT_TRUE(store.CreateKey(platform::ProductKeyPath()));
    EXPECT_EQ(lang.ReadLanguageIndex(), 0);  // no value: 520 matches nothing
    const struct {
        uint32_t id;
        int index;
    } cases[] = {{1033, 1}, {2052, 0}, {520, 0}, {9999, 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(store.SetDword(platform::ProductKeyPath(), "LANGUAGE", c.id));
        EXPECT_EQ(lang.ReadLanguageIndex(), c.index) << c.id;
    }
    LanguageManager noConfig(pm, store, xdg.Root() / "missing.config");
    EXPECT_EQ(noConfig.ReadLanguageIndex(), 0);
}

TEST_F(LanguageTest, FontTableIsRebuiltOnlyAroundTheLanguagesWithFacesOfTheirOwn) {
    const struct {
        int from, to;
        bool rebuild;
    } cases[] = {{5, 7, false}, {0, 7, true}, {-1, 3, true}, {7, 2, true},
                 {7, 15, true}, {15, 4, true}, {1, 3, false}};
    for (const auto& c : cases)
        EXPECT_EQ(LanguageManager::FontTableRebuildNeeded(c.from, c.to), c.rebuild)
            << c.from << "->" << c.to;
}

TEST_F(LanguageTest, FirstStartAppliesIndexZeroAndWritesNothing) {
    LanguageManager lang(pm, store, Config());
    lang.ApplyLanguage(lang.ReadLanguageIndex(), {child.GetHWND()});
    EXPECT_EQ(lang.CurrentIndex(), 0);
    EXPECT_FALSE(std::filesystem::exists(store.File()));
    EXPECT_EQ(LookupText(pm, "menu_exit"), "退出");
    ASSERT_NE(pm.GetFont(50), nullptr);
    EXPECT_TRUE(pm.GetFont(50)->bold);
    EXPECT_EQ(pm.GetFont(1)->underline, true);
    EXPECT_EQ(pm.GetDefaultFont().size, 14);
}

TEST_F(LanguageTest, SwitchStoresTheIdentifierTellsChildrenAndReloadsTexts) {
    ASSERT_TRUE(store.CreateKey(platform::ProductKeyPath()));
    LanguageManager lang(pm, store, Config());
    lang.ApplyLanguage(0, {child.GetHWND()});
    platform::TraceCapture trace;
    int before = child.languageMessages;
    lang.ApplyLanguage(1, {child.GetHWND()});
    EXPECT_EQ(store.GetDword(platform::ProductKeyPath(), "LANGUAGE"), 1033u);
    EXPECT_TRUE(trace.Contains("写成功！"));
    EXPECT_EQ(child.languageMessages, before + 1);
    EXPECT_EQ(LookupText(pm, "menu_exit"), "Exit");
    EXPECT_EQ(LookupText(pm, "no_such_key"), "no_such_key");

    // The language in use again: nothing happens.
    lang.ApplyLanguage(1, {child.GetHWND()});
    EXPECT_EQ(child.languageMessages, before + 1);
    EXPECT_EQ(trace.Count("写成功！"), 1u);
}

TEST_F(LanguageTest, MissingListAppliesEmptyTextsAndStoresZero) {
    ASSERT_TRUE(store.CreateKey(platform::ProductKeyPath()));
    LanguageManager lang(pm, store, xdg.Root() / "missing.config");
    lang.ApplyLanguage(3);
    EXPECT_EQ(store.GetDword(platform::ProductKeyPath(), "LANGUAGE"), 0u);
    EXPECT_EQ(ui::CResourceManager::GetInstance().GetLanguage(), "");
}
