#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/DialogBuilder.h"

using namespace dravik::ui;

TEST(ResourceManager, FoldersMissingFilesAndBrokenXmlAreRefusedAndKeepTheLoadedTexts) {
    auto& rm = CResourceManager::GetInstance();
    rm.SetResourcePath(dravik::test::TestSkinPath());
    ASSERT_TRUE(rm.LoadResource("res.xml"));
    EXPECT_EQ(rm.GetXmlPath("XML_TEST"), "test.xml");
    EXPECT_EQ(rm.GetXmlPath("not_indexed.xml"), "not_indexed.xml");
    ASSERT_TRUE(rm.LoadLanguage("lang_test.xml"));
    for (const char* bad : {"", ".", "sub", "missing.xml", "broken.xml"}) {
        EXPECT_FALSE(rm.LoadLanguage(bad)) << bad;
        EXPECT_EQ(rm.GetText("hello"), "你好") << bad;
        CDialogBuilder builder;
        EXPECT_EQ(builder.Create(bad), nullptr) << bad;
        EXPECT_FALSE(builder.LastError().empty()) << bad;
    }
    EXPECT_FALSE(rm.GetText("absent"));
}
