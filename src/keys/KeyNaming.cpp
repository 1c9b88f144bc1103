#include "keys/KeyNaming.h"

#include "keys/KeyTables.h"

namespace dravik {

namespace {

constexpr const char* kUnknownTypeText = "关闭";

std::string Text(const ITextLookup& text, std::string_view key) {
    return text.LookupText(std::string(key));
}

template <typename Match>
std::optional<size_t> FindRow(const KeyCodeTable& table, Match match) {
    for (size_t i = 0; i < table.size(); ++i)
        if (match(table[i]))
            return i;
    return std::nullopt;
}

std::optional<std::string> NameOfRow(const KeyCodeTable& table, std::optional<size_t> row,
                                     const ITextLookup& text) {
    if (!row)
        return std::nullopt;
    return Text(text, table.NameAt(*row));
}

// Types 0x00 and 0x20: keyboard keys, modifier combinations and the shortcut combinations.
std::optional<std::string> KeyboardName(KeyFunction f, KeyPage page, const ITextLookup& text) {
    const KeyCodeTable& keys = KeyboardKeyTable();
    auto row = FindRow(
        keys, [&](const KeyCodeRow& r) { return r.param1 == f.param1 && r.param2 == f.param2; });
    if (row)
        return Text(text, keys.NameAt(*row));
    if (f.param1 == 0 && f.param2 == 0)
        return Text(text, "close_text");

    if (page == KeyPage::Keyboard) {
        const KeyCodeTable& combos = ShortcutComboTable();
        auto combo = FindRow(combos, [&](const KeyCodeRow& r) { return r.Function() == f; });
        if (combo)
            return Text(text, combos.NameAt(*combo));
    }
    // Composed name: the modifier's row and the key's row joined with "+". A parameter of 0
    // stands for "no modifier" or "no key" and takes part in no match; a first parameter with
    // several modifier bits matches no single row, so only the key is named.
    std::string joined;
    bool any = false;
    for (size_t i = 0; i < keys.size(); ++i) {
        const KeyCodeRow& r = keys[i];
        if (r.type != f.type)
            continue;
        bool takes =
            (f.param1 != 0 && r.param1 == f.param1) || (f.param2 != 0 && r.param2 == f.param2);
        if (!takes)
            continue;
        if (any)
            joined += '+';
        joined += Text(text, keys.NameAt(i));
        any = true;
    }
    if (!any)
        return std::nullopt;
    return joined;
}

}  // namespace

std::optional<std::string> KeyFunctionName(KeyFunction f, KeyPage page,
                                           const std::vector<std::string>& macroNames,
                                           const ITextLookup& text) {
    const uint8_t a = f.param1;
    const uint8_t b = f.param2;
    switch (f.type) {
        case KF_NONE:
        case KF_KEYBOARD:
            return KeyboardName(f, page, text);
        case KF_MOUSE_BUTTON:
            return NameOfRow(
                MouseButtonTable(),
                FindRow(MouseButtonTable(), [&](const KeyCodeRow& r) { return r.param1 == a; }),
                text);
        case KF_HSCROLL:
            return Text(text, (b & 0x80) ? "mouse_key_right_Swing" : "mouse_key_left_Swing");
        case KF_WHEEL:
            return Text(text, (b & 0x80) ? "mouse_key_down_Swing" : "mouse_key_up_Swing");
        case KF_DPI:
            return NameOfRow(
                DpiFunctionTable(),
                FindRow(DpiFunctionTable(), [&](const KeyCodeRow& r) { return r.param1 == a; }),
                text);
        case KF_FIRE:
            return Text(text, "mouse_key_fire_key");
        case KF_DPI_SHIFT:
            return NameOfRow(MouseFunctionTable(),
                             FindRow(MouseFunctionTable(),
                                     [&](const KeyCodeRow& r) { return r.type == KF_DPI_SHIFT; }),
                             text);
        case KF_SHORTCUT:
            return NameOfRow(
                ShortcutFunctionTable(),
                FindRow(ShortcutFunctionTable(),
                        [&](const KeyCodeRow& r) { return r.param1 == a && r.param2 == b; }),
                text);
        case KF_SHOW_WINDOW:
            return NameOfRow(MouseFunctionTable(),
                             FindRow(MouseFunctionTable(),
                                     [&](const KeyCodeRow& r) { return r.Function() == f; }),
                             text);
        case KF_CONSUMER:
            return NameOfRow(
                MediaKeyTable(),
                FindRow(MediaKeyTable(),
                        [&](const KeyCodeRow& r) { return r.param1 == a && r.param2 == b; }),
                text);
        case KF_SYSTEM:
            return NameOfRow(
                SystemKeyTable(),
                FindRow(SystemKeyTable(),
                        [&](const KeyCodeRow& r) { return r.param1 == a && r.param2 == b; }),
                text);
        case KF_MACRO_MODE:
        case KF_MACRO_COUNT:
            if (a >= macroNames.size())
                return std::nullopt;
            return macroNames[a];
        case KF_RECOIL:
            if (a >= RecoilSlotNames().size())
                return std::nullopt;
            return Text(text, RecoilSlotNames()[a]);
        case KF_KEYBOARD_MACRO_KEY:
            if (page != KeyPage::Keyboard)
                return std::string(kUnknownTypeText);
            [[fallthrough]];
        case KF_SPECIAL: {
            auto fn = FindRow(MouseFunctionTable(), [&](const KeyCodeRow& r) {
                return r.type == f.type && r.param1 == a;
            });
            if (fn)
                return Text(text, MouseFunctionTable().NameAt(*fn));
            return NameOfRow(
                KeyboardKeyTable(),
                FindRow(KeyboardKeyTable(), [&](const KeyCodeRow& r) { return r.Function() == f; }),
                text);
        }
        case 0x15:
        case 0x21:
        case 0x50:
        case 0x60:
        case 0xB0:
        case 0xC0:
            return std::nullopt;
        default:
            return std::string(kUnknownTypeText);
    }
}

}  // namespace dravik
