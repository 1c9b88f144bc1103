#include "platform/SettingsStore.h"

#include "platform/Folders.h"
#include "platform/JsonFile.h"

namespace dravik::platform {
namespace {

Json::Value LoadStore(const std::filesystem::path& file) {
    Json::Value root = ReadJsonFile(file);
    return root.isObject() ? root : Json::Value(Json::objectValue);
}

const Json::Value* FindValue(const Json::Value& root, const std::string& key,
                             const std::string& name, const char* type) {
    const Json::Value* k = root.find(key.data(), key.data() + key.size());
    if (!k || !k->isObject())
        return nullptr;
    const Json::Value* v = k->find(name.data(), name.data() + name.size());
    if (!v || !v->isObject() || (*v)["type"].asString() != type)
        return nullptr;
    return &(*v)["value"];
}

bool Store(const std::filesystem::path& file, const std::string& key, const std::string& name,
           const char* type, const Json::Value& value) {
    Json::Value root = LoadStore(file);
    Json::Value entry(Json::objectValue);
    entry["type"] = type;
    entry["value"] = value;
    if (!root[key].isObject())
        root[key] = Json::Value(Json::objectValue);
    root[key][name] = entry;
    return EnsureFolder(file.parent_path()) && WriteJsonFile(file, root);
}

}  // namespace

std::string ProductKeyPath() {
    return std::string("SOFTWARE\\") + kProductIdentity;
}

SettingsStore::SettingsStore() : file_(ConfigFolder() / "registry.json") {}
SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

std::optional<uint32_t> SettingsStore::GetDword(const std::string& key,
                                                const std::string& name) const {
    Json::Value root = LoadStore(file_);
    const Json::Value* v = FindValue(root, key, name, "dword");
    if (!v || !v->isIntegral())
        return std::nullopt;
    return static_cast<uint32_t>(v->asLargestUInt() & 0xFFFFFFFFu);
}

std::optional<std::string> SettingsStore::GetString(const std::string& key,
                                                    const std::string& name) const {
    Json::Value root = LoadStore(file_);
    const Json::Value* v = FindValue(root, key, name, "string");
    if (!v || !v->isString())
        return std::nullopt;
    return v->asString();
}

bool SettingsStore::SetDword(const std::string& key, const std::string& name, uint32_t value) {
    return Store(file_, key, name, "dword", Json::Value(Json::UInt(value)));
}

bool SettingsStore::SetString(const std::string& key, const std::string& name,
                              const std::string& value) {
    return Store(file_, key, name, "string", Json::Value(value));
}

bool SettingsStore::HasKey(const std::string& key) const {
    Json::Value root = LoadStore(file_);
    const Json::Value* k = root.find(key.data(), key.data() + key.size());
    return k && k->isObject();
}

bool SettingsStore::CreateKey(const std::string& key) {
    Json::Value root = LoadStore(file_);
    if (root[key].isObject()) return true;
    root[key] = Json::Value(Json::objectValue);
    return EnsureFolder(file_.parent_path()) && WriteJsonFile(file_, root);
}

bool SettingsStore::Remove(const std::string& key, const std::string& name) {
    Json::Value root = LoadStore(file_);
    if (!root[key].isObject() || !root[key].isMember(name))
        return true;
    root[key].removeMember(name);
    return WriteJsonFile(file_, root);
}

}  // namespace dravik::platform
