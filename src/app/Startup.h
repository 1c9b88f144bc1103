#pragma once
// The program's start-up and tear-down: fonts, single instance, registered messages, then the
// main loop.
#include <string>
#include <vector>

namespace dravik {

// Runs the program; returns the process exit status.
int RunProgram(const std::vector<std::string>& args);

}  // namespace dravik
