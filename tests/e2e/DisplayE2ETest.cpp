// The program on a real display: started under a private Xvfb, it shows its main window; a real
// pointer click through the X server on the close button hides it, which the program's own
// script sees; the script's screenshot of the window has the window's size and is not blank.
#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "ui/XvfbServer.h"

using namespace dravik::test;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class ProgramOnDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string why;
        if (!server.Start(1920, 1080, why))
            GTEST_SKIP() << why;
        setenv("DISPLAY", server.Display().c_str(), 1);  // for xdotool
        home = fs::path(::testing::TempDir()) /
               ("dravik-display-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(home);
        fs::create_directories(home / "run");
    }
    void TearDown() override {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }

    // Starts the program with a script on the test's display.
    void Start(const std::string& script, std::vector<std::string> extra = {}) {
        fs::path file = home / "test.script";
        std::ofstream(file) << script;
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string v = *e;
            for (const char* drop : {"DISPLAY=", "WAYLAND_DISPLAY=", "XDG_", "DRAVIK_"})
                if (v.rfind(drop, 0) == 0)
                    v.clear();
            if (!v.empty())
                env.push_back(v);
        }
        env.push_back("DISPLAY=" + server.Display());
        env.push_back("XDG_RUNTIME_DIR=" + (home / "run").string());
        env.push_back("XDG_DATA_HOME=" + (home / "data").string());
        env.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
        env.push_back("DRAVIK_TRACE=" + (home / "trace.txt").string());
        std::vector<std::string> argv = {DRAVIK_PROGRAM};
        argv.insert(argv.end(), extra.begin(), extra.end());
        argv.push_back("--script");
        argv.push_back(file.string());
        std::vector<char*> args, envp;
        for (auto& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        ASSERT_EQ(posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), envp.data()), 0);
    }

    // Waits for the program's end; its exit status, or -1 when it did not end in time.
    int Finish(int seconds) {
        for (int i = 0; i < seconds * 20; ++i) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            usleep(50000);
        }
        return -1;
    }

    XvfbServer server;
    fs::path home;
    pid_t pid = 0;
};

}  // namespace

TEST_F(ProgramOnDisplay, RealClickOnTheCloseButtonHidesTheWindowAndTheScreenshotIsTheWindow) {
    const fs::path shot = home / "main.png";
    Start(
        "message Dravik 0 1\n"
        "waitfor root visible true 10000\n"
        "# the test clicks the close button through the X server\n"
        "waitfor root visible false 30000\n"
        "message Dravik 0 1\n"
        "waitfor root visible true 5000\n"
        "screenshot " +
        shot.string() + "\n");
    XClient x(server.Display());
    ASSERT_TRUE(x.Ok());
    // The window shows and lays itself out after start (its DPI rule resizes and centres it):
    // aim only once its place has held still for a while, and aim again if a click missed.
    Window w = 0;
    using Geometry = std::pair<std::pair<int, int>, std::pair<int, int>>;
    auto steadyGeometry = [&](Geometry& out) {
        Geometry last{};
        int same = 0;
        for (int i = 0; i < 300 && same < 4; ++i) {
            w = w ? w : x.FindByName("Dravik");
            std::optional<Geometry> g;
            if (w && x.Shown(w))
                g = x.Geometry(w);
            same = g && *g == last ? same + 1 : 0;
            if (g)
                last = *g;
            usleep(100000);
        }
        out = last;
        return same >= 4;
    };
    Geometry geo{};
    bool hidden = false;
    std::string aims;
    for (int attempt = 0; attempt < 5 && !hidden; ++attempt) {
        ASSERT_TRUE(steadyGeometry(geo)) << ReadFile(home / "trace.txt");
        // The close button is the last one of the title bar: 32 wide, 6 from the right edge, in
        // a bar 40 high, all at 96 DPI and scaled with the window.
        const double s = geo.second.first / 1000.0;
        const int cx = geo.first.first + geo.second.first - static_cast<int>(22 * s);
        const int cy = geo.first.second + static_cast<int>(20 * s);
        aims += " " + std::to_string(cx) + "," + std::to_string(cy);
        ASSERT_EQ(RunProgram({"xdotool", "mousemove", std::to_string(cx), std::to_string(cy),
                              "click", "1"}),
                  0);
        for (int i = 0; i < 40 && !hidden; ++i) {
            hidden = !x.Shown(w);
            usleep(50000);
        }
    }
    EXPECT_TRUE(hidden) << "clicks at" << aims << " did not hide the window";
    const auto size = geo.second;
    EXPECT_EQ(Finish(30), 0) << ReadFile(home / "trace.txt");
    EXPECT_NE(ReadFile(home / "trace.txt").find("display: SDL video driver x11"),
              std::string::npos);

    cairo_surface_t* png = cairo_image_surface_create_from_png(shot.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), size.first);
    EXPECT_EQ(cairo_image_surface_get_height(png), size.second);
    // Not blank: a window of one colour would be a failed paint.
    std::set<uint32_t> colours;
    const unsigned char* data = cairo_image_surface_get_data(png);
    const int stride = cairo_image_surface_get_stride(png);
    for (int y = 0; y < cairo_image_surface_get_height(png); y += 3)
        for (int x = 0; x < cairo_image_surface_get_width(png); x += 3)
            colours.insert(*reinterpret_cast<const uint32_t*>(data + y * stride + x * 4));
    cairo_surface_destroy(png);
    EXPECT_GE(colours.size(), 4u);
}

TEST_F(ProgramOnDisplay, HeadlessOptionKeepsTheWindowsOffTheDisplay) {
    Start("expect title text Dravik\n", {"--headless"});
    EXPECT_EQ(Finish(30), 0);
    EXPECT_EQ(ReadFile(home / "trace.txt").find("display: SDL"), std::string::npos);
}
