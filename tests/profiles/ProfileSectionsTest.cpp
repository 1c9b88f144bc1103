// The sections of the profile document: round trips through the records, defaults for what is
// missing, and the merging, growing and cutting rules of each section.
#include <gtest/gtest.h>

#include "ProfileTestSupport.h"
#include "profiles/BasicProfiledata.h"
#include "profiles/Hs6533Profiledata.h"
#include "profiles/KeyboardProfiledata.h"
#include "profiles/MouseProfiledata.h"

using namespace dravik;
using namespace dravik::test;

namespace {

// Complete documents of each kind, with members the program does not know at every level.
constexpr const char* kMouseDocument = R"({
  "Device": [ {
    "LightInfo": { "SelectItem": 2, "Light": 3, "Speed": 1, "Fx": 1, "MultiColor": 1, "Red": 10,
                   "Green": 20, "Blue": 30, "ZZCCLedMode": 0, "CustomGroup": 0, "OldLedmode": 5,
                   "Note": "foreign" },
    "LightList": [ { "LEDREGMode": 1, "LEDBrightness": 4, "LEDSpeed": 2, "LEDDirection": 1,
                     "LEDMultiColor": 0, "red": 1, "green": 2, "blue": 3 }, null ],
    "KeyList": [ { "Assignment": 2097412, "DefaultAssignment": 1048832, "Label": "L" },
                 { "Assignment": 1245437, "DefaultAssignment": 1048064 } ],
    "DPIStages": { "StageActive": 1, "Sensor": "x", "StageDPIs": [
      { "StageActive": 1, "StageXY": 0, "StageDPIX": 300, "StageDPIY": 301, "StageColorR": 255,
        "StageColorG": 0, "StageColorB": 0 },
      { "StageActive": 0, "StageXY": 1, "StageDPIX": 65535, "StageDPIY": 2, "StageColorR": 0,
        "StageColorG": 255, "StageColorB": 0 } ] },
    "SystemStages": { "DoubleClickTime": 500, "MouseSpeed": 10, "PointerPrecision": 1,
                      "ScorllPage": 0, "WheelScorlllinse": 3 },
    "ReportStages": { "StageActive": 3, "SilentAltitude": 1, "Linear_Calibration": 1, "Ripple": 0,
                      "ble_sleep1": 1, "ble_sleep2": 10, "device_sleep1": 2, "device_sleep2": 20,
                      "key_debounce_time": 4 },
    "Unknown": { "deep": [ 1, 2.5, "three" ] }
  } ],
  "profilename": "名前", "profileUUID": "p1", "Tool": 1
})";

constexpr const char* kKeyboardDocument = R"({
  "Device": [ {
    "LightInfo": { "SelectItem": 17, "Light": 4, "Speed": 0, "Fx": 0, "MultiColor": 0, "Red": 1,
                   "Green": 2, "Blue": 3, "ZZCCLedMode": 2, "CustomGroup": 1, "OldLedmode": 4 },
    "AudioLightInfo": { "AudioMode": 2, "BkColorR": 1, "BkColorG": 2, "BkColorB": 3,
                        "FgColorR": 4, "FgColorG": 5, "FgColorB": 6, "7ColorFlags": 1,
                        "ColorTypeFlags": 1 },
    "KeyList": [ { "Assignment": 2097193, "DefaultAssignment": 2097193 } ],
    "SystemStages": { "Repeat": 20, "RepeatDelay": 3, "Key6Flag": 1, "PollingRate": 2,
                      "WFlag": 0, "WinFlag": 1 },
    "CustomLightMode": { "CustomLightModeGroupIndex": 1, "LightColorInfo": [
      [ { "Red": 1, "Green": 2, "Blue": 3, "Alpha": 255 } ],
      [ { "Red": 9, "Green": 8, "Blue": 7, "Alpha": 0 }, { "Red": 6, "Green": 5, "Blue": 4, "Alpha": 1 } ] ] }
  } ]
})";

constexpr const char* kHeadsetDocument = R"({
  "Device": [ {
    "LightInfo": { "SelectItem": 0, "Light": 4, "Speed": 4, "Fx": 0, "MultiColor": 1, "Red": 0,
                   "Green": 0, "Blue": 255, "ZZCCLedMode": 0, "CustomGroup": 0, "OldLedmode": 0 },
    "SystemSetStages": { "MagicEnable": 1, "MagicType": 3, "EqType": 13, "CustomEqSeletIndex": 1,
                         "MicInSelect": 1, "MicInValue": 80, "MicMoniterSelect": 0,
                         "MicMoniterValue": -2147483648 },
    "EQHzValueInfo": [ null, [ {"value": 7}, {"value": 11}, {"value": 2}, {"value": -3},
      {"value": -1}, {"value": 4}, {"value": 9}, {"value": 12}, {"value": 9}, {"value": 5} ] ],
    "CustomEQNameInfo": [ { "Name": "Bass" }, { "Name": "Voix aiguë" } ],
    "CustomEQHzValueInfo": [ [ {"value": 1}, {"value": 2}, {"value": 3}, {"value": 4},
      {"value": 5}, {"value": 6}, {"value": 7}, {"value": 8}, {"value": 9}, {"value": 10} ] ]
  } ]
})";

class SectionTest : public ::testing::Test {
  protected:
    // Writes the document in the stored layout and loads it into `data`.
    std::string Store(CBasicProfiledata& data, const char* document) {
        profile_ = dir_ / "p.Json";
        EXPECT_TRUE(platform::WriteJsonFile(profile_, Parse(document)));
        data.SetProfilePath(profile_);
        data.SetDefaultPath(dir_ / "missing-default.Json");
        data.LoadProfile(profile_);
        return Slurp(profile_);
    }
    TempDir dir_;
    std::filesystem::path profile_;
};

}  // namespace

// Reading every section and writing it back unchanged leaves the file byte for byte as it was:
// foreign members at every level, other root members and the layout all survive.
TEST_F(SectionTest, MouseRoundTripKeepsTheFile) {
    CMouseProfiledata data;
    const std::string before = Store(data, kMouseDocument);
    data.WriteLightInfo(data.ReadLightInfo());
    data.ReadLightList();
    data.WriteKeyList(data.ReadKeyList());
    data.WriteDpiStages(data.ReadDpiStages());
    data.WriteActiveStage(data.GetActiveStage());
    data.WriteMouseSettings(data.ReadMouseSettings());
    ASSERT_TRUE(data.Save());
    EXPECT_EQ(Slurp(profile_), before);

    EXPECT_EQ(data.Light().oldLedMode, 5);
    EXPECT_EQ(data.Stages()[1], (DpiStage{0, 1, 65535, 2, 0, 255, 0}));
    EXPECT_EQ(data.Stages()[0].Bytes(),
              (std::array<uint8_t, 9>{1, 0, 0x2C, 0x01, 0x2D, 0x01, 255, 0, 0}));
    EXPECT_EQ(data.GetActiveStage(), 1);
    EXPECT_EQ(data.MouseSettings().keyDebounceTime, 4);
    EXPECT_EQ(data.MouseSettings().deviceSleep2, 20);
    ASSERT_EQ(data.Keys().size(), 2u);
    EXPECT_EQ(data.Keys()[1].current.Function(), (KeyFunction{0x13, 0x00, 0xFD}));
    EXPECT_EQ(data.Keys()[1].factory.Function(), (KeyFunction{0x0F, 0xFE, 0x00}));
    EXPECT_EQ(data.Keys()[1].current.keyIndex, 1);
    EXPECT_EQ(data.Keys()[1].factory.keyIndex, 1);
}

TEST_F(SectionTest, KeyboardRoundTripKeepsTheFile) {
    CKeyboardProfiledata data;
    const std::string before = Store(data, kKeyboardDocument);
    data.WriteLightInfo(data.ReadLightInfo());
    data.WriteAudioLight(data.ReadAudioLight());
    data.WriteKeyList(data.ReadKeyList());
    data.WriteKeyboardSettings(data.ReadKeyboardSettings());
    data.WriteCustomGroupIndex(data.ReadCustomGroupIndex());
    data.WriteCustomColors(data.ReadCustomColors(1, 2), 1);
    ASSERT_TRUE(data.Save());
    EXPECT_EQ(Slurp(profile_), before);

    EXPECT_EQ(data.Light().zzccLedMode, 2);
    EXPECT_EQ(data.AudioLight(), (AudioLightInfo{2, 1, 2, 3, 4, 5, 6, 1, 1}));
    EXPECT_EQ(data.KeyboardSettings(), (KeyboardSystemSettings{20, 3, 1, 2, 0, 1}));
    EXPECT_EQ(data.CustomGroupIndex(), 1);
    EXPECT_EQ(data.CustomColors(), (std::vector<CustomColor>{{9, 8, 7, 0}, {6, 5, 4, 1}}));
}

TEST_F(SectionTest, HeadsetRoundTripKeepsTheFile) {
    CHs6533Profiledata data;
    const std::string before = Store(data, kHeadsetDocument);
    data.WriteLightInfo(data.ReadLightInfo());
    data.WriteHeadsetSettings(data.ReadHeadsetSettings());
    data.WriteEqCurve(1, data.ReadEqCurve(1));
    data.WriteCustomEqNames(data.ReadCustomEqNames());
    data.WriteCustomEqCurve(0, data.ReadCustomEqCurve(0));
    ASSERT_TRUE(data.Save());
    EXPECT_EQ(Slurp(profile_), before);

    EXPECT_EQ(data.HeadsetSettings().micMonitorValue, INT32_MIN);
    EXPECT_EQ(data.ReadEqCurve(1), (std::vector<int>{7, 11, 2, -3, -1, 4, 9, 12, 9, 5}));
    EXPECT_EQ(data.ReadCustomEqNames(), (std::vector<std::string>{"Bass", "Voix aiguë"}));
    EXPECT_EQ(data.ReadCustomEqCurve(0), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(SectionTest, MissingAndNullMembersReadAsDefaults) {
    CMouseProfiledata mouse;
    Store(mouse, R"({"Device": [{
        "LightInfo": {"SelectItem": null, "Red": 300, "MultiColor": true, "Speed": "fast"},
        "AudioLightInfo": {"ColorTypeFlags": 0, "7ColorFlags": 5},
        "LightList": [null, {"red": 7}, 3],
        "KeyList": [{"Assignment": 1179648}, null, {"DefaultAssignment": "x"}],
        "SystemStages": {"MouseSpeed": 6}
    }]})");
    LightInfo li = mouse.ReadLightInfo();
    EXPECT_EQ(li.selectItem, 0);
    EXPECT_EQ(li.red, 44);  // 300 cut to a byte
    EXPECT_EQ(li.multiColor, 1);
    EXPECT_EQ(li.speed, 0);
    // A stored audio section always starts on the foreground colour; its flag reads as 0/1.
    EXPECT_EQ(mouse.ReadAudioLight(), (AudioLightInfo{0, 0, 0, 0, 0, 0, 0, 1, 1}));
    std::vector<LightListEntry> list = mouse.ReadLightList();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], LightListEntry{});
    EXPECT_EQ(list[1], (LightListEntry{0, 0, 0, 0, 0, 7, 0, 0, 1}));
    EXPECT_EQ(list[2].present, 0);
    std::vector<KeyRecord> keys = mouse.ReadKeyList();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].current.Function(), (KeyFunction{0x12, 0, 0}));
    EXPECT_EQ(keys[0].factory.Function(), (KeyFunction{}));
    EXPECT_EQ(keys[2].current.keyIndex, 2);
    // "ReportStages" is absent: its words are 0.
    MouseSystemSettings expected;
    expected.mouseSpeed = 6;
    EXPECT_EQ(mouse.ReadMouseSettings(), expected);

    // Without "SystemStages" all fifteen words are 0 even when "ReportStages" is there.
    Store(mouse, R"({"Device": [{"ReportStages": {"StageActive": 2, "Ripple": 1}}]})");
    EXPECT_EQ(mouse.ReadMouseSettings(), MouseSystemSettings{});
    // Without the lighting sections the records are zeros.
    EXPECT_EQ(mouse.ReadLightInfo(), LightInfo{});
    EXPECT_EQ(mouse.ReadAudioLight(), AudioLightInfo{});
    EXPECT_TRUE(mouse.ReadLightList().empty());

    CKeyboardProfiledata keyboard;
    Store(keyboard, R"({"Device": [{"SystemStages": {"PollingRate": -1}}]})");
    EXPECT_EQ(keyboard.ReadKeyboardSettings(), (KeyboardSystemSettings{0, 0, 0, 65535, 0, 0}));
    EXPECT_EQ(keyboard.ReadCustomGroupIndex(), 0);
    CHs6533Profiledata headset;
    Store(headset, R"({"Device": [{"SystemSetStages": {"EqType": 4294967301}}]})");
    HeadsetSystemSettings hs;
    hs.eqType = 5;
    EXPECT_EQ(headset.ReadHeadsetSettings(), hs);
}

TEST_F(SectionTest, FlagsAreWrittenAsZeroOrOne) {
    CKeyboardProfiledata data;
    Store(data, R"({"Device": [{}]})");
    LightInfo li;
    li.multiColor = 7;
    data.WriteLightInfo(li);
    AudioLightInfo audio;
    audio.sevenColor = 2;
    data.WriteAudioLight(audio);
    EXPECT_EQ(data.Document()["LightInfo"]["MultiColor"], Json::Value(1));
    EXPECT_EQ(data.Document()["AudioLightInfo"]["7ColorFlags"], Json::Value(1));
    EXPECT_EQ(data.Document()["AudioLightInfo"]["ColorTypeFlags"], Json::Value(0));
}

TEST_F(SectionTest, DpiStagesMergeByPositionAndNeverShrink) {
    CMouseProfiledata data;
    auto stagesDoc = [](int n, int base) {
        Json::Value root;
        for (int i = 0; i < n; ++i) {
            Json::Value& s = root["Device"][0]["DPIStages"]["StageDPIs"][i];
            s["StageActive"] = 1;
            s["StageDPIX"] = base + i;
            s["StageDPIY"] = base + i;
        }
        root["Device"][0]["DPIStages"]["StageActive"] = n - 1;
        return platform::FormatStyledJson(root);
    };
    Store(data, stagesDoc(7, 100).c_str());
    ASSERT_EQ(data.ReadDpiStages().size(), 7u);
    Store(data, stagesDoc(3, 200).c_str());
    std::vector<DpiStage> stages = data.ReadDpiStages();
    ASSERT_EQ(stages.size(), 7u);
    EXPECT_EQ(stages[2].dpiX, 202);
    EXPECT_EQ(stages[3].dpiX, 103);  // kept from the earlier profile
    EXPECT_EQ(stages[6].dpiX, 106);
    EXPECT_EQ(data.GetActiveStage(), 2);

    // A document without "DPIStages" leaves both the stages and the active stage as they were.
    Store(data, R"({"Device": [{}]})");
    EXPECT_EQ(data.ReadDpiStages().size(), 7u);
    EXPECT_EQ(data.GetActiveStage(), 2);

    // Writing fewer stages than stored leaves the stored extra elements alone.
    Store(data, stagesDoc(7, 100).c_str());
    data.WriteDpiStages({DpiStage{1, 0, 5, 5, 1, 2, 3}});
    const Json::Value& list = data.Document()["DPIStages"]["StageDPIs"];
    ASSERT_EQ(list.size(), 7u);
    EXPECT_EQ(list[0]["StageDPIX"].asInt(), 5);
    EXPECT_EQ(list[0]["StageColorB"].asInt(), 3);
    EXPECT_EQ(list[1]["StageDPIX"].asInt(), 101);
}

TEST_F(SectionTest, KeyListIsWrittenByPositionAndOnlyAssignment) {
    CMouseProfiledata data;
    Json::Value root;
    for (int i = 0; i < 11; ++i) {
        root["Device"][0]["KeyList"][i]["Assignment"] = 0x100100;
        root["Device"][0]["KeyList"][i]["DefaultAssignment"] = 0x100100 + i;
    }
    Store(data, platform::FormatStyledJson(root).c_str());
    std::vector<KeyRecord> keys = data.ReadKeyList();
    keys.resize(8);
    for (KeyRecord& k : keys)
        k.current.SetFunction({0x20, 0x01, 0x04});
    keys[0].factory.SetFunction({0x99, 0x99, 0x99});  // never written
    data.WriteKeyList(keys);
    const Json::Value& list = data.Document()["KeyList"];
    ASSERT_EQ(list.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(list[i]["Assignment"].asInt(), i < 8 ? 0x200104 : 0x100100) << i;
        EXPECT_EQ(list[i]["DefaultAssignment"].asInt(), 0x100100 + i) << i;
    }
    EXPECT_EQ(data.Keys().size(), 8u);
}

TEST_F(SectionTest, WritingIntoSectionsOfTheWrongTypeReplacesThem) {
    CMouseProfiledata data;
    Store(data, R"({"Device": [{"KeyList": "junk", "DPIStages": 4, "SystemStages": [1],
                                "LightInfo": "red", "Kept": [1]}]})");
    EXPECT_TRUE(data.ReadKeyList().empty());
    EXPECT_EQ(data.ReadLightInfo(), LightInfo{});
    KeyRecord key;
    key.current.SetFunction({0x10, 0x01, 0});
    data.WriteKeyList({key});
    data.WriteDpiStages({DpiStage{1, 0, 9, 9, 0, 0, 0}});
    data.WriteMouseSettings(MouseSystemSettings{});
    data.WriteLightInfo(LightInfo{});
    ASSERT_TRUE(data.Save());
    CMouseProfiledata again;
    again.LoadProfile(profile_);
    EXPECT_EQ(again.ReadKeyList()[0].current.Function(), (KeyFunction{0x10, 0x01, 0}));
    EXPECT_EQ(again.ReadDpiStages()[0].dpiX, 9);
    EXPECT_EQ(again.Document()["Kept"], Parse("[1]"));
}

TEST_F(SectionTest, CustomColourGroupsAreCreatedAsZerosWhenMissing) {
    CKeyboardProfiledata data;
    Store(data, R"({"Device": [{}]})");
    EXPECT_EQ(data.ReadCustomColors(2, 5), std::vector<CustomColor>(5));
    const Json::Value zero = Parse(R"({"Red": 0, "Green": 0, "Blue": 0, "Alpha": 0})");
    Json::Value expected(Json::arrayValue);
    expected.append(Json::Value());
    expected.append(Json::Value());
    for (int j = 0; j < 5; ++j)
        expected[2].append(zero);
    EXPECT_EQ(data.Document()["CustomLightMode"]["LightColorInfo"], expected);
    EXPECT_FALSE(data.Document()["CustomLightMode"].isMember("CustomLightModeGroupIndex"));

    // A shorter group grows by zero entries; what it held is read.
    Store(data, R"({"Device": [{"CustomLightMode": {"LightColorInfo": [[{"Red": 5}, null]]}}]})");
    EXPECT_EQ(data.ReadCustomColors(0, 3), (std::vector<CustomColor>{{5, 0, 0, 0}, {}, {}}));
    EXPECT_EQ(data.Document()["CustomLightMode"]["LightColorInfo"][0].size(), 3u);
    EXPECT_EQ(data.Document()["CustomLightMode"]["LightColorInfo"][0][1], zero);
    ASSERT_TRUE(data.Save());
    EXPECT_EQ(
        platform::ReadJsonFile(profile_)["Device"][0]["CustomLightMode"]["LightColorInfo"][0][2],
        zero);

    // Requests beyond any keyboard do not grow the document.
    const Json::Value before = data.Document();
    EXPECT_TRUE(data.ReadCustomColors(100000, 5).empty());
    EXPECT_TRUE(data.ReadCustomColors(0, -1).empty());
    data.WriteCustomColors({CustomColor{}}, -3);
    EXPECT_EQ(data.Document(), before);
}

TEST_F(SectionTest, EqualiserCurvesFollowTheTypeRule) {
    CHs6533Profiledata data;
    Store(data, kHeadsetDocument);
    const std::vector<int> preset1 = {7, 11, 2, -3, -1, 4, 9, 12, 9, 5};
    for (int type : {0, 1, 14, 20, -5, INT32_MIN})
        EXPECT_EQ(data.ReadEqCurve(type), preset1) << type;

    const Json::Value before = data.Document();
    EXPECT_TRUE(data.ReadEqCurve(13).empty());
    data.WriteEqCurve(13, preset1);
    EXPECT_EQ(data.Document(), before);

    // A missing preset is created as ten zero bands.
    EXPECT_EQ(data.ReadEqCurve(4), std::vector<int>(10, 0));
    const Json::Value& table = data.Document()["EQHzValueInfo"];
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[4].size(), 10u);
    EXPECT_EQ(table[4][9]["value"].asInt(), 0);
    EXPECT_TRUE(table[2].isNull());

    data.WriteEqCurve(4, {1, 2, 3});  // fewer values: only those bands change
    EXPECT_EQ(data.ReadEqCurve(4), (std::vector<int>{1, 2, 3, 0, 0, 0, 0, 0, 0, 0}));

    // Custom curves: missing slots are created, slots beyond reach are refused.
    EXPECT_EQ(data.ReadCustomEqCurve(3), std::vector<int>(10, 0));
    EXPECT_EQ(data.Document()["CustomEQHzValueInfo"].size(), 4u);
    const Json::Value grown = data.Document();
    EXPECT_EQ(data.ReadCustomEqCurve(1 << 30), std::vector<int>(10, 0));
    EXPECT_EQ(data.ReadCustomEqCurve(-1), std::vector<int>(10, 0));
    data.WriteCustomEqCurve(1 << 30, preset1);
    EXPECT_EQ(data.Document(), grown);

    data.WriteCustomEqNames({"Only"});
    EXPECT_EQ(data.Document()["CustomEQNameInfo"], Parse(R"([{"Name": "Only"}])"));
}

TEST_F(SectionTest, EffectFramesComeFromTheLightFileBesideTheLibrary) {
    CBasicProfiledata data;
    Store(data, R"({"Device": [{"LightInfo": {"SelectItem": 1}}]})");
    const auto library = dir_ / "kelvo_light.config";
    Spit(library,
         R"({"LightInfo": [[{"Guid": "first"}, {"Guid": "second"}, {"Guid": "../escape"}]]})");
    Spit(dir_ / "second.light", R"({"LEDEffectList": [
        {"LEDREGMode": 2, "LEDDirection": 1, "LEDBrightness": 3, "LEDSpeed": 4, "LEDMultiColor": 0,
         "red": 10, "green": 20, "blue": 300, "Time": 4294967297, "Cyle": 5},
        null]})");
    data.ReadLightInfo();
    data.SetLightLibraryPath(library);
    data.LoadLightLibrary(library);
    std::vector<LightEffectFrame> frames = data.ReadEffectFrames();
    ASSERT_EQ(frames.size(), 2u);
    LightEffectFrame first;
    first.mode = 2;
    first.direction = 1;
    first.brightness = 3;
    first.speed = 4;
    first.red = 10;
    first.green = 20;
    first.blue = 44;
    first.time = 1;
    first.cyle = 5;
    EXPECT_EQ(frames[0], first);
    EXPECT_EQ(frames[1], LightEffectFrame{});

    const struct {
        const char* name;
        std::string library;
        int selectItem;
    } none[] = {
        {"no library", "", 1},
        {"broken library", "{", 1},
        {"selection beyond the library", R"({"LightInfo": [[{"Guid": "second"}]]})", 1},
        {"Guid that is a path", R"({"LightInfo": [[{"Guid": "../escape"}]]})", 0},
        {"Guid of the wrong type", R"({"LightInfo": [[{"Guid": 12}]]})", 0},
        {"missing light file", R"({"LightInfo": [[{"Guid": "first"}]]})", 0},
    };
    for (const auto& c : none) {
        Spit(library, c.library);
        LightInfo li;
        li.selectItem = static_cast<uint8_t>(c.selectItem);
        data.WriteLightInfo(li);
        data.LoadLightLibrary(library);
        EXPECT_TRUE(data.ReadEffectFrames().empty()) << c.name;
    }
}
