#include "platform/Folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <system_error>

namespace dravik::platform {
namespace fs = std::filesystem;
namespace {

std::mutex gProgramFolderMutex;
fs::path gProgramFolder;

fs::path HomeFolder() {
    if (const char* h = std::getenv("HOME"); h && *h)
        return h;
    if (passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/tmp";
}

fs::path XdgFolder(const char* var, const char* fallbackUnderHome) {
    if (const char* v = std::getenv(var); v && *v && v[0] == '/')
        return v;
    return HomeFolder() / fallbackUnderHome;
}

}  // namespace

bool EnsureFolder(const fs::path& folder, unsigned mode) {
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return true;
    fs::path partial;
    for (const auto& part : folder) {
        partial /= part;
        if (!fs::exists(partial, ec))
            ::mkdir(partial.c_str(), mode);
    }
    return fs::is_directory(folder, ec);
}

fs::path ProgramFolder() {
    std::lock_guard lock(gProgramFolderMutex);
    if (gProgramFolder.empty()) {
        std::error_code ec;
        fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        gProgramFolder = ec ? fs::current_path() : exe.parent_path();
    }
    return gProgramFolder;
}

void SetProgramFolder(const fs::path& folder) {
    std::lock_guard lock(gProgramFolderMutex);
    gProgramFolder = folder;
}

fs::path UserDataFolder(const std::string& kind) {
    fs::path folder = XdgFolder("XDG_DATA_HOME", ".local/share") / kProductIdentity;
    if (!kind.empty())
        folder /= kind;
    return EnsureFolder(folder) ? folder : fs::path();
}

fs::path ConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config") / kProductIdentity;
}

fs::path RuntimeFolder() {
    fs::path base;
    if (const char* v = std::getenv("XDG_RUNTIME_DIR"); v && *v && v[0] == '/') {
        base = v;
    } else {
        base = fs::path("/tmp") / ("dravik-" + std::to_string(getuid()));
        EnsureFolder(base);
    }
    fs::path folder = base / kProductIdentity;
    EnsureFolder(folder);
    return folder;
}

}  // namespace dravik::platform
