#pragma once
// The code tables from which key functions are built and by which they are named. Every table
// has a parallel list of name keys (language keys) in the same row order; the n-th entry of an
// editor list built from a table is row n of that table.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "keys/KeyFunction.h"

namespace dravik {

// One row of a code table. The host code is the Windows virtual-key code for the keyboard table
// and the row number (or a fixed id) for the others.
struct KeyCodeRow {
    uint16_t hostCode = 0;
    uint8_t type = 0;
    uint8_t param1 = 0;
    uint8_t param2 = 0;
    uint8_t reserved = 0;

    constexpr KeyFunction Function() const { return {type, param1, param2}; }
};

struct KeyCodeTable {
    std::span<const KeyCodeRow> rows;
    std::span<const std::string_view> names;  // at least as many as rows

    size_t size() const { return rows.size(); }
    const KeyCodeRow& operator[](size_t i) const { return rows[i]; }
    std::string_view NameAt(size_t i) const { return names[i]; }
};

const KeyCodeTable& MouseButtonTable();       // 5 rows, type 0x10
const KeyCodeTable& DpiFunctionTable();       // 3 rows, type 0x13
const KeyCodeTable& SystemKeyTable();         // 3 rows, type 0x40
const KeyCodeTable& MediaKeyTable();          // 18 rows, type 0x30
const KeyCodeTable& ShortcutComboTable();     // 11 rows, type 0x20 with RCtrl
const KeyCodeTable& ShortcutFunctionTable();  // 9 rows, type 0x22, host codes 0x21-0x29
const KeyCodeTable& MouseFunctionTable();     // 15 rows, names types 0x16, 0x23 and 0xA0
// 142 rows; its name list has 143 entries (the last, "keyboard_key_COLOR", has no row).
const KeyCodeTable& KeyboardKeyTable();

inline constexpr size_t kKeyboardKeyRows = 142;
inline constexpr size_t kKeyboardKeyNameCount = 143;
inline constexpr size_t kScanCodeRows = 113;

// Host VK values that are the table's own rather than Windows codes.
inline constexpr uint16_t kVkNumpadEnter = 0x101;
inline constexpr uint16_t kVkPower = 0x103;
inline constexpr uint16_t kVkSleep = 0x104;
inline constexpr uint16_t kVkWake = 0x105;
inline constexpr uint16_t kVkNone = 0xFF;  // a key without a VK of its own

// Scan-code-set-1 make code of rows 0-112 of the keyboard table, + 0x100 for keys reported as
// extended.
struct ScanCodeRow {
    uint16_t vk = 0;
    uint16_t scan = 0;
};
std::span<const ScanCodeRow> ScanCodeTable();

// Name keys of the mouse's physical keys by key index 0-10.
std::span<const std::string_view> MouseKeyNames();
// Name keys of the four recoil slots.
std::span<const std::string_view> RecoilSlotNames();

// The keyboard-table row a low-level keyboard event stands for: the first scan-code row whose
// low byte equals the scan code and whose extended bit (0x100) equals bit 0 of the flags, and
// only when that row is a keyboard key (type 0x20). Rows 113-141 are never captured.
std::optional<size_t> CaptureKeyboardRow(uint32_t scanCode, uint32_t flags);

}  // namespace dravik
