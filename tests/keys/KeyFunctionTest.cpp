#include <gtest/gtest.h>

#include <map>

#include "keys/KeyFunction.h"
#include "keys/KeyNaming.h"
#include "keys/KeyTables.h"

using namespace dravik;

namespace {

// Shows which language key was looked up.
class BracketLookup : public ITextLookup {
  public:
    std::string LookupText(const std::string& key) const override { return "[" + key + "]"; }
};

KeyFunction F(uint32_t value) {
    return KeyFunctionFromProfileValue(value);
}

}  // namespace

TEST(KeyFunction, ProfileValueCarriesTheThreeBytes) {
    const struct {
        int64_t stored;
        KeyFunction expected;
    } cases[] = {
        {0x200104, {0x20, 0x01, 0x04}},   {0x147802, {0x14, 0x78, 0x02}},
        {0x7F200104, {0x20, 0x01, 0x04}},  // bits above 23 are not part of the function
        {-1, {0xFF, 0xFF, 0xFF}},         {0, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyFunctionFromProfileValue(c.stored), c.expected) << c.stored;
        EXPECT_EQ(ToProfileValue(c.expected), static_cast<uint32_t>(c.stored & 0xFFFFFF));
    }
}

TEST(KeyFunction, RestoringTheDefaultCopiesTheWholeFactoryHalf) {
    KeyRecord r;
    r.current = {3, 0x70, 0x05, 0x01, 0};
    r.factory = {3, 0x10, 0x10, 0x00, 0};
    r.RestoreDefault();
    EXPECT_EQ(r.current, r.factory);
    EXPECT_EQ(r.current.Function(), (KeyFunction{0x10, 0x10, 0x00}));
}

TEST(KeyFunction, WheelAndTiltCarryDirectionInBitSeven) {
    EXPECT_EQ(MakeWheelFunction(true, 0, 0, 3).param2, 0xFD);
    EXPECT_EQ(MakeWheelFunction(false, 0, 0, 3).param2, 0x03);
    EXPECT_EQ(MakeWheelFunction(true, 0, 0, 0).param2, 0x80);  // still "down"
    EXPECT_EQ(MakeTiltFunction(true, 0, 0, 3).param2, 0x83);
    EXPECT_EQ(MakeWheelFunction(false, 2, 9, 1).param1, 0x29);
    EXPECT_EQ(MakeWheelFunction(true, 0x1F, 0x1F, 200).param1, 0xFF);  // nibbles are cut
    for (unsigned count : {0u, 1u, 3u, 64u, 127u}) {
        EXPECT_EQ(WheelOrTiltCount(MakeWheelFunction(true, 0, 0, count)), count);
        EXPECT_EQ(WheelOrTiltCount(MakeWheelFunction(false, 0, 0, count)), count);
        EXPECT_EQ(WheelOrTiltCount(MakeTiltFunction(true, 0, 0, count)), count);
    }
}

TEST(KeyTables, SizesAndSpotChecksAgainstTheTables) {
    EXPECT_EQ(MouseButtonTable().size(), 5u);
    EXPECT_EQ(DpiFunctionTable().size(), 3u);
    EXPECT_EQ(SystemKeyTable().size(), 3u);
    EXPECT_EQ(MediaKeyTable().size(), 18u);
    EXPECT_EQ(ShortcutComboTable().size(), 11u);
    EXPECT_EQ(ShortcutFunctionTable().size(), 9u);
    EXPECT_EQ(MouseFunctionTable().size(), 15u);
    EXPECT_EQ(KeyboardKeyTable().size(), 142u);
    EXPECT_EQ(KeyboardKeyTable().names.size(), 143u);
    EXPECT_EQ(KeyboardKeyTable().NameAt(142), "keyboard_key_COLOR");
    EXPECT_EQ(ScanCodeTable().size(), 113u);
    EXPECT_EQ(MouseKeyNames().size(), 11u);
    EXPECT_EQ(MouseKeyNames()[9], "mouse_key_M8_key");

    const struct {
        const KeyCodeTable& table;
        size_t row;
        const char* name;
        uint16_t host;
        uint8_t type, p1, p2;
    } rows[] = {
        {MouseButtonTable(), 1, "mouse_key_middle", 1, 0x10, 0x04, 0x00},
        {MouseButtonTable(), 4, "mouse_key_back", 4, 0x10, 0x08, 0x00},
        {DpiFunctionTable(), 2, "mouse_key_DPI_loop", 2, 0x13, 0x03, 0x00},
        {SystemKeyTable(), 2, "system_power", 2, 0x40, 0x04, 0x00},
        {MediaKeyTable(), 0, "media_text", 0, 0x30, 0x83, 0x01},
        {MediaKeyTable(), 13, "wed_favorite", 13, 0x30, 0x2A, 0x02},
        {MediaKeyTable(), 17, "media_mail", 17, 0x30, 0x8A, 0x01},
        {ShortcutComboTable(), 9, "custem_narrow", 9, 0x20, 0x10, 0x2D},
        {ShortcutFunctionTable(), 0, "custem_cut", 0x21, 0x22, 0x00, 0x00},
        {ShortcutFunctionTable(), 8, "custem_open", 0x29, 0x22, 0x00, 0x08},
        {MouseFunctionTable(), 1, "mouse_key_middle", 1, 0x10, 0x02, 0x00},
        {MouseFunctionTable(), 5, "mouse_key_fire_key", 5, 0x14, 0x50, 0x02},
        {MouseFunctionTable(), 13, "mouse_key_DPI_shift", 13, 0x16, 0x00, 0x00},
        {KeyboardKeyTable(), 0, "keyboard_key_LCtrl", 0xA2, 0x20, 0x01, 0x00},
        {KeyboardKeyTable(), 7, "keyboard_key_RWin", 0x5C, 0x20, 0x80, 0x00},
        {KeyboardKeyTable(), 33, "keyboard_key_Z", 0x5A, 0x20, 0x00, 0x1D},
        {KeyboardKeyTable(), 43, "keyboard_key_0", 0x30, 0x20, 0x00, 0x27},
        {KeyboardKeyTable(), 53, "keyboard_key_xiegang", 0xDC, 0x20, 0x00, 0x31},
        {KeyboardKeyTable(), 71, "keyboard_key_F11", 0x7A, 0x20, 0x00, 0x44},
        {KeyboardKeyTable(), 91, "keyboard_key_Num Enter", 0x101, 0x20, 0x00, 0x58},
        {KeyboardKeyTable(), 100, "keyboard_key_Num 9", 0x69, 0x20, 0x00, 0x61},
        {KeyboardKeyTable(), 103, "keyboard_key_App", 0x5D, 0x20, 0x00, 0x65},
        {KeyboardKeyTable(), 112, "keyboard_key_K151", 0xFF, 0x20, 0x00, 0x90},
        {KeyboardKeyTable(), 113, "keyboard_key_K42", 0xBF, 0x20, 0x00, 0x32},
        {KeyboardKeyTable(), 115, "keyboard_key_Browaer Home", 0xAC, 0x30, 0x23, 0x02},
        {KeyboardKeyTable(), 130, "wed_stop", 0xA9, 0x30, 0x26, 0x02},
        {KeyboardKeyTable(), 133, "keyboard_key_Sleep", 0x104, 0x40, 0x02, 0x00},
        {KeyboardKeyTable(), 139, "keyboard_key_M5", 0x00, 0xD0, 0xA2, 0x05},
        {KeyboardKeyTable(), 141, "keyboard_key_GM", 0x00, 0xA0, 0x1B, 0x00},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.table.NameAt(r.row), r.name);
        EXPECT_EQ(r.table[r.row].hostCode, r.host);
        EXPECT_EQ(r.table[r.row].Function(), (KeyFunction{r.type, r.p1, r.p2}));
        EXPECT_EQ(r.table[r.row].reserved, 0);
    }

    const std::map<size_t, uint16_t> scans = {{3, 0x15B},  {8, 0x1E},   {33, 0x2C}, {34, 0x02},
                                              {72, 0x58},  {73, 0x137}, {88, 0x37}, {92, 0x4F},
                                              {100, 0x49}, {106, 0x7D}, {112, 0x72}};
    for (auto [row, scan] : scans) {
        EXPECT_EQ(ScanCodeTable()[row].scan, scan) << row;
        EXPECT_EQ(ScanCodeTable()[row].vk, KeyboardKeyTable()[row].hostCode) << row;
    }
}

TEST(KeyTables, CaptureFindsTheRowByScanCodeAndExtendedFlag) {
    const struct {
        uint32_t scan, flags;
        std::optional<size_t> row;
    } cases[] = {
        {0x36, 1, 5},             // RShift
        {0x35, 0, 59},            // "/"
        {0x35, 1, 87},            // keypad "/"
        {0x1C, 0, 44},            // Enter
        {0x1C, 1, 91},            // keypad Enter
        {0x1D, 0x81, 4},          // RCtrl: only bit 0 of the flags counts
        {0x5B, 0, std::nullopt},  // LWin's code without the extended flag
        {0x00, 0, std::nullopt},
        {0x11E, 0, std::nullopt},  // not a byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(CaptureKeyboardRow(c.scan, c.flags), c.row) << c.scan;
}

TEST(KeyNaming, NamesThroughTheTablesAndTheLanguageLookup) {
    BracketLookup text;
    const std::vector<std::string> macros = {"Burst", "Combo"};
    const struct {
        uint32_t value;
        KeyPage page;
        std::optional<std::string> name;
    } cases[] = {
        {0x200104, KeyPage::Mouse, "[keyboard_key_LCtrl]+[keyboard_key_A]"},
        {0x200000, KeyPage::Mouse, "[close_text]"},
        {0x000000, KeyPage::Keyboard, "[close_text]"},
        {0x200304, KeyPage::Mouse, "[keyboard_key_A]"},  // two modifiers: only the key
        {0x201004, KeyPage::Keyboard, "[custem_select_all]"},
        {0x201004, KeyPage::Mouse, "[keyboard_key_RCtrl]+[keyboard_key_A]"},
        {0x200004, KeyPage::Mouse, "[keyboard_key_A]"},
        {0x000004, KeyPage::Mouse, "[keyboard_key_A]"},  // type 0 names like a key
        {0x200100, KeyPage::Mouse, "[keyboard_key_LCtrl]"},
        {0x100200, KeyPage::Mouse, "[mouse_key_right]"},
        {0x100400, KeyPage::Mouse, "[mouse_key_middle]"},
        {0x100300, KeyPage::Mouse, std::nullopt},
        {0x1200FD, KeyPage::Mouse, "[mouse_key_down_Swing]"},
        {0x120003, KeyPage::Mouse, "[mouse_key_up_Swing]"},
        {0x110083, KeyPage::Mouse, "[mouse_key_right_Swing]"},
        {0x110003, KeyPage::Mouse, "[mouse_key_left_Swing]"},
        {0x130300, KeyPage::Mouse, "[mouse_key_DPI_loop]"},
        {0x147802, KeyPage::Mouse, "[mouse_key_fire_key]"},
        {0x169001, KeyPage::Mouse, "[mouse_key_DPI_shift]"},
        {0x220004, KeyPage::Keyboard, "[custem_select_all]"},
        {0x220009, KeyPage::Keyboard, std::nullopt},
        {0x230000, KeyPage::Mouse, "[show_window]"},
        {0x230100, KeyPage::Mouse, std::nullopt},
        {0x30CD00, KeyPage::Mouse, "[media_play]"},
        {0x308301, KeyPage::Mouse, "[media_text]"},
        {0x400400, KeyPage::Mouse, "[system_power]"},
        {0x400100, KeyPage::Keyboard, "[system_sleep]"},
        {0x700102, KeyPage::Mouse, "Combo"},
        {0x710000, KeyPage::Keyboard, "Burst"},
        {0x710200, KeyPage::Keyboard, std::nullopt},  // no third macro: the label stays
        {0x720300, KeyPage::Mouse, "[gun_4_txt]"},
        {0x720400, KeyPage::Mouse, std::nullopt},
        {0xA00200, KeyPage::Mouse, "[mouse_key_smart_key]"},
        {0xA00000, KeyPage::Mouse, "[close_text]"},
        {0xA00100, KeyPage::Keyboard, "[keyboard_key_FN]"},
        {0xA01B00, KeyPage::Mouse, "[keyboard_key_GM]"},
        {0xD0A201, KeyPage::Keyboard, "[keyboard_key_M1]"},
        {0xD0A201, KeyPage::Mouse, "关闭"},
        {0x150000, KeyPage::Mouse, std::nullopt},
        {0xB00000, KeyPage::Keyboard, std::nullopt},
        {0x990000, KeyPage::Mouse, "关闭"},  // shown as is, not looked up
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyFunctionName(F(c.value), c.page, macros, text), c.name)
            << std::hex << c.value << (c.page == KeyPage::Mouse ? " mouse" : " keyboard");
    }
}

// A first or second parameter of 0 means "no modifier" or "no key": it must not pull every key
// or every modifier into a composed name.
TEST(KeyNaming, ComposedNamesIgnoreEmptyParameters) {
    BracketLookup text;
    EXPECT_EQ(KeyFunctionName(F(0x2000FF), KeyPage::Mouse, {}, text), std::nullopt);
    EXPECT_EQ(KeyFunctionName(F(0x200500), KeyPage::Keyboard, {}, text), std::nullopt);
    EXPECT_EQ(KeyFunctionName(F(0x2080FF), KeyPage::Mouse, {}, text), "[keyboard_key_RWin]");
}
