// mbhost's command line.
#pragma once

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace mbhost::app {

struct AttachStep {
    enum class Kind { Evaluate, Execute };
    Kind kind;
    std::string text;
    bool operator==(const AttachStep&) const = default;
};

struct Options {
    bool help = false;
    bool version = false;
    std::string socketPath;  // empty: the default path
    std::string traceFile;
    std::chrono::milliseconds frameTimeout{10000};  // a client's frame may stay incomplete
    std::vector<std::string> scriptFiles;           // run in order at start
    bool console = false;  // a console even when standard input is not a terminal
    bool attach = false;   // drive a running mbhost instead of being one
    std::vector<AttachStep> steps;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raises UsageError naming what is wrong.
Options parseOptions(const std::vector<std::string>& arguments);

extern const char* const kUsage;

}  // namespace mbhost::app
