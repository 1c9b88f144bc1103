#include "profiles/ProfileFiles.h"

#include "platform/Folders.h"
#include "platform/JsonFile.h"

namespace dravik {

namespace {
bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}
}  // namespace

std::string KindFolderOf(int deviceKind) {
    switch (deviceKind) {
        case 1:
        case 9:
            return kKeyboardKindFolder;
        case 2:
        case 6:
            return kMouseKindFolder;
        case 3:
            return kMousePadKindFolder;
        case 7:
            return kHeadsetKindFolder;
        default:
            return {};
    }
}

std::filesystem::path DefaultProfilePath(const std::string& kindFolder) {
    return platform::ProgramFolder() / "DefaultData" / (kindFolder + kProfileExtension);
}

std::filesystem::path ProfilePath(const std::filesystem::path& userFolder,
                                  const std::string& identifier) {
    if (!IsPlainFileName(identifier))
        return {};
    return userFolder / (identifier + kProfileExtension);
}

std::filesystem::path LightLibraryPath(const std::filesystem::path& userFolder) {
    return userFolder / (std::string(kLightLibraryName) + kLightLibraryExtension);
}

std::filesystem::path LightEffectPath(const std::filesystem::path& lightLibraryPath,
                                      const std::string& guid) {
    if (!IsPlainFileName(guid))
        return {};
    return lightLibraryPath.parent_path() / (guid + kLightEffectExtension);
}

Json::Value ReadProfileDocument(const std::filesystem::path& path) {
    if (path.empty())
        return Json::Value();
    return platform::ReadJsonFile(path, kMaxProfileDocumentBytes);
}

}  // namespace dravik
