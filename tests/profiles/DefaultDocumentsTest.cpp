// The shipped default documents: each holds the sections its kind reads, with factory values that
// agree with the devices' factory key functions and the equaliser presets.
#include <gtest/gtest.h>

#include <set>

#include "ProfileTestSupport.h"
#include "keys/KeyNaming.h"
#include "keys/KeyTables.h"
#include "platform/Folders.h"
#include "profiles/Hs6533Profiledata.h"
#include "profiles/KeyboardProfiledata.h"
#include "profiles/MouseProfiledata.h"
#include "profiles/ProfileFiles.h"

using namespace dravik;
using namespace dravik::test;

namespace {

const std::filesystem::path kDefaults = DRAVIK_DEFAULT_DATA_DIR;

class EchoLookup : public ITextLookup {
  public:
    std::string LookupText(const std::string& key) const override { return key; }
};

template <typename Data>
void LoadDefault(Data& data, const char* kind, const TempDir& dir) {
    data.SetDefaultPath(kDefaults / (std::string(kind) + ".Json"));
    // A fresh profile is created from the default, as on first start.
    Json::Value entry = data.LoadProfile(dir / "new.Json");
    ASSERT_TRUE(entry.isObject()) << kind;
    EXPECT_EQ(platform::ReadJsonFile(dir / "new.Json")["Device"][0], entry);
}

}  // namespace

TEST(DefaultDocuments, AreFoundBesideTheProgram) {
    platform::SetProgramFolder("/opt/dravik");
    EXPECT_EQ(DefaultProfilePath("MousePad"),
              std::filesystem::path("/opt/dravik/DefaultData/MousePad.Json"));
    for (const char* kind :
         {kMouseKindFolder, kKeyboardKindFolder, kMousePadKindFolder, kHeadsetKindFolder}) {
        Json::Value root = ReadProfileDocument(kDefaults / (std::string(kind) + ".Json"));
        ASSERT_TRUE(root.isObject()) << kind;
        EXPECT_TRUE(root["Device"][0]["LightInfo"].isObject()) << kind;
        EXPECT_TRUE(root["Device"][0]["LightList"].isArray()) << kind;
        // Stored in the program's own layout.
        EXPECT_EQ(Slurp(kDefaults / (std::string(kind) + ".Json")),
                  platform::FormatStyledJson(root))
            << kind;
    }
}

TEST(DefaultDocuments, MouseHoldsTheFactoryKeysStagesAndSettings) {
    TempDir dir;
    CMouseProfiledata data;
    LoadDefault(data, "mouse", dir);
    // The mouse's factory functions, by key index.
    const std::vector<KeyFunction> factory = {
        {0x10, 0x01, 0x00}, {0x10, 0x02, 0x00}, {0x10, 0x04, 0x00}, {0x10, 0x10, 0x00},
        {0x10, 0x08, 0x00}, {0x13, 0x01, 0x00}, {0x13, 0x02, 0x00}, {0x13, 0x03, 0x00},
        {0xA0, 0x1B, 0x00}, {0x16, 0x90, 0x01}, {0x14, 0x78, 0x02}};
    std::vector<KeyRecord> keys = data.ReadKeyList();
    ASSERT_EQ(keys.size(), factory.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].factory.Function(), factory[i]) << i;
        EXPECT_EQ(keys[i].current.Function(), factory[i]) << i;
    }
    std::vector<DpiStage> stages = data.ReadDpiStages();
    ASSERT_EQ(stages.size(), 7u);
    EXPECT_GE(data.GetActiveStage(), 0);
    EXPECT_LT(data.GetActiveStage(), 7);
    EXPECT_EQ(stages[static_cast<size_t>(data.GetActiveStage())].enabled, 1);
    for (size_t i = 1; i < stages.size(); ++i)
        EXPECT_GT(stages[i].dpiX, stages[i - 1].dpiX);
    MouseSystemSettings s = data.ReadMouseSettings();
    EXPECT_LE(s.pollingRate, 3);
    EXPECT_LE(s.silentAltitude, 1);
    LightInfo li = data.ReadLightInfo();
    EXPECT_LT(li.selectItem, 12);
    EXPECT_LE(li.light, 4);
    EXPECT_LE(li.speed, 4);
    EXPECT_EQ(data.ReadLightList().size(), 15u);
}

TEST(DefaultDocuments, KeyboardKeysAreEachTheirOwnNamedFactoryFunction) {
    TempDir dir;
    CKeyboardProfiledata data;
    LoadDefault(data, "keyboard", dir);
    std::vector<KeyRecord> keys = data.ReadKeyList();
    ASSERT_EQ(keys.size(), 170u);
    EchoLookup text;
    std::set<uint32_t> seen;
    for (const KeyRecord& k : keys) {
        EXPECT_EQ(k.current, k.factory);
        if (k.factory.Function() == KeyFunction{})
            continue;
        EXPECT_TRUE(seen.insert(ToProfileValue(k.factory.Function())).second) << k.factory.keyIndex;
        // The function is a key of the keyboard table and is named as that key.
        const KeyCodeTable& table = KeyboardKeyTable();
        size_t row = 0;
        while (row < table.size() && table[row].Function() != k.factory.Function())
            ++row;
        ASSERT_LT(row, table.size()) << k.factory.keyIndex;
        EXPECT_EQ(KeyFunctionName(k.factory.Function(), KeyPage::Keyboard, {}, text),
                  std::string(table.NameAt(row)));
    }
    EXPECT_GE(seen.size(), 104u);
    EXPECT_EQ(*KeyFunctionName(keys[0].factory.Function(), KeyPage::Keyboard, {}, text),
              "keyboard_key_Esc");
    EXPECT_EQ(*KeyFunctionName(keys[120].factory.Function(), KeyPage::Keyboard, {}, text),
              "keyboard_key_M1");
    EXPECT_EQ(data.ReadLightList().size(), 170u);
    EXPECT_EQ(data.ReadAudioLight().colorType, 1);
    EXPECT_LE(data.ReadKeyboardSettings().pollingRate, 3);
    EXPECT_LE(data.ReadKeyboardSettings().repeatDelay, 3);
}

TEST(DefaultDocuments, HeadsetCarriesTheTwelvePresets) {
    TempDir dir;
    CHs6533Profiledata data;
    LoadDefault(data, "HD", dir);
    EXPECT_EQ(data.ReadEqCurve(2), (std::vector<int>{7, 11, 6, -3, -11, -1, 6, 13, 6, 13}));
    EXPECT_EQ(data.ReadEqCurve(5), std::vector<int>(10, 0));
    EXPECT_EQ(data.ReadEqCurve(12), (std::vector<int>{2, 1, -2, -4, -8, 4, 12, 16, 18, 15}));
    HeadsetSystemSettings s = data.ReadHeadsetSettings();
    EXPECT_GE(s.eqType, 1);
    EXPECT_LE(s.eqType, 12);
    EXPECT_TRUE(data.ReadCustomEqNames().empty());
    EXPECT_EQ(data.ReadLightList().size(), 13u);
}

TEST(DefaultDocuments, MousePadHoldsLightingOnly) {
    TempDir dir;
    CBasicProfiledata data;
    LoadDefault(data, "MousePad", dir);
    EXPECT_EQ(data.ReadLightList().size(), 15u);
    EXPECT_TRUE(data.ReadKeyList().empty());
}
