#pragma once
// Starting another program, fire and forget (the firmware updater, a companion process).
#include <filesystem>
#include <string>
#include <vector>

namespace dravik::platform {

// Starts program with arguments, detached from this process (no zombie is left behind). True when
// the program was executed; false when it could not be started.
bool LaunchProcess(const std::filesystem::path& program, const std::vector<std::string>& args);

}  // namespace dravik::platform
