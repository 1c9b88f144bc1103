#include "app/Options.h"

#include <sstream>

namespace dravik {
namespace {

std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> out;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty())
            out.push_back(item);
    return out;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                error = std::string(name) + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--headless") {
            o.headless = true;
        } else if (a == "--demo") {
            o.demo = true;
        } else if (a.rfind("--demo=", 0) == 0) {
            o.demo = true;
            o.demoDevices = SplitList(a.substr(7));
        } else if (a == "--sim-state") {
            auto v = value("--sim-state");
            if (!v)
                return std::nullopt;
            o.simState = *v;
        } else if (a == "--script") {
            auto v = value("--script");
            if (!v)
                return std::nullopt;
            o.script = *v;
        } else {
            error = "unknown argument: " + a;
            return std::nullopt;
        }
    }
    return o;
}

std::string UsageText() {
    return "Usage: dravik [OPTIONS]\n"
           "Configuration utility for the Dravik mouse, keyboard, mouse pad and headset.\n"
           "\n"
           "  --demo[=LIST]     attach emulated devices (default: "
           "mouse,keyboard,mousepad,headset;\n"
           "                    also mouse-receiver, keyboard-receiver)\n"
           "  --sim-state FILE  load the emulated devices' memory from FILE, write it back at "
           "exit\n"
           "  --script FILE     run an automation script, then exit with its status\n"
           "  --headless        run without a display even when one is present\n"
           "  --version         print the version\n"
           "  --help            print this text\n"
           "\n"
           "Only one copy runs at a time: starting a second one wakes the first and exits.\n"
           "With DISPLAY or WAYLAND_DISPLAY set the windows are shown on that display; without\n"
           "one, or with --headless, they are drawn in memory only. Scripts and screenshots work\n"
           "the same either way. SIGINT/SIGTERM end the program as closing it would.\n"
           "\n"
           "Environment: DRAVIK_TRACE=stderr|FILE turns the diagnostic trace on.\n";
}

}  // namespace dravik
