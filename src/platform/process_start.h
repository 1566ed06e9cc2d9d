// Port: starting another program.
#pragma once

#include <string_view>

namespace veltrano {

class ProcessStartPort {
public:
    virtual ~ProcessStartPort() = default;
    // Whether a file exists at path (a directory does not count).
    virtual bool fileExists(std::string_view path) = 0;
    // Starts the program with a normal, focused window and returns without waiting.
    // Raises RunTimeError when it cannot be started.
    virtual void start(std::string_view path) = 0;
};

}  // namespace veltrano
