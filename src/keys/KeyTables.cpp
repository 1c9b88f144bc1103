#include "keys/KeyTables.h"

namespace dravik {

namespace {

using namespace std::string_view_literals;

// Mouse buttons; param1 is the button bit.
constexpr std::array<KeyCodeRow, 5> kMouseButtonRows = {{
    {0, 0x10, 0x01, 0x00, 0},
    {1, 0x10, 0x04, 0x00, 0},
    {2, 0x10, 0x02, 0x00, 0},
    {3, 0x10, 0x10, 0x00, 0},
    {4, 0x10, 0x08, 0x00, 0},
}};
constexpr std::array<std::string_view, 5> kMouseButtonNames = {
    "mouse_key_left", "mouse_key_middle", "mouse_key_right", "mouse_key_forward", "mouse_key_back"};

constexpr std::array<KeyCodeRow, 3> kDpiRows = {{
    {0, 0x13, 0x01, 0x00, 0},
    {1, 0x13, 0x02, 0x00, 0},
    {2, 0x13, 0x03, 0x00, 0},
}};
constexpr std::array<std::string_view, 3> kDpiNames = {"mouse_key_DPI_add", "mouse_key_DPI_sub",
                                                       "mouse_key_DPI_loop"};

// The mouse page's system keys; the keyboard table assigns these bits differently.
constexpr std::array<KeyCodeRow, 3> kSystemRows = {{
    {0, 0x40, 0x01, 0x00, 0},
    {1, 0x40, 0x02, 0x00, 0},
    {2, 0x40, 0x04, 0x00, 0},
}};
constexpr std::array<std::string_view, 3> kSystemNames = {"system_sleep", "system_wake_up",
                                                          "system_power"};

// Consumer usages: param1 is the low byte, param2 the high byte.
constexpr std::array<KeyCodeRow, 18> kMediaRows = {{
    {0, 0x30, 0x83, 0x01, 0},
    {1, 0x30, 0xCD, 0x00, 0},
    {2, 0x30, 0xB7, 0x00, 0},
    {3, 0x30, 0xB6, 0x00, 0},
    {4, 0x30, 0xB5, 0x00, 0},
    {5, 0x30, 0xEA, 0x00, 0},
    {6, 0x30, 0xE9, 0x00, 0},
    {7, 0x30, 0xE2, 0x00, 0},
    {8, 0x30, 0x23, 0x02, 0},
    {9, 0x30, 0x27, 0x02, 0},
    {10, 0x30, 0x26, 0x02, 0},
    {11, 0x30, 0x24, 0x02, 0},
    {12, 0x30, 0x25, 0x02, 0},
    {13, 0x30, 0x2A, 0x02, 0},
    {14, 0x30, 0x21, 0x02, 0},
    {15, 0x30, 0x94, 0x01, 0},
    {16, 0x30, 0x92, 0x01, 0},
    {17, 0x30, 0x8A, 0x01, 0},
}};
constexpr std::array<std::string_view, 18> kMediaNames = {
    "media_text",    "media_play",   "media_stop", "media_prev",  "media_next", "media_vol_sub",
    "media_vol_add", "media_mute",   "web_text",   "web_refresh", "wed_stop",   "wed_back",
    "wed_forward",   "wed_favorite", "web_search", "media_mypc",  "media_calc", "media_mail"};

// RCtrl + a letter or sign.
constexpr std::array<KeyCodeRow, 11> kShortcutComboRows = {{
    {0, 0x20, 0x10, 0x12, 0},
    {1, 0x20, 0x10, 0x11, 0},
    {2, 0x20, 0x10, 0x1D, 0},
    {3, 0x20, 0x10, 0x16, 0},
    {4, 0x20, 0x10, 0x06, 0},
    {5, 0x20, 0x10, 0x1B, 0},
    {6, 0x20, 0x10, 0x19, 0},
    {7, 0x20, 0x10, 0x09, 0},
    {8, 0x20, 0x10, 0x04, 0},
    {9, 0x20, 0x10, 0x2D, 0},
    {10, 0x20, 0x10, 0x2E, 0},
}};
constexpr std::array<std::string_view, 11> kShortcutComboNames = {
    "custem_open",       "custem_new",    "custem_undo",   "custem_save",
    "custem_copy",       "custem_cut",    "custem_paste",  "custem_find",
    "custem_select_all", "custem_narrow", "custem_magnify"};

constexpr std::array<KeyCodeRow, 9> kShortcutFunctionRows = {{
    {0x21, 0x22, 0x00, 0x00, 0},
    {0x22, 0x22, 0x00, 0x01, 0},
    {0x23, 0x22, 0x00, 0x02, 0},
    {0x24, 0x22, 0x00, 0x03, 0},
    {0x25, 0x22, 0x00, 0x04, 0},
    {0x26, 0x22, 0x00, 0x05, 0},
    {0x27, 0x22, 0x00, 0x06, 0},
    {0x28, 0x22, 0x00, 0x07, 0},
    {0x29, 0x22, 0x00, 0x08, 0},
}};
constexpr std::array<std::string_view, 9> kShortcutFunctionNames = {
    "custem_cut",  "custem_copy", "custem_paste", "custem_undo", "custem_select_all",
    "custem_find", "custem_new",  "custem_save",  "custem_open"};

// Rows 1 and 2 carry the button bits the other way round from the mouse-button table; buttons are
// always named through that table, so these rows never name one.
constexpr std::array<KeyCodeRow, 15> kMouseFunctionRows = {{
    {0, 0x10, 0x01, 0x00, 0},
    {1, 0x10, 0x02, 0x00, 0},
    {2, 0x10, 0x04, 0x00, 0},
    {3, 0x10, 0x10, 0x00, 0},
    {4, 0x10, 0x08, 0x00, 0},
    {5, 0x14, 0x50, 0x02, 0},
    {6, 0x20, 0x00, 0x00, 0},
    {7, 0x20, 0x80, 0x00, 0},
    {8, 0xA0, 0x02, 0x00, 0},
    {9, 0xA0, 0x00, 0x00, 0},
    {10, 0x13, 0x03, 0x00, 0},
    {11, 0x13, 0x01, 0x00, 0},
    {12, 0x13, 0x02, 0x00, 0},
    {13, 0x16, 0x00, 0x00, 0},
    {14, 0x23, 0x00, 0x00, 0},
}};
constexpr std::array<std::string_view, 15> kMouseFunctionNames = {"mouse_key_left",
                                                                  "mouse_key_middle",
                                                                  "mouse_key_right",
                                                                  "mouse_key_forward",
                                                                  "mouse_key_back",
                                                                  "mouse_key_fire_key",
                                                                  "mouse_key_shortcut_key",
                                                                  "win_key_text",
                                                                  "mouse_key_smart_key",
                                                                  "close_text",
                                                                  "mouse_key_DPI_loop",
                                                                  "mouse_key_DPI_add",
                                                                  "mouse_key_DPI_sub",
                                                                  "mouse_key_DPI_shift",
                                                                  "show_window"};

constexpr std::array<std::string_view, 11> kMouseKeyNames = {
    "mouse_key_left",  "mouse_key_right",   "mouse_key_middle",  "mouse_key_forward",
    "mouse_key_back",  "mouse_key_DPI_add", "mouse_key_DPI_sub", "mouse_key_DPI_loop",
    "keyboard_key_GM", "mouse_key_M8_key",  "mouse_key_fire_key"};

constexpr std::array<std::string_view, 4> kRecoilSlotNames = {"gun_1_txt", "gun_2_txt", "gun_3_txt",
                                                              "gun_4_txt"};

// The keyboard table: VK, function. Rows 0-112 are keyboard keys with a scan code (below),
// 113 is a second key with the VK of row 59, 114-131 consumer keys, 132-134 system keys, 135-139
// the macro keys M1-M5, 140 FN and 141 GM.
constexpr std::array<KeyCodeRow, kKeyboardKeyRows> kKeyboardRows = {{
    {0x0A2, 0x20, 0x01, 0x00, 0},  // 0 keyboard_key_LCtrl
    {0x0A0, 0x20, 0x02, 0x00, 0},  // 1 keyboard_key_LShift
    {0x0A4, 0x20, 0x04, 0x00, 0},  // 2 keyboard_key_LAlt
    {0x05B, 0x20, 0x08, 0x00, 0},  // 3 keyboard_key_LWin
    {0x0A3, 0x20, 0x10, 0x00, 0},  // 4 keyboard_key_RCtrl
    {0x0A1, 0x20, 0x20, 0x00, 0},  // 5 keyboard_key_RShift
    {0x0A5, 0x20, 0x40, 0x00, 0},  // 6 keyboard_key_RAlt
    {0x05C, 0x20, 0x80, 0x00, 0},  // 7 keyboard_key_RWin
    {0x041, 0x20, 0x00, 0x04, 0},  // 8 keyboard_key_A
    {0x042, 0x20, 0x00, 0x05, 0},  // 9 keyboard_key_B
    {0x043, 0x20, 0x00, 0x06, 0},  // 10 keyboard_key_C
    {0x044, 0x20, 0x00, 0x07, 0},  // 11 keyboard_key_D
    {0x045, 0x20, 0x00, 0x08, 0},  // 12 keyboard_key_E
    {0x046, 0x20, 0x00, 0x09, 0},  // 13 keyboard_key_F
    {0x047, 0x20, 0x00, 0x0A, 0},  // 14 keyboard_key_G
    {0x048, 0x20, 0x00, 0x0B, 0},  // 15 keyboard_key_H
    {0x049, 0x20, 0x00, 0x0C, 0},  // 16 keyboard_key_I
    {0x04A, 0x20, 0x00, 0x0D, 0},  // 17 keyboard_key_J
    {0x04B, 0x20, 0x00, 0x0E, 0},  // 18 keyboard_key_K
    {0x04C, 0x20, 0x00, 0x0F, 0},  // 19 keyboard_key_L
    {0x04D, 0x20, 0x00, 0x10, 0},  // 20 keyboard_key_M
    {0x04E, 0x20, 0x00, 0x11, 0},  // 21 keyboard_key_N
    {0x04F, 0x20, 0x00, 0x12, 0},  // 22 keyboard_key_O
    {0x050, 0x20, 0x00, 0x13, 0},  // 23 keyboard_key_P
    {0x051, 0x20, 0x00, 0x14, 0},  // 24 keyboard_key_Q
    {0x052, 0x20, 0x00, 0x15, 0},  // 25 keyboard_key_R
    {0x053, 0x20, 0x00, 0x16, 0},  // 26 keyboard_key_S
    {0x054, 0x20, 0x00, 0x17, 0},  // 27 keyboard_key_T
    {0x055, 0x20, 0x00, 0x18, 0},  // 28 keyboard_key_U
    {0x056, 0x20, 0x00, 0x19, 0},  // 29 keyboard_key_V
    {0x057, 0x20, 0x00, 0x1A, 0},  // 30 keyboard_key_W
    {0x058, 0x20, 0x00, 0x1B, 0},  // 31 keyboard_key_X
    {0x059, 0x20, 0x00, 0x1C, 0},  // 32 keyboard_key_Y
    {0x05A, 0x20, 0x00, 0x1D, 0},  // 33 keyboard_key_Z
    {0x031, 0x20, 0x00, 0x1E, 0},  // 34 keyboard_key_1
    {0x032, 0x20, 0x00, 0x1F, 0},  // 35 keyboard_key_2
    {0x033, 0x20, 0x00, 0x20, 0},  // 36 keyboard_key_3
    {0x034, 0x20, 0x00, 0x21, 0},  // 37 keyboard_key_4
    {0x035, 0x20, 0x00, 0x22, 0},  // 38 keyboard_key_5
    {0x036, 0x20, 0x00, 0x23, 0},  // 39 keyboard_key_6
    {0x037, 0x20, 0x00, 0x24, 0},  // 40 keyboard_key_7
    {0x038, 0x20, 0x00, 0x25, 0},  // 41 keyboard_key_8
    {0x039, 0x20, 0x00, 0x26, 0},  // 42 keyboard_key_9
    {0x030, 0x20, 0x00, 0x27, 0},  // 43 keyboard_key_0
    {0x00D, 0x20, 0x00, 0x28, 0},  // 44 keyboard_key_Enter
    {0x01B, 0x20, 0x00, 0x29, 0},  // 45 keyboard_key_Esc
    {0x008, 0x20, 0x00, 0x2A, 0},  // 46 keyboard_key_BackSpace
    {0x009, 0x20, 0x00, 0x2B, 0},  // 47 keyboard_key_Tab
    {0x020, 0x20, 0x00, 0x2C, 0},  // 48 keyboard_key_Space
    {0x0BD, 0x20, 0x00, 0x2D, 0},  // 49 keyboard_key_-
    {0x0BB, 0x20, 0x00, 0x2E, 0},  // 50 keyboard_key_=
    {0x0DB, 0x20, 0x00, 0x2F, 0},  // 51 keyboard_key_[
    {0x0DD, 0x20, 0x00, 0x30, 0},  // 52 keyboard_key_]
    {0x0DC, 0x20, 0x00, 0x31, 0},  // 53 keyboard_key_xiegang
    {0x0BA, 0x20, 0x00, 0x33, 0},  // 54 keyboard_key_;
    {0x0DE, 0x20, 0x00, 0x34, 0},  // 55 keyboard_key_'
    {0x0C0, 0x20, 0x00, 0x35, 0},  // 56 keyboard_key_`
    {0x0BC, 0x20, 0x00, 0x36, 0},  // 57 keyboard_key_<
    {0x0BE, 0x20, 0x00, 0x37, 0},  // 58 keyboard_key_.
    {0x0BF, 0x20, 0x00, 0x38, 0},  // 59 keyboard_key_/
    {0x014, 0x20, 0x00, 0x39, 0},  // 60 keyboard_key_Caplk
    {0x070, 0x20, 0x00, 0x3A, 0},  // 61 keyboard_key_F1
    {0x071, 0x20, 0x00, 0x3B, 0},  // 62 keyboard_key_F2
    {0x072, 0x20, 0x00, 0x3C, 0},  // 63 keyboard_key_F3
    {0x073, 0x20, 0x00, 0x3D, 0},  // 64 keyboard_key_F4
    {0x074, 0x20, 0x00, 0x3E, 0},  // 65 keyboard_key_F5
    {0x075, 0x20, 0x00, 0x3F, 0},  // 66 keyboard_key_F6
    {0x076, 0x20, 0x00, 0x40, 0},  // 67 keyboard_key_F7
    {0x077, 0x20, 0x00, 0x41, 0},  // 68 keyboard_key_F8
    {0x078, 0x20, 0x00, 0x42, 0},  // 69 keyboard_key_F9
    {0x079, 0x20, 0x00, 0x43, 0},  // 70 keyboard_key_F10
    {0x07A, 0x20, 0x00, 0x44, 0},  // 71 keyboard_key_F11
    {0x07B, 0x20, 0x00, 0x45, 0},  // 72 keyboard_key_F12
    {0x02C, 0x20, 0x00, 0x46, 0},  // 73 keyboard_key_Print Scr
    {0x091, 0x20, 0x00, 0x47, 0},  // 74 keyboard_key_Scroll Lock
    {0x013, 0x20, 0x00, 0x48, 0},  // 75 keyboard_key_Pause
    {0x02D, 0x20, 0x00, 0x49, 0},  // 76 keyboard_key_Insert
    {0x024, 0x20, 0x00, 0x4A, 0},  // 77 keyboard_key_Home
    {0x021, 0x20, 0x00, 0x4B, 0},  // 78 keyboard_key_Page Up
    {0x02E, 0x20, 0x00, 0x4C, 0},  // 79 keyboard_key_Delete
    {0x023, 0x20, 0x00, 0x4D, 0},  // 80 keyboard_key_End
    {0x022, 0x20, 0x00, 0x4E, 0},  // 81 keyboard_key_Page Down
    {0x027, 0x20, 0x00, 0x4F, 0},  // 82 keyboard_key_Right
    {0x025, 0x20, 0x00, 0x50, 0},  // 83 keyboard_key_Left
    {0x028, 0x20, 0x00, 0x51, 0},  // 84 keyboard_key_Down
    {0x026, 0x20, 0x00, 0x52, 0},  // 85 keyboard_key_Up
    {0x090, 0x20, 0x00, 0x53, 0},  // 86 keyboard_key_Num Lock
    {0x06F, 0x20, 0x00, 0x54, 0},  // 87 keyboard_key_Num /
    {0x06A, 0x20, 0x00, 0x55, 0},  // 88 keyboard_key_Num *
    {0x06D, 0x20, 0x00, 0x56, 0},  // 89 keyboard_key_Num -
    {0x06B, 0x20, 0x00, 0x57, 0},  // 90 keyboard_key_Num +
    {0x101, 0x20, 0x00, 0x58, 0},  // 91 keyboard_key_Num Enter
    {0x061, 0x20, 0x00, 0x59, 0},  // 92 keyboard_key_Num 1
    {0x062, 0x20, 0x00, 0x5A, 0},  // 93 keyboard_key_Num 2
    {0x063, 0x20, 0x00, 0x5B, 0},  // 94 keyboard_key_Num 3
    {0x064, 0x20, 0x00, 0x5C, 0},  // 95 keyboard_key_Num 4
    {0x065, 0x20, 0x00, 0x5D, 0},  // 96 keyboard_key_Num 5
    {0x066, 0x20, 0x00, 0x5E, 0},  // 97 keyboard_key_Num 6
    {0x067, 0x20, 0x00, 0x5F, 0},  // 98 keyboard_key_Num 7
    {0x068, 0x20, 0x00, 0x60, 0},  // 99 keyboard_key_Num 8
    {0x069, 0x20, 0x00, 0x61, 0},  // 100 keyboard_key_Num 9
    {0x060, 0x20, 0x00, 0x62, 0},  // 101 keyboard_key_Num 0
    {0x06E, 0x20, 0x00, 0x63, 0},  // 102 keyboard_key_Decimal
    {0x05D, 0x20, 0x00, 0x65, 0},  // 103 keyboard_key_App
    {0x0E2, 0x20, 0x00, 0x64, 0},  // 104 keyboard_key_K45
    {0x0C1, 0x20, 0x00, 0x87, 0},  // 105 keyboard_key_K56
    {0x0FF, 0x20, 0x00, 0x89, 0},  // 106 keyboard_key_K14
    {0x0C2, 0x20, 0x00, 0x85, 0},  // 107 keyboard_key_K107
    {0x0EB, 0x20, 0x00, 0x8B, 0},  // 108 keyboard_key_K131
    {0x0FF, 0x20, 0x00, 0x8A, 0},  // 109 keyboard_key_K132
    {0x0FF, 0x20, 0x00, 0x88, 0},  // 110 keyboard_key_K133
    {0x0E9, 0x20, 0x00, 0x91, 0},  // 111 keyboard_key_K150
    {0x0FF, 0x20, 0x00, 0x90, 0},  // 112 keyboard_key_K151
    {0x0BF, 0x20, 0x00, 0x32, 0},  // 113 keyboard_key_K42
    {0x0B7, 0x30, 0x92, 0x01, 0},  // 114 keyboard_key_Launch App2
    {0x0AC, 0x30, 0x23, 0x02, 0},  // 115 keyboard_key_Browaer Home
    {0x0B3, 0x30, 0xCD, 0x00, 0},  // 116 keyboard_key_Media Play Pause
    {0x0AA, 0x30, 0x21, 0x02, 0},  // 117 keyboard_key_Browser Search
    {0x0B4, 0x30, 0x8A, 0x01, 0},  // 118 keyboard_key_Launch Mail
    {0x0AF, 0x30, 0xE9, 0x00, 0},  // 119 keyboard_key_Volume Up
    {0x0AD, 0x30, 0xE2, 0x00, 0},  // 120 keyboard_key_Volume Mute
    {0x0B2, 0x30, 0xB7, 0x00, 0},  // 121 keyboard_key_Media Stop
    {0x0AE, 0x30, 0xEA, 0x00, 0},  // 122 keyboard_key_Volume Down
    {0x0AB, 0x30, 0x2A, 0x02, 0},  // 123 keyboard_key_Browser Favorites
    {0x0A7, 0x30, 0x25, 0x02, 0},  // 124 keyboard_key_Browser ForWard
    {0x0A6, 0x30, 0x24, 0x02, 0},  // 125 keyboard_key_Browser Back
    {0x0B1, 0x30, 0xB6, 0x00, 0},  // 126 keyboard_key_Media Prev Track
    {0x0B0, 0x30, 0xB5, 0x00, 0},  // 127 keyboard_key_Media Next Track
    {0x0B6, 0x30, 0x94, 0x01, 0},  // 128 keyboard_key_Computer
    {0x0A8, 0x30, 0x27, 0x02, 0},  // 129 keyboard_key_Browser Refresh
    {0x0A9, 0x30, 0x26, 0x02, 0},  // 130 wed_stop
    {0x0B5, 0x30, 0x83, 0x01, 0},  // 131 keyboard_key_Launch Media Select
    {0x103, 0x40, 0x01, 0x00, 0},  // 132 keyboard_key_Power
    {0x104, 0x40, 0x02, 0x00, 0},  // 133 keyboard_key_Sleep
    {0x105, 0x40, 0x04, 0x00, 0},  // 134 keyboard_key_Wakeup
    {0x000, 0xD0, 0xA2, 0x01, 0},  // 135 keyboard_key_M1
    {0x000, 0xD0, 0xA2, 0x02, 0},  // 136 keyboard_key_M2
    {0x000, 0xD0, 0xA2, 0x03, 0},  // 137 keyboard_key_M3
    {0x000, 0xD0, 0xA2, 0x04, 0},  // 138 keyboard_key_M4
    {0x000, 0xD0, 0xA2, 0x05, 0},  // 139 keyboard_key_M5
    {0x000, 0xA0, 0x01, 0x00, 0},  // 140 keyboard_key_FN
    {0x000, 0xA0, 0x1B, 0x00, 0},  // 141 keyboard_key_GM
}};

constexpr std::array<std::string_view, kKeyboardKeyNameCount> kKeyboardNames = {
    "keyboard_key_LCtrl",
    "keyboard_key_LShift",
    "keyboard_key_LAlt",
    "keyboard_key_LWin",
    "keyboard_key_RCtrl",
    "keyboard_key_RShift",
    "keyboard_key_RAlt",
    "keyboard_key_RWin",
    "keyboard_key_A",
    "keyboard_key_B",
    "keyboard_key_C",
    "keyboard_key_D",
    "keyboard_key_E",
    "keyboard_key_F",
    "keyboard_key_G",
    "keyboard_key_H",
    "keyboard_key_I",
    "keyboard_key_J",
    "keyboard_key_K",
    "keyboard_key_L",
    "keyboard_key_M",
    "keyboard_key_N",
    "keyboard_key_O",
    "keyboard_key_P",
    "keyboard_key_Q",
    "keyboard_key_R",
    "keyboard_key_S",
    "keyboard_key_T",
    "keyboard_key_U",
    "keyboard_key_V",
    "keyboard_key_W",
    "keyboard_key_X",
    "keyboard_key_Y",
    "keyboard_key_Z",
    "keyboard_key_1",
    "keyboard_key_2",
    "keyboard_key_3",
    "keyboard_key_4",
    "keyboard_key_5",
    "keyboard_key_6",
    "keyboard_key_7",
    "keyboard_key_8",
    "keyboard_key_9",
    "keyboard_key_0",
    "keyboard_key_Enter",
    "keyboard_key_Esc",
    "keyboard_key_BackSpace",
    "keyboard_key_Tab",
    "keyboard_key_Space",
    "keyboard_key_-",
    "keyboard_key_=",
    "keyboard_key_[",
    "keyboard_key_]",
    "keyboard_key_xiegang",
    "keyboard_key_;",
    "keyboard_key_'",
    "keyboard_key_`",
    "keyboard_key_<",
    "keyboard_key_.",
    "keyboard_key_/",
    "keyboard_key_Caplk",
    "keyboard_key_F1",
    "keyboard_key_F2",
    "keyboard_key_F3",
    "keyboard_key_F4",
    "keyboard_key_F5",
    "keyboard_key_F6",
    "keyboard_key_F7",
    "keyboard_key_F8",
    "keyboard_key_F9",
    "keyboard_key_F10",
    "keyboard_key_F11",
    "keyboard_key_F12",
    "keyboard_key_Print Scr",
    "keyboard_key_Scroll Lock",
    "keyboard_key_Pause",
    "keyboard_key_Insert",
    "keyboard_key_Home",
    "keyboard_key_Page Up",
    "keyboard_key_Delete",
    "keyboard_key_End",
    "keyboard_key_Page Down",
    "keyboard_key_Right",
    "keyboard_key_Left",
    "keyboard_key_Down",
    "keyboard_key_Up",
    "keyboard_key_Num Lock",
    "keyboard_key_Num /",
    "keyboard_key_Num *",
    "keyboard_key_Num -",
    "keyboard_key_Num +",
    "keyboard_key_Num Enter",
    "keyboard_key_Num 1",
    "keyboard_key_Num 2",
    "keyboard_key_Num 3",
    "keyboard_key_Num 4",
    "keyboard_key_Num 5",
    "keyboard_key_Num 6",
    "keyboard_key_Num 7",
    "keyboard_key_Num 8",
    "keyboard_key_Num 9",
    "keyboard_key_Num 0",
    "keyboard_key_Decimal",
    "keyboard_key_App",
    "keyboard_key_K45",
    "keyboard_key_K56",
    "keyboard_key_K14",
    "keyboard_key_K107",
    "keyboard_key_K131",
    "keyboard_key_K132",
    "keyboard_key_K133",
    "keyboard_key_K150",
    "keyboard_key_K151",
    "keyboard_key_K42",
    "keyboard_key_Launch App2",
    "keyboard_key_Browaer Home",
    "keyboard_key_Media Play Pause",
    "keyboard_key_Browser Search",
    "keyboard_key_Launch Mail",
    "keyboard_key_Volume Up",
    "keyboard_key_Volume Mute",
    "keyboard_key_Media Stop",
    "keyboard_key_Volume Down",
    "keyboard_key_Browser Favorites",
    "keyboard_key_Browser ForWard",
    "keyboard_key_Browser Back",
    "keyboard_key_Media Prev Track",
    "keyboard_key_Media Next Track",
    "keyboard_key_Computer",
    "keyboard_key_Browser Refresh",
    "wed_stop",
    "keyboard_key_Launch Media Select",
    "keyboard_key_Power",
    "keyboard_key_Sleep",
    "keyboard_key_Wakeup",
    "keyboard_key_M1",
    "keyboard_key_M2",
    "keyboard_key_M3",
    "keyboard_key_M4",
    "keyboard_key_M5",
    "keyboard_key_FN",
    "keyboard_key_GM",
    "keyboard_key_COLOR",
};

constexpr std::array<ScanCodeRow, kScanCodeRows> kScanCodes = {{
    {0x0A2, 0x01D},  // 0 keyboard_key_LCtrl
    {0x0A0, 0x02A},  // 1 keyboard_key_LShift
    {0x0A4, 0x038},  // 2 keyboard_key_LAlt
    {0x05B, 0x15B},  // 3 keyboard_key_LWin
    {0x0A3, 0x11D},  // 4 keyboard_key_RCtrl
    {0x0A1, 0x136},  // 5 keyboard_key_RShift
    {0x0A5, 0x138},  // 6 keyboard_key_RAlt
    {0x05C, 0x15C},  // 7 keyboard_key_RWin
    {0x041, 0x01E},  // 8 keyboard_key_A
    {0x042, 0x030},  // 9 keyboard_key_B
    {0x043, 0x02E},  // 10 keyboard_key_C
    {0x044, 0x020},  // 11 keyboard_key_D
    {0x045, 0x012},  // 12 keyboard_key_E
    {0x046, 0x021},  // 13 keyboard_key_F
    {0x047, 0x022},  // 14 keyboard_key_G
    {0x048, 0x023},  // 15 keyboard_key_H
    {0x049, 0x017},  // 16 keyboard_key_I
    {0x04A, 0x024},  // 17 keyboard_key_J
    {0x04B, 0x025},  // 18 keyboard_key_K
    {0x04C, 0x026},  // 19 keyboard_key_L
    {0x04D, 0x032},  // 20 keyboard_key_M
    {0x04E, 0x031},  // 21 keyboard_key_N
    {0x04F, 0x018},  // 22 keyboard_key_O
    {0x050, 0x019},  // 23 keyboard_key_P
    {0x051, 0x010},  // 24 keyboard_key_Q
    {0x052, 0x013},  // 25 keyboard_key_R
    {0x053, 0x01F},  // 26 keyboard_key_S
    {0x054, 0x014},  // 27 keyboard_key_T
    {0x055, 0x016},  // 28 keyboard_key_U
    {0x056, 0x02F},  // 29 keyboard_key_V
    {0x057, 0x011},  // 30 keyboard_key_W
    {0x058, 0x02D},  // 31 keyboard_key_X
    {0x059, 0x015},  // 32 keyboard_key_Y
    {0x05A, 0x02C},  // 33 keyboard_key_Z
    {0x031, 0x002},  // 34 keyboard_key_1
    {0x032, 0x003},  // 35 keyboard_key_2
    {0x033, 0x004},  // 36 keyboard_key_3
    {0x034, 0x005},  // 37 keyboard_key_4
    {0x035, 0x006},  // 38 keyboard_key_5
    {0x036, 0x007},  // 39 keyboard_key_6
    {0x037, 0x008},  // 40 keyboard_key_7
    {0x038, 0x009},  // 41 keyboard_key_8
    {0x039, 0x00A},  // 42 keyboard_key_9
    {0x030, 0x00B},  // 43 keyboard_key_0
    {0x00D, 0x01C},  // 44 keyboard_key_Enter
    {0x01B, 0x001},  // 45 keyboard_key_Esc
    {0x008, 0x00E},  // 46 keyboard_key_BackSpace
    {0x009, 0x00F},  // 47 keyboard_key_Tab
    {0x020, 0x039},  // 48 keyboard_key_Space
    {0x0BD, 0x00C},  // 49 keyboard_key_-
    {0x0BB, 0x00D},  // 50 keyboard_key_=
    {0x0DB, 0x01A},  // 51 keyboard_key_[
    {0x0DD, 0x01B},  // 52 keyboard_key_]
    {0x0DC, 0x02B},  // 53 keyboard_key_xiegang
    {0x0BA, 0x027},  // 54 keyboard_key_;
    {0x0DE, 0x028},  // 55 keyboard_key_'
    {0x0C0, 0x029},  // 56 keyboard_key_`
    {0x0BC, 0x033},  // 57 keyboard_key_<
    {0x0BE, 0x034},  // 58 keyboard_key_.
    {0x0BF, 0x035},  // 59 keyboard_key_/
    {0x014, 0x03A},  // 60 keyboard_key_Caplk
    {0x070, 0x03B},  // 61 keyboard_key_F1
    {0x071, 0x03C},  // 62 keyboard_key_F2
    {0x072, 0x03D},  // 63 keyboard_key_F3
    {0x073, 0x03E},  // 64 keyboard_key_F4
    {0x074, 0x03F},  // 65 keyboard_key_F5
    {0x075, 0x040},  // 66 keyboard_key_F6
    {0x076, 0x041},  // 67 keyboard_key_F7
    {0x077, 0x042},  // 68 keyboard_key_F8
    {0x078, 0x043},  // 69 keyboard_key_F9
    {0x079, 0x044},  // 70 keyboard_key_F10
    {0x07A, 0x057},  // 71 keyboard_key_F11
    {0x07B, 0x058},  // 72 keyboard_key_F12
    {0x02C, 0x137},  // 73 keyboard_key_Print Scr
    {0x091, 0x046},  // 74 keyboard_key_Scroll Lock
    {0x013, 0x045},  // 75 keyboard_key_Pause
    {0x02D, 0x152},  // 76 keyboard_key_Insert
    {0x024, 0x147},  // 77 keyboard_key_Home
    {0x021, 0x149},  // 78 keyboard_key_Page Up
    {0x02E, 0x153},  // 79 keyboard_key_Delete
    {0x023, 0x14F},  // 80 keyboard_key_End
    {0x022, 0x151},  // 81 keyboard_key_Page Down
    {0x027, 0x14D},  // 82 keyboard_key_Right
    {0x025, 0x14B},  // 83 keyboard_key_Left
    {0x028, 0x150},  // 84 keyboard_key_Down
    {0x026, 0x148},  // 85 keyboard_key_Up
    {0x090, 0x145},  // 86 keyboard_key_Num Lock
    {0x06F, 0x135},  // 87 keyboard_key_Num /
    {0x06A, 0x037},  // 88 keyboard_key_Num *
    {0x06D, 0x04A},  // 89 keyboard_key_Num -
    {0x06B, 0x04E},  // 90 keyboard_key_Num +
    {0x101, 0x11C},  // 91 keyboard_key_Num Enter
    {0x061, 0x04F},  // 92 keyboard_key_Num 1
    {0x062, 0x050},  // 93 keyboard_key_Num 2
    {0x063, 0x051},  // 94 keyboard_key_Num 3
    {0x064, 0x04B},  // 95 keyboard_key_Num 4
    {0x065, 0x04C},  // 96 keyboard_key_Num 5
    {0x066, 0x04D},  // 97 keyboard_key_Num 6
    {0x067, 0x047},  // 98 keyboard_key_Num 7
    {0x068, 0x048},  // 99 keyboard_key_Num 8
    {0x069, 0x049},  // 100 keyboard_key_Num 9
    {0x060, 0x052},  // 101 keyboard_key_Num 0
    {0x06E, 0x053},  // 102 keyboard_key_Decimal
    {0x05D, 0x15D},  // 103 keyboard_key_App
    {0x0E2, 0x056},  // 104 keyboard_key_K45
    {0x0C1, 0x073},  // 105 keyboard_key_K56
    {0x0FF, 0x07D},  // 106 keyboard_key_K14
    {0x0C2, 0x07E},  // 107 keyboard_key_K107
    {0x0EB, 0x07B},  // 108 keyboard_key_K131
    {0x0FF, 0x079},  // 109 keyboard_key_K132
    {0x0FF, 0x070},  // 110 keyboard_key_K133
    {0x0E9, 0x071},  // 111 keyboard_key_K150
    {0x0FF, 0x072},  // 112 keyboard_key_K151
}};

const KeyCodeTable kMouseButtonTable{kMouseButtonRows, kMouseButtonNames};
const KeyCodeTable kDpiTable{kDpiRows, kDpiNames};
const KeyCodeTable kSystemTable{kSystemRows, kSystemNames};
const KeyCodeTable kMediaTable{kMediaRows, kMediaNames};
const KeyCodeTable kShortcutComboTable{kShortcutComboRows, kShortcutComboNames};
const KeyCodeTable kShortcutFunctionTable{kShortcutFunctionRows, kShortcutFunctionNames};
const KeyCodeTable kMouseFunctionTable{kMouseFunctionRows, kMouseFunctionNames};
const KeyCodeTable kKeyboardTable{kKeyboardRows, kKeyboardNames};

}  // namespace

const KeyCodeTable& MouseButtonTable() {
    return kMouseButtonTable;
}
const KeyCodeTable& DpiFunctionTable() {
    return kDpiTable;
}
const KeyCodeTable& SystemKeyTable() {
    return kSystemTable;
}
const KeyCodeTable& MediaKeyTable() {
    return kMediaTable;
}
const KeyCodeTable& ShortcutComboTable() {
    return kShortcutComboTable;
}
const KeyCodeTable& ShortcutFunctionTable() {
    return kShortcutFunctionTable;
}
const KeyCodeTable& MouseFunctionTable() {
    return kMouseFunctionTable;
}
const KeyCodeTable& KeyboardKeyTable() {
    return kKeyboardTable;
}

std::span<const ScanCodeRow> ScanCodeTable() {
    return kScanCodes;
}
std::span<const std::string_view> MouseKeyNames() {
    return kMouseKeyNames;
}
std::span<const std::string_view> RecoilSlotNames() {
    return kRecoilSlotNames;
}

std::optional<size_t> CaptureKeyboardRow(uint32_t scanCode, uint32_t flags) {
    const uint32_t extended = flags & 1u;
    for (size_t i = 0; i < kScanCodes.size(); ++i) {
        const ScanCodeRow& row = kScanCodes[i];
        if ((row.scan & 0xFFu) != scanCode || ((row.scan >> 8) & 1u) != extended)
            continue;
        if (kKeyboardRows[i].type != KF_KEYBOARD)
            return std::nullopt;
        return i;
    }
    return std::nullopt;
}

}  // namespace dravik
