#pragma once
// Runs the program under test as a real process (fork/exec) with extra environment variables.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace dravik::test {

inline std::string ProgramPath() {
    const char* dir = std::getenv("DRAVIK_BIN_DIR");
    return std::string(dir ? dir : ".") + "/dravik";
}

class Subprocess {
  public:
    Subprocess(std::vector<std::string> args,
               std::vector<std::pair<std::string, std::string>> env) {
        pid_ = ::fork();
        if (pid_ == 0) {
            for (auto& [k, v] : env)
                ::setenv(k.c_str(), v.c_str(), 1);
            std::vector<char*> argv;
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            _exit(127);
        }
    }
    ~Subprocess() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Subprocess(const Subprocess&) = delete;
    Subprocess& operator=(const Subprocess&) = delete;

    // Waits up to timeoutMs; returns the exit status, or -1 when still running / killed.
    int Wait(int timeoutMs) {
        for (int waited = 0;; waited += 10) {
            int status = 0;
            pid_t r = ::waitpid(pid_, &status, WNOHANG);
            if (r == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (waited >= timeoutMs)
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    void Signal(int sig) { ::kill(pid_, sig); }

  private:
    pid_t pid_ = -1;
    bool exited_ = false;
};

}  // namespace dravik::test
