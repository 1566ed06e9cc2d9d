#include "automation/socket/host_launcher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "automation/socket/file_descriptor.h"

namespace veltrano::ipc {
namespace {

bool isExecutable(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string ownDirectory() {
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) return {};
    std::string self(path, static_cast<std::size_t>(length));
    return self.substr(0, self.find_last_of('/'));
}

// Runs in the grandchild: only async-signal-safe calls until exec.
[[noreturn]] void execHost(char* const* argv, int errorPipe) {
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
    }
    ::execvp(argv[0], argv);
    const int error = errno;
    [[maybe_unused]] const auto written = ::write(errorPipe, &error, sizeof(error));
    ::_exit(127);
}

}  // namespace

std::string findHostProgram() {
    if (const char* chosen = std::getenv("MBHOST_PROGRAM"); chosen && *chosen) return chosen;
    const std::string here = ownDirectory();
    for (const char* relative : {"/mbhost", "/../mbhost/mbhost", "/../app/mbhost/mbhost"}) {
        if (!here.empty() && isExecutable(here + relative)) return here + relative;
    }
    return "mbhost";
}

void launchDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) throw std::invalid_argument("launchDetached needs a program");
    std::vector<char*> pointers;
    for (const auto& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);

    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(errno));
    }
    FileDescriptor readEnd(ends[0]);
    FileDescriptor writeEnd(ends[1]);
    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(errno));
    }
    if (child == 0) {
        // The middle process leaves at once, so the host is adopted by init, not by us.
        ::setsid();
        if (::fork() == 0) execHost(pointers.data(), writeEnd.get());
        ::_exit(0);
    }
    writeEnd.reset();
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int execError = 0;
    ssize_t got;
    do {
        got = ::read(readEnd.get(), &execError, sizeof(execError));
    } while (got < 0 && errno == EINTR);
    if (got == static_cast<ssize_t>(sizeof(execError))) {
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(execError));
    }
}

}  // namespace veltrano::ipc
