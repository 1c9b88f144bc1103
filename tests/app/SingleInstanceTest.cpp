#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "support/Subprocess.h"
#include "support/TempDir.h"

using namespace dravik::test;

namespace {
std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WaitFor(auto condition, int timeoutMs = 5000) {
    for (int i = 0; i < timeoutMs / 10; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

bool HasInstanceSocket(const std::filesystem::path& folder) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        if (e.path().filename().string().rfind("inst-", 0) == 0)
            return true;
    return false;
}
}  // namespace

TEST(SingleInstance, SecondCopyWakesTheFirstAndExitsZero) {
    TempDir dir;
    std::filesystem::create_directories(dir / "runtime");
    auto env = [&](const std::string& trace) {
        return std::vector<std::pair<std::string, std::string>>{
            {"XDG_RUNTIME_DIR", (dir / "runtime").string()},
            {"XDG_CONFIG_HOME", (dir / "config").string()},
            {"XDG_DATA_HOME", (dir / "data").string()},
            {"DRAVIK_TRACE", (dir / trace).string()}};
    };
    Subprocess first({ProgramPath(), "--headless"}, env("first.log"));
    ASSERT_TRUE(WaitFor([&] { return HasInstanceSocket(dir / "runtime" / "Dravik"); }));

    Subprocess second({ProgramPath(), "--headless"}, env("second.log"));
    EXPECT_EQ(second.Wait(10000), 0);
    EXPECT_NE(Slurp(dir / "second.log").find("软件标示："), std::string::npos);

    EXPECT_TRUE(WaitFor([&] {
        return Slurp(dir / "first.log").find("instance message Dravik wParam 0 lParam 1") !=
               std::string::npos;
    })) << Slurp(dir / "first.log");
    EXPECT_EQ(first.Wait(0), -1);  // the first copy keeps running
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(5000), 0);
}

TEST(CommandLine, HelpVersionAndBadArguments) {
    EXPECT_EQ(Subprocess({ProgramPath(), "--help"}, {}).Wait(5000), 0);
    EXPECT_EQ(Subprocess({ProgramPath(), "--version"}, {}).Wait(5000), 0);
    EXPECT_EQ(Subprocess({ProgramPath(), "--bogus"}, {}).Wait(5000), 2);
}
