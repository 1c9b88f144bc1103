#pragma once
// A private X server for tests that need a real display: Xvfb on a display number it picks
// itself (-displayfd), so parallel tests and a developer's own X server never collide. Also runs
// helper programs (xdotool) and reads the server's pixels and window state through Xlib.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace dravik::test {

// Runs argv to its end and returns its exit status (-1 when it could not start); stdout is kept
// in out when given.
inline int RunProgram(const std::vector<std::string>& argv, std::string* out = nullptr) {
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return -1;
    }
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        if (out)
            out->append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class XvfbServer {
  public:
    XvfbServer() = default;
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    ~XvfbServer() { Stop(); }

    // Starts the server with one screen of the given size; false with the reason when Xvfb is
    // missing or does not come up within a few seconds.
    bool Start(int width, int height, std::string& why) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            why = "no pipe";
            return false;
        }
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        pid_ = fork();
        if (pid_ < 0) {
            why = "no fork";
            return false;
        }
        if (pid_ == 0) {
            // The server goes with the test process, however that ends; the display number
            // comes back on fd 3; the server's chatter goes nowhere.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            dup2(fds[1], 3);
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten",
                   "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The server writes the number once it accepts clients.
        std::string number;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        fcntl(fds[0], F_SETFL, O_NONBLOCK);
        while (std::chrono::steady_clock::now() < deadline) {
            char c;
            ssize_t n = read(fds[0], &c, 1);
            if (n == 1) {
                if (c == '\n')
                    break;
                number += c;
                continue;
            }
            if (n == 0)
                break;  // the server ended
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        close(fds[0]);
        if (number.empty()) {
            why = "Xvfb did not start or report a display (is it installed?)";
            Stop();
            return false;
        }
        display_ = ":" + number;
        return true;
    }

    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        pid_ = 0;
    }

    const std::string& Display() const { return display_; }

  private:
    pid_t pid_ = 0;
    std::string display_;
};

// A client connection for looking at what the server shows.
class XClient {
  public:
    explicit XClient(const std::string& display) : dpy_(XOpenDisplay(display.c_str())) {
        // A window may go away while it is being looked at: that is an answer, not an error
        // that ends the test process.
        XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
    }
    ~XClient() {
        if (dpy_)
            XCloseDisplay(dpy_);
    }
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;
    bool Ok() const { return dpy_ != nullptr; }
    ::Display* Get() const { return dpy_; }

    // The top-level window with this exact title, searched through the whole tree.
    Window FindByName(const std::string& name) { return Find(DefaultRootWindow(dpy_), name); }

    bool Shown(Window w) {
        XWindowAttributes a;
        return XGetWindowAttributes(dpy_, w, &a) && a.map_state == IsViewable;
    }

    // Position on the screen and size.
    std::optional<std::pair<std::pair<int, int>, std::pair<int, int>>> Geometry(Window w) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(dpy_, w, &a))
            return std::nullopt;
        int x = 0, y = 0;
        Window child;
        XTranslateCoordinates(dpy_, w, DefaultRootWindow(dpy_), 0, 0, &x, &y, &child);
        return std::make_pair(std::make_pair(x, y), std::make_pair(a.width, a.height));
    }

    // The screen's pixels of the window as 0xRRGGBB, row by row (empty when unreadable).
    std::vector<uint32_t> Pixels(Window w, int& width, int& height) {
        std::vector<uint32_t> out;
        XWindowAttributes a;
        if (!XGetWindowAttributes(dpy_, w, &a))
            return out;
        XImage* img = XGetImage(dpy_, w, 0, 0, static_cast<unsigned>(a.width),
                                static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
        if (!img)
            return out;
        width = a.width;
        height = a.height;
        out.reserve(static_cast<size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out.push_back(static_cast<uint32_t>(XGetPixel(img, x, y)) & 0xFFFFFF);
        XDestroyImage(img);
        return out;
    }

    bool HasState(Window w, const char* state) {
        Atom prop = XInternAtom(dpy_, "_NET_WM_STATE", True);
        Atom want = XInternAtom(dpy_, state, True);
        if (prop == None || want == None)
            return false;
        Atom type;
        int format;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        bool found = false;
        if (XGetWindowProperty(dpy_, w, prop, 0, 64, False, XA_ATOM, &type, &format, &count, &after,
                               &data) == Success &&
            data) {
            auto* atoms = reinterpret_cast<Atom*>(data);
            for (unsigned long i = 0; i < count; ++i)
                found = found || atoms[i] == want;
            XFree(data);
        }
        return found;
    }

  private:
    Window Find(Window w, const std::string& name) {
        char* title = nullptr;
        if (XFetchName(dpy_, w, &title) && title) {
            bool match = name == title;
            XFree(title);
            if (match)
                return w;
        }
        Window root, parent, *children = nullptr;
        unsigned n = 0;
        if (!XQueryTree(dpy_, w, &root, &parent, &children, &n))
            return 0;
        Window found = 0;
        for (unsigned i = 0; i < n && !found; ++i)
            found = Find(children[i], name);
        if (children)
            XFree(children);
        return found;
    }

    ::Display* dpy_;
};

}  // namespace dravik::test
