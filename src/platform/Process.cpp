#include "platform/Process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace dravik::platform {

bool LaunchProcess(const std::filesystem::path& program, const std::vector<std::string>& args) {
    std::vector<std::string> argvStore;
    argvStore.push_back(program.string());
    argvStore.insert(argvStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argvStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // A close-on-exec pipe tells the parent whether exec succeeded in the grandchild.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::close(report[0]);
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild != 0)
            _exit(grandchild < 0 ? 1 : 0);
        ::execv(argv[0], argv.data());
        int err = errno;
        [[maybe_unused]] ssize_t w = ::write(report[1], &err, sizeof err);
        _exit(127);
    }
    ::close(report[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    int err = 0;
    ssize_t n;
    do {
        n = ::read(report[0], &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    ::close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

}  // namespace dravik::platform
