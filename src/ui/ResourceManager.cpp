#include "ui/ResourceManager.h"

#include <pugixml.hpp>

#include <algorithm>

#include "ui/PaintManager.h"

namespace dravik::ui {

CResourceManager& CResourceManager::GetInstance() {
    static CResourceManager instance;
    return instance;
}

std::filesystem::path CResourceManager::ResolvePath(const std::string& relative) const {
    std::string r = relative;
    std::replace(r.begin(), r.end(), '\\', '/');
    std::filesystem::path p(r);
    return p.is_absolute() ? p : resourcePath_ / p;
}

bool CResourceManager::LoadXml(const std::string& relative, pugi::xml_document& doc,
                               std::string* error) const {
    const std::filesystem::path path = ResolvePath(relative);
    std::error_code ec;
    if (relative.empty() || !std::filesystem::is_regular_file(path, ec)) {
        if (error)
            *error = "no such file " + path.string();
        return false;
    }
    pugi::xml_parse_result ok = doc.load_file(path.c_str());
    if (!ok && error)
        *error = path.string() + ": " + ok.description();
    return static_cast<bool>(ok);
}

bool CResourceManager::LoadResource(const std::string& indexFile) {
    pugi::xml_document doc;
    if (!LoadXml(indexFile, doc))
        return false;
    index_.clear();
    for (pugi::xml_node node : doc.document_element().children()) {
        std::string name = node.attribute("name").as_string();
        std::string file = node.attribute("file").as_string();
        if (!name.empty() && !file.empty())
            index_[name] = file;
    }
    return true;
}

std::string CResourceManager::GetXmlPath(const std::string& name) const {
    auto it = index_.find(name);
    return it == index_.end() ? name : it->second;
}

bool CResourceManager::LoadLanguage(const std::string& file) {
    pugi::xml_document doc;
    if (!LoadXml(file, doc))
        return false;
    std::map<std::string, std::string> texts;
    for (pugi::xml_node node : doc.document_element().children()) {
        const char* key = node.attribute("key").as_string(nullptr);
        if (!key)
            key = node.attribute("id").as_string(nullptr);
        if (!key)
            continue;
        const char* value = node.attribute("value").as_string(nullptr);
        texts[key] = value ? value : node.text().as_string();
    }
    texts_ = std::move(texts);
    return true;
}

std::optional<std::string> CResourceManager::GetText(const std::string& key) const {
    if (query_) {
        if (auto t = query_->QueryControlText(key, ""))
            return t;
    }
    auto it = texts_.find(key);
    if (it == texts_.end())
        return std::nullopt;
    return it->second;
}

void CResourceManager::ReloadText() {
    for (CPaintManagerUI* pm : CPaintManagerUI::AllManagers()) {
        pm->NeedUpdate();
        pm->Invalidate();
    }
}

void CResourceManager::Release() {
    index_.clear();
    texts_.clear();
    languageName_.clear();
    query_ = nullptr;
}

}  // namespace dravik::ui
