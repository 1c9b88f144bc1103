#include "app/Language.h"

#include "platform/JsonFile.h"
#include "platform/Trace.h"
#include "ui/ResourceManager.h"
#include "ui/Window.h"

namespace dravik {
namespace {

constexpr uint32_t kLanguageChanged = 0xC11;

bool NamesOwnFace(int index) { return index == 15 || index == 0 || index == 2; }

}  // namespace

LanguageManager::LanguageManager(ui::CPaintManagerUI& mainManager, platform::SettingsStore& store,
                                 std::filesystem::path configFile)
    : manager_(mainManager), store_(store), configFile_(std::move(configFile)) {}

int LanguageManager::ReadLanguageIndex() const {
    const std::string key = platform::ProductKeyPath();
    if (!store_.HasKey(key)) return 0;
    uint32_t id = store_.GetDword(key, kLanguageValueName).value_or(kUnknownLanguageId);
    Json::Value config = platform::ReadJsonFile(configFile_);
    if (config.isNull()) return 0;
    const Json::Value& list = config["Language"];
    if (!list.isArray()) return 0;
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        const Json::Value& entry = list[i];
        if (entry.isObject() && entry["Language_ID"].isIntegral() &&
            entry["Language_ID"].asLargestInt() == static_cast<int64_t>(id))
            return static_cast<int>(i);
    }
    return 0;
}

bool LanguageManager::FontTableRebuildNeeded(int from, int to) {
    return NamesOwnFace(to) || NamesOwnFace(from) || from == -1;
}

std::string LanguageManager::FaceFor(int index) {
    // The scripts with faces of their own; everything else uses the Latin face, with
    // fontconfig's fallback for other scripts.
    switch (index) {
        case 0:
            return "Noto Sans CJK SC";
        case 2:
            return "Noto Sans CJK TC";
        case 15:
            return "Noto Sans Thai";
        default:
            return "Noto Sans";
    }
}

void LanguageManager::RebuildFontTable(ui::CPaintManagerUI& manager, const std::string& face) {
    ui::CPaintManagerUI::ClearSharedFonts();
    manager.RemoveAllFonts();
    auto font = [&](int size, bool bold = false, bool underline = false) {
        ui::FontInfo f;
        f.face = face;
        f.size = size;
        f.bold = bold;
        f.underline = underline;
        return f;
    };
    ui::CPaintManagerUI::SetSharedFont(0, font(15));
    ui::CPaintManagerUI::SetDefaultFont(font(14));
    const int sizes[] = {14, 18, 30, 16, 20, 22, 14, 12, 11, 10, 28};  // fonts 1 to 11
    for (int i = 0; i < 11; ++i) ui::CPaintManagerUI::SetSharedFont(i + 1, font(sizes[i], false, i == 0));
    ui::CPaintManagerUI::SetSharedFont(50, font(18, true));
}

void LanguageManager::ApplyLanguage(int index, const std::vector<ui::HWND>& childWindows) {
    if (index == current_) return;
    if (FontTableRebuildNeeded(current_, index)) RebuildFontTable(manager_, FaceFor(index));
    current_ = index;

    Json::Value entry;
    Json::Value config = platform::ReadJsonFile(configFile_);
    if (config.isObject() && config["Language"].isArray() && index >= 0 &&
        static_cast<Json::ArrayIndex>(index) < config["Language"].size())
        entry = config["Language"][static_cast<Json::ArrayIndex>(index)];
    auto text = [&](const char* name) {
        return entry.isObject() && entry[name].isString() ? entry[name].asString() : std::string();
    };
    auto& resources = ui::CResourceManager::GetInstance();
    resources.SetLanguage(text("Language_name"));
    resources.LoadLanguage(text("Language_file"));
    resources.ReloadText();
    uint32_t id = entry.isObject() && entry["Language_ID"].isIntegral()
                      ? static_cast<uint32_t>(entry["Language_ID"].asLargestUInt())
                      : 0;
    StoreLanguageId(id);

    manager_.Invalidate();
    for (ui::HWND child : childWindows)
        if (child) ui::SendMessageChecked(child, kLanguageChanged, 0, 0);
    manager_.NeedUpdate();
}

void LanguageManager::StoreLanguageId(uint32_t id) {
    const std::string key = platform::ProductKeyPath();
    if (!store_.HasKey(key)) return;  // the key is never created here
    if (store_.SetDword(key, kLanguageValueName, id)) platform::Trace("写成功！");
}

std::string LookupText(ui::CPaintManagerUI& manager, const std::string& key) {
    ui::CControlUI* label = manager.FindControl("text_test");
    if (!label) return key;
    label->SetResourceText(true);
    label->SetText(key);
    return label->GetText();
}

}  // namespace dravik
