// The mbhost program run as a separate process, as Veltrano and a shell meet it.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "served_host.h"

namespace mbhost::testing {

struct Finished {
    int status = -1;  // the exit status; -1 when it did not end in time or died of a signal
    std::string out;
    std::string err;
};

class MbhostProcess {
public:
    // Starts mbhost with these arguments; standard input from input, outputs into files.
    MbhostProcess(const std::vector<std::string>& arguments, const std::string& input = {});
    ~MbhostProcess();  // kills it if it still runs

    // Whether something accepts connections at path within 10 s.
    bool listensAt(const std::string& path) const;
    void signal(int number);
    // Waits at most 10 s for the end and collects what it wrote.
    Finished wait();

private:
    veltrano::testing::TempDir directory_;  // standard input and outputs
    pid_t pid_ = -1;
};

// Runs mbhost to its end (10 s at most).
Finished runMbhost(const std::vector<std::string>& arguments, const std::string& input = {});

std::string readFile(const std::string& path);

}  // namespace mbhost::testing
