#pragma once
// The program's command line.
#include <optional>
#include <string>
#include <vector>

namespace dravik {

struct Options {
    bool help = false;
    bool version = false;
    bool headless = false;
    bool demo = false;
    std::vector<std::string> demoDevices;  // empty with demo: the default set
    std::string simState;
    std::string script;
};

// Parses argv; on a bad argument returns nullopt and sets error.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);
std::string UsageText();

}  // namespace dravik
