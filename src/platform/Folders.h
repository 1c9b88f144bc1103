#pragma once
// Where things live: the program folder (beside the executable, holding skin/, DefaultData/ …),
// the per-user data folder ($XDG_DATA_HOME/Dravik/<kind>/), the settings folder
// ($XDG_CONFIG_HOME/Dravik/) and the runtime folder for instance sockets
// ($XDG_RUNTIME_DIR/Dravik/, else a per-user folder in /tmp).
#include <filesystem>
#include <string>

namespace dravik::platform {

inline constexpr const char* kProductIdentity = "Dravik";

// Directory of the running executable. Overridable for tests with SetProgramFolder.
std::filesystem::path ProgramFolder();
void SetProgramFolder(const std::filesystem::path& folder);

// $XDG_DATA_HOME/Dravik/<kind> (default ~/.local/share), created on demand; empty kind gives the
// product folder itself. Returns an empty path when the folder cannot be created.
std::filesystem::path UserDataFolder(const std::string& kind = "");
std::filesystem::path ConfigFolder();
std::filesystem::path RuntimeFolder();

// Creates the folder (and parents) with the given mode; true when it exists afterwards.
bool EnsureFolder(const std::filesystem::path& folder, unsigned mode = 0700);

}  // namespace dravik::platform
