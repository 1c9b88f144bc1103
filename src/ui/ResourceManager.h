#pragma once
// The resource manager: the skin folder, its resource index ("res.xml": resource names such as
// "XML_MAIN" to files), the loaded language (key to text) and the text-query hook.
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace pugi {
class xml_document;
}

namespace dravik::ui {

// Asked before the language table; returning nullopt means "no text of mine".
class IQueryControlText {
  public:
    virtual ~IQueryControlText() = default;
    virtual std::optional<std::string> QueryControlText(const std::string& key,
                                                        const std::string& type) = 0;
};

class CResourceManager {
  public:
    static CResourceManager& GetInstance();

    void SetResourcePath(const std::filesystem::path& path) { resourcePath_ = path; }
    const std::filesystem::path& GetResourcePath() const { return resourcePath_; }

    // Loads the resource index from a file of the skin folder; false when it cannot be read.
    bool LoadResource(const std::string& indexFile);
    // The file a resource name stands for, or the name itself when it is not in the index.
    // Backslashes are accepted as folder separators.
    std::string GetXmlPath(const std::string& name) const;
    std::filesystem::path ResolvePath(const std::string& relative) const;
    // Parses a skin XML file; false (with a reason) when it is not a regular file or not XML.
    // Folders and devices are refused before parsing: the parser cannot size them.
    bool LoadXml(const std::string& relative, pugi::xml_document& doc,
                 std::string* error = nullptr) const;

    void SetLanguage(const std::string& name) { languageName_ = name; }
    const std::string& GetLanguage() const { return languageName_; }
    // Loads a language file (<Language><Text key="…" value="…"/>…</Language>) of the skin folder,
    // replacing the loaded texts; false (texts unchanged) when it cannot be read.
    bool LoadLanguage(const std::string& file);
    // The text for a key: the text query first, then the language; nullopt when neither has it.
    std::optional<std::string> GetText(const std::string& key) const;
    // Tells every window to re-show its resource texts.
    void ReloadText();
    void SetTextQueryInterface(IQueryControlText* query) { query_ = query; }

    void Release();

  private:
    std::filesystem::path resourcePath_;
    std::map<std::string, std::string> index_;
    std::map<std::string, std::string> texts_;
    std::string languageName_;
    IQueryControlText* query_ = nullptr;
};

}  // namespace dravik::ui
