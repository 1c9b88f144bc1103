// Loading, repairing and saving profile documents, and reading members of any type and size.
#include <gtest/gtest.h>

#include "ProfileTestSupport.h"
#include "platform/Trace.h"
#include "profiles/BasicProfiledata.h"
#include "profiles/Hs6533Profiledata.h"
#include "profiles/JsonFields.h"
#include "profiles/KeyboardProfiledata.h"
#include "profiles/MouseProfiledata.h"
#include "profiles/ProfileFiles.h"

using namespace dravik;
using namespace dravik::test;

namespace {

class ProfileFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        defaults_ = dir_ / "mouse.Json";
        Spit(defaults_, kDefaultDocument);
        profile_ = dir_ / "p1.Json";
        data_.SetDefaultPath(defaults_);
        data_.SetProfilePath(profile_);
    }
    Json::Value DefaultEntry() const { return Parse(kDefaultDocument)["Device"][0]; }

    TempDir dir_;
    std::filesystem::path defaults_, profile_;
    CMouseProfiledata data_;
};

}  // namespace

TEST_F(ProfileFileTest, BrokenProfilesAreRepairedFromTheDefaultKeepingRootMembersThatParsed) {
    const struct {
        const char* name;
        std::string text;
        Json::Value keptRoot;  // root members other than "Device" expected after the repair
    } cases[] = {
        {"names only", R"({"profilename": "Game", "profileUUID": "p1"})",
         Parse(R"({"profilename": "Game", "profileUUID": "p1"})")},
        {"entry null", R"({"Device": [null, {"second": 1}], "profilename": "x"})",
         Parse(R"({"profilename": "x"})")},
        {"entry of the wrong type", R"({"Device": [7], "profilename": "x"})",
         Parse(R"({"profilename": "x"})")},
        {"Device not an array", R"({"Device": {"LightInfo": {}}, "profilename": "x"})",
         Parse(R"({"profilename": "x"})")},
        {"empty Device", R"({"Device": []})", Json::Value(Json::objectValue)},
        {"root is an array", R"([{"LightInfo": {}}])", Json::Value(Json::objectValue)},
        {"truncated", R"({"Device": [{"LightInfo": {"Red": 1)", Json::Value(Json::objectValue)},
        {"not JSON", "\x01\x02 binary \xff", Json::Value(Json::objectValue)},
        {"empty file", "", Json::Value(Json::objectValue)},
        {"deeply nested", std::string(200000, '[') + std::string(200000, ']'),
         Json::Value(Json::objectValue)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Spit(profile_, c.text);
        EXPECT_EQ(data_.LoadProfile(profile_), DefaultEntry());
        EXPECT_EQ(data_.ReadLightInfo().selectItem, 3);
        Json::Value written = platform::ReadJsonFile(profile_);
        ASSERT_TRUE(written.isObject());
        EXPECT_EQ(written["Device"][0], DefaultEntry());
        Json::Value rest = written;
        rest.removeMember("Device");
        EXPECT_EQ(rest, c.keptRoot);
    }
    // Other device entries than the first survive the repair.
    Spit(profile_, R"({"Device": [null, {"second": 1}]})");
    data_.LoadProfile(profile_);
    EXPECT_EQ(platform::ReadJsonFile(profile_)["Device"][1]["second"].asInt(), 1);
}

TEST_F(ProfileFileTest, MissingProfileIsCreatedFromTheDefault) {
    EXPECT_EQ(data_.LoadProfile(profile_), DefaultEntry());
    Json::Value expected;
    expected["Device"][0] = DefaultEntry();
    EXPECT_EQ(platform::ReadJsonFile(profile_), expected);
}

TEST_F(ProfileFileTest, AGoodProfileIsNeverRewrittenByLoading) {
    const std::string text = "{ \"Device\" : [ { \"LightInfo\" : { \"Red\" : 9 } } ] } // mine\n";
    Spit(profile_, text);
    data_.LoadProfile(profile_);
    EXPECT_EQ(data_.ReadLightInfo().red, 9);
    EXPECT_EQ(Slurp(profile_), text);
}

TEST_F(ProfileFileTest,
       WithoutADefaultDocumentEverythingReadsAsDefaultsAndTheProfileGetsANullEntry) {
    std::filesystem::remove(defaults_);
    Spit(profile_, "not json");
    EXPECT_TRUE(data_.LoadProfile(profile_).isNull());
    EXPECT_EQ(data_.ReadLightInfo(), LightInfo{});
    EXPECT_TRUE(data_.ReadKeyList().empty());
    EXPECT_TRUE(data_.ReadDpiStages().empty());
    EXPECT_EQ(data_.ReadMouseSettings(), MouseSystemSettings{});
    EXPECT_EQ(Slurp(profile_), "{\r\n   \"Device\" : [ null ]\r\n}\r\n\r\n");
}

TEST_F(ProfileFileTest, TheDefaultDocumentItselfIsNeverWritten) {
    // Restoring factory values loads the default document; it parses, so nothing is written.
    const std::string before = Slurp(defaults_);
    EXPECT_EQ(data_.LoadProfile(defaults_), DefaultEntry());
    EXPECT_EQ(Slurp(defaults_), before);
    // A broken default is not "repaired" into itself either.
    Spit(defaults_, "{broken");
    EXPECT_TRUE(data_.LoadProfile(defaults_).isNull());
    EXPECT_EQ(Slurp(defaults_), "{broken");
    std::filesystem::remove(defaults_);
    data_.LoadProfile(defaults_);
    EXPECT_FALSE(std::filesystem::exists(defaults_));
}

TEST_F(ProfileFileTest, RestoringFactoryValuesKeepsTheProfilesRootMembers) {
    Spit(profile_,
         R"({"Device": [{"LightInfo": {"Red": 9}}], "profilename": "Game", "profileUUID": "p1"})");
    data_.LoadProfile(profile_);
    data_.LoadProfile(defaults_);
    EXPECT_TRUE(data_.Save());
    Json::Value root = platform::ReadJsonFile(profile_);
    EXPECT_EQ(root["Device"][0], DefaultEntry());
    EXPECT_EQ(root["profilename"].asString(), "Game");
    EXPECT_EQ(root["profileUUID"].asString(), "p1");
}

TEST_F(ProfileFileTest, HugeFilesReadAsBrokenWithoutStalling) {
    // 50 MB of one long array: far beyond any profile the program writes.
    {
        std::ofstream out(profile_, std::ios::binary);
        out << "{\"Device\": [{\"LightInfo\": {\"Red\": 1}, \"x\": [";
        const std::string chunk = [] {
            std::string s;
            for (int i = 0; i < 4096; ++i)
                s += "1,";
            return s;
        }();
        for (int i = 0; i < 50 * 1024 * 1024 / 8192; ++i)
            out << chunk;
        out << "1]}]}";
    }
    ASSERT_GT(std::filesystem::file_size(profile_), 50u * 1024 * 1024);
    EXPECT_EQ(data_.LoadProfile(profile_), DefaultEntry());
    EXPECT_EQ(platform::ReadJsonFile(profile_)["Device"][0], DefaultEntry());
}

TEST_F(ProfileFileTest, SaveReplacesOnlyTheFirstDeviceEntry) {
    Spit(profile_, R"({"Device": [{"LightInfo": {"Red": 9, "Mine": "kept"}}, {"second": true}],
                       "profilename": "Game", "profileUUID": "p1", "Extra": [1, 2]})");
    data_.LoadProfile(profile_);
    LightInfo li = data_.ReadLightInfo();
    li.green = 77;
    data_.WriteLightInfo(li);
    // Another writer changed a root member meanwhile: saving reads the file again.
    Json::Value onDisk = platform::ReadJsonFile(profile_);
    onDisk["profilename"] = "Renamed";
    ASSERT_TRUE(platform::WriteJsonFile(profile_, onDisk));

    ASSERT_TRUE(data_.Save());
    Json::Value root = platform::ReadJsonFile(profile_);
    EXPECT_EQ(root["profilename"].asString(), "Renamed");
    EXPECT_EQ(root["Extra"], Parse("[1, 2]"));
    EXPECT_EQ(root["Device"][1], Parse(R"({"second": true})"));
    EXPECT_EQ(root["Device"][0]["LightInfo"]["Mine"].asString(), "kept");
    EXPECT_EQ(root["Device"][0]["LightInfo"]["Green"].asInt(), 77);
    EXPECT_EQ(root["Device"][0]["LightInfo"]["Red"].asInt(), 9);
}

TEST_F(ProfileFileTest, AFailedSaveSaysSoAndLeavesFileAndMemory) {
    Spit(profile_, R"({"Device": [{"LightInfo": {"Red": 9}}]})");
    data_.LoadProfile(profile_);
    LightInfo li = data_.ReadLightInfo();
    li.red = 1;
    data_.WriteLightInfo(li);
    data_.SetProfilePath(dir_ / "no such folder" / "p.Json");
    EXPECT_FALSE(data_.Save());
    EXPECT_EQ(data_.Light().red, 1);
    EXPECT_EQ(platform::ReadJsonFile(profile_)["Device"][0]["LightInfo"]["Red"].asInt(), 9);
}

TEST_F(ProfileFileTest, ScratchDocumentIsLoadedAndSavedApart) {
    Spit(profile_, R"({"Device": [{"KeyList": [{"Assignment": 1, "DefaultAssignment": 2}]}]})");
    const auto other = dir_ / "p2.Json";
    Spit(other,
         R"({"Device": [{"KeyList": [{"Assignment": 7340288, "DefaultAssignment": 1048832}]}],
                    "profilename": "Other"})");
    data_.LoadProfile(profile_);
    data_.LoadScratch(other);
    std::vector<KeyRecord> keys = data_.ReadScratchKeyList();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].current.Function(), (KeyFunction{0x70, 0x01, 0x00}));
    keys[0].RestoreDefault();
    data_.WriteScratchKeyList(keys);
    ASSERT_TRUE(data_.SaveScratch(other));
    Json::Value root = platform::ReadJsonFile(other);
    EXPECT_EQ(root["Device"][0]["KeyList"][0]["Assignment"].asInt(), 1048832);
    EXPECT_EQ(root["profilename"].asString(), "Other");
    EXPECT_EQ(data_.ReadKeyList()[0].current.Function(),
              (KeyFunction{0, 0, 1}));  // current untouched
}

TEST(ProfileFiles, PathsUsePlainFileNamesOnly) {
    const std::filesystem::path user = "/u/Dravik/mouse";
    EXPECT_EQ(ProfilePath(user, "2024_01_02_03_04_05_006"), user / "2024_01_02_03_04_05_006.Json");
    for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b"})
        EXPECT_TRUE(ProfilePath(user, bad).empty()) << bad;
    EXPECT_TRUE(ProfilePath(user, std::string("a\0b", 3)).empty());
    EXPECT_EQ(LightLibraryPath(user), user / "kelvo_light.config");
    EXPECT_EQ(LightEffectPath(user / "kelvo_light.config", "G1"), user / "G1.light");
    EXPECT_TRUE(LightEffectPath(user / "kelvo_light.config", "../../etc/x").empty());
    EXPECT_EQ(KindFolderOf(6), "mouse");
    EXPECT_EQ(KindFolderOf(9), "keyboard");
    EXPECT_EQ(KindFolderOf(3), "MousePad");
    EXPECT_EQ(KindFolderOf(7), "HD");
    EXPECT_EQ(KindFolderOf(4), "");
}

TEST(ProfileFiles, EveryReadIsTraced) {
    TempDir dir;
    platform::TraceCapture trace;
    ReadProfileDocument(dir / "missing.Json");
    EXPECT_TRUE(trace.Contains("readjsonFile 错误吗：：2"));  // ENOENT
    EXPECT_TRUE(trace.Contains("missing.Json"));
}

TEST(JsonFields, IntegersAreCutToTheirFieldAndOtherTypesReadAsDefault) {
    const struct {
        const char* json;
        uint8_t byte;
        uint16_t word;
        int32_t int32;
        bool flag;
    } cases[] = {
        {"300", 44, 300, 300, true},
        {"-1", 255, 65535, -1, true},
        {"65541", 5, 5, 65541, true},
        {"4294967340", 44, 44, 44, true},
        {"18446744073709551615", 255, 65535, -1, true},
        {"-9223372036854775808", 0, 0, 0, true},
        {"3.9", 3, 3, 3, true},
        {"-0.5", 0, 0, 0, false},
        {"1e30", 0, 0, 0, false},
        {"1e400", 0, 0, 0, false},
        {"true", 1, 1, 1, true},
        {"false", 0, 0, 0, false},
        {"null", 0, 0, 0, false},
        {"\"12\"", 0, 0, 0, false},
        {"[1]", 0, 0, 0, false},
        {"{\"a\":1}", 0, 0, 0, false},
    };
    for (const auto& c : cases) {
        Json::Value v = platform::ParseJsonText(std::string("[") + c.json + "]")[0];
        EXPECT_EQ(doc::ByteOf(v), c.byte) << c.json;
        EXPECT_EQ(doc::WordOf(v), c.word) << c.json;
        EXPECT_EQ(doc::Int32Of(v), c.int32) << c.json;
        EXPECT_EQ(doc::FlagOf(v), c.flag) << c.json;
    }
}
