#pragma once
// The per-user settings store that stands in for the registry: typed values (32-bit words and
// strings) under key paths such as "SOFTWARE\Dravik", kept in $XDG_CONFIG_HOME/Dravik/registry.json
// as {"<key path>": {"<name>": {"type": "dword"|"string", "value": …}}}.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace dravik::platform {

class SettingsStore {
  public:
    // The store file under ConfigFolder().
    SettingsStore();
    explicit SettingsStore(std::filesystem::path file);

    std::optional<uint32_t> GetDword(const std::string& key, const std::string& name) const;
    std::optional<std::string> GetString(const std::string& key, const std::string& name) const;
    // Each write reloads the file, changes one value and writes it back atomically.
    bool SetDword(const std::string& key, const std::string& name, uint32_t value);
    bool SetString(const std::string& key, const std::string& name, const std::string& value);
    bool Remove(const std::string& key, const std::string& name);
    // Whether the key path exists, and creating it (empty) when it does not.
    bool HasKey(const std::string& key) const;
    bool CreateKey(const std::string& key);

    const std::filesystem::path& File() const { return file_; }

  private:
    std::filesystem::path file_;
};

// The product's own key path, "SOFTWARE\Dravik".
std::string ProductKeyPath();

}  // namespace dravik::platform
