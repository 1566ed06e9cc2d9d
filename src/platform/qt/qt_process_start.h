// The process-start port on Qt.
#pragma once

#include "platform/process_start.h"

namespace veltrano {

// Starts programs detached from this process, so they outlive it.
class QtProcessStart final : public ProcessStartPort {
public:
    bool fileExists(std::string_view path) override;
    void start(std::string_view path) override;
};

}  // namespace veltrano
