#include "mbhost_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "automation/socket/unix_socket.h"

extern char** environ;

namespace mbhost::testing {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

MbhostProcess::MbhostProcess(const std::vector<std::string>& arguments, const std::string& input) {
    std::ofstream(directory_.file("in")) << input;

    std::vector<std::string> args = {MBHOST_PROGRAM_PATH};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, directory_.file("in").c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, directory_.file("out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, directory_.file("err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int failed = ::posix_spawn(&pid_, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (failed) throw std::runtime_error("cannot start " + args[0]);
}

MbhostProcess::~MbhostProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

bool MbhostProcess::listensAt(const std::string& path) const {
    for (int i = 0; i < 1000; ++i) {
        if (!veltrano::ipc::connectTo(path).empty()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void MbhostProcess::signal(int number) {
    ::kill(pid_, number);
}

Finished MbhostProcess::wait() {
    Finished finished;
    int status = 0;
    for (int i = 0; i < 1000 && pid_ > 0; ++i) {
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            if (WIFEXITED(status)) finished.status = WEXITSTATUS(status);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    finished.out = readFile(directory_.file("out"));
    finished.err = readFile(directory_.file("err"));
    return finished;
}

Finished runMbhost(const std::vector<std::string>& arguments, const std::string& input) {
    MbhostProcess process(arguments, input);
    return process.wait();
}

}  // namespace mbhost::testing
