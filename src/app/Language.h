#pragma once
// The user interface language: the list of languages in "Language.config" (DefaultData), the
// chosen language's identifier in the settings store (value "LANGUAGE" under the product key), the
// resource manager's loaded language, and the shared font table rebuilt on a switch.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "keys/TextLookup.h"
#include "platform/SettingsStore.h"
#include "ui/PaintManager.h"

namespace dravik {

inline constexpr uint32_t kUnknownLanguageId = 520;
inline constexpr const char* kLanguageValueName = "LANGUAGE";

class LanguageManager {
public:
    // mainManager: the main window's paint manager (its fonts are rebuilt); configFile: the
    // language list.
    LanguageManager(ui::CPaintManagerUI& mainManager, platform::SettingsStore& store,
                    std::filesystem::path configFile);

    // The position in the language list of the stored identifier; 0 when nothing matches or
    // nothing can be read.
    int ReadLanguageIndex() const;
    // Switches the interface to language index; children get message 0xC11 to repaint. Choosing
    // the language in use does nothing.
    void ApplyLanguage(int index, const std::vector<ui::HWND>& childWindows = {});
    // Writes the identifier when the product key exists (it is never created here); trace
    // "写成功！" on success.
    void StoreLanguageId(uint32_t id);
    int CurrentIndex() const { return current_; }

    // Whether switching from one index to another rebuilds the font table.
    static bool FontTableRebuildNeeded(int from, int to);
    // The face of the font table for a language index.
    static std::string FaceFor(int index);
    // Replaces the shared font table with face's fonts (default 14, 0: 15, 1: 14 underlined,
    // 2: 18, 3: 30, 4: 16, 5: 20, 6: 22, 7: 14, 8: 12, 9: 11, 10: 10, 11: 28, 50: 18 bold).
    static void RebuildFontTable(ui::CPaintManagerUI& manager, const std::string& face);

private:
    ui::CPaintManagerUI& manager_;
    platform::SettingsStore& store_;
    std::filesystem::path configFile_;
    int current_ = -1;
};

// Turns a language key into its text through the hidden resource-text label "text_test" of the
// given window (the key itself when the label is missing or the language lacks it).
std::string LookupText(ui::CPaintManagerUI& manager, const std::string& key);

// The key functions' view of the same lookup.
class PaintManagerTextLookup : public ITextLookup {
public:
    explicit PaintManagerTextLookup(ui::CPaintManagerUI& manager) : manager_(manager) {}
    std::string LookupText(const std::string& key) const override {
        return dravik::LookupText(manager_, key);
    }

private:
    ui::CPaintManagerUI& manager_;
};

}  // namespace dravik
