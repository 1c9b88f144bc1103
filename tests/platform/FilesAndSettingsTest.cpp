#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/Folders.h"
#include "platform/JsonFile.h"
#include "platform/SettingsStore.h"
#include "support/TempDir.h"

using namespace dravik::platform;
using dravik::test::IsolatedXdg;
using dravik::test::TempDir;

namespace {
std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
}  // namespace

TEST(JsonFile, WritesStyledCrLfWithTrailingBreakAndNoLeftovers) {
    TempDir dir;
    Json::Value v;
    v["b"] = 2;
    v["a"]["x"] = "文字";
    ASSERT_TRUE(WriteJsonFile(dir / "doc.json", v));
    std::string text = Slurp(dir / "doc.json");
    EXPECT_EQ(text,
              "{\r\n   \"a\" : {\r\n      \"x\" : \"文字\"\r\n   },\r\n   \"b\" : 2\r\n}\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "doc.json.tmp"));
    EXPECT_EQ(ReadJsonFile(dir / "doc.json"), v);
}

TEST(JsonFile, BadInputReadsAsNull) {
    TempDir dir;
    const std::string deep(100000, '[');
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"truncated", "{\"a\": [1, 2"}, {"not json", "hello"}, {"empty", ""}, {"deep", deep}};
    for (const auto& c : cases) {
        std::ofstream(dir / "f.json", std::ios::binary) << c.text;
        EXPECT_TRUE(ReadJsonFile(dir / "f.json").isNull()) << c.name;
    }
    EXPECT_TRUE(ReadJsonFile(dir / "missing.json").isNull());
}

TEST(JsonFile, AcceptsCommentsAndBom) {
    TempDir dir;
    std::ofstream(dir / "f.json", std::ios::binary) << "\xEF\xBB\xBF{ // note\n \"a\": 1 }";
    EXPECT_EQ(ReadJsonFile(dir / "f.json")["a"].asInt(), 1);
}

TEST(JsonFile, FailedWriteLeavesTheOldFile) {
    TempDir dir;
    Json::Value v(7);
    ASSERT_TRUE(WriteJsonFile(dir / "doc.json", v));
    EXPECT_FALSE(WriteJsonFile(dir / "no-such-folder" / "doc.json", v));
    EXPECT_EQ(ReadJsonFile(dir / "doc.json").asInt(), 7);
}

TEST(Folders, UserDataFolderFollowsXdgAndIsCreated) {
    IsolatedXdg xdg;
    auto folder = UserDataFolder("mouse");
    EXPECT_EQ(folder, xdg.Root() / "data" / "Dravik" / "mouse");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(RuntimeFolder(), xdg.Root() / "runtime" / "Dravik");
}

TEST(SettingsStore, LanguageWordRoundTripsUnderTheProductKey) {
    IsolatedXdg xdg;
    SettingsStore store;
    EXPECT_EQ(ProductKeyPath(), "SOFTWARE\\Dravik");
    EXPECT_FALSE(store.GetDword(ProductKeyPath(), "LANGUAGE"));
    ASSERT_TRUE(store.SetDword(ProductKeyPath(), "LANGUAGE", 7));
    ASSERT_TRUE(store.SetString(ProductKeyPath(), "Other", "x"));
    SettingsStore reopened;
    EXPECT_EQ(reopened.GetDword(ProductKeyPath(), "LANGUAGE"), 7u);
    EXPECT_FALSE(reopened.GetString(ProductKeyPath(), "LANGUAGE"));  // typed: a word is no string
    EXPECT_EQ(reopened.GetString(ProductKeyPath(), "Other"), "x");
    EXPECT_EQ(reopened.File(), xdg.Root() / "config" / "Dravik" / "registry.json");
}

TEST(SettingsStore, BrokenFileReadsAsEmptyAndIsRepairedOnWrite) {
    TempDir dir;
    std::ofstream(dir / "registry.json") << "{broken";
    SettingsStore store(dir / "registry.json");
    EXPECT_FALSE(store.GetDword("K", "N"));
    EXPECT_TRUE(store.SetDword("K", "N", 0xFFFFFFFFu));
    EXPECT_EQ(store.GetDword("K", "N"), 0xFFFFFFFFu);
}

TEST(JsonFile, TextStaysUtf8AndEscapesSurviveTheRoundTrip) {
    TempDir dir;
    Json::Value v;
    v["s"] = std::string("a\\u00e9\"\x01 é 𝄞 ไทย");
    ASSERT_TRUE(WriteJsonFile(dir / "doc.json", v));
    std::string text = Slurp(dir / "doc.json");
    EXPECT_NE(text.find("é 𝄞 ไทย"), std::string::npos) << text;
    EXPECT_NE(text.find("a\\\\u00e9\\\"\\u0001"), std::string::npos) << text;
    EXPECT_EQ(ReadJsonFile(dir / "doc.json"), v);
}

TEST(JsonFile, ADocumentWithCommentsIsSavedAsStrictJson) {
    TempDir dir;
    std::ofstream(dir / "in.json", std::ios::binary)
        << "{\"a\": [{\"b\": 1}], //c\n \"n\": null /* d */}";
    Json::Value v = ReadJsonFile(dir / "in.json");
    ASSERT_TRUE(v.isObject());
    ASSERT_TRUE(WriteJsonFile(dir / "out.json", v));
    EXPECT_EQ(Slurp(dir / "out.json").find("//"), std::string::npos);
    EXPECT_EQ(ReadJsonFile(dir / "out.json"), v);
}
