// Starts programs with CreateProcessW.
#pragma once

#include "platform/process_start.h"

namespace veltrano::win32 {

class Win32ProcessStart final : public ProcessStartPort {
public:
    bool fileExists(std::string_view path) override;
    // Raises RunTimeError 53 "File not found" when the program cannot be started.
    void start(std::string_view path) override;
};

}  // namespace veltrano::win32
