// A shell command run to its end, as a user's shell runs it.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace veltrano::testing {

struct ShellRun {
    int status = -1;  // the exit status; -1 when a signal ended it
    std::string out;
};

inline ShellRun runShell(const std::string& command) {
    ShellRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    for (int c; (c = std::fgetc(pipe)) != EOF;) run.out += static_cast<char>(c);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace veltrano::testing
