// Obtains the running mbhost, or starts one, the way the platform obtains the host elsewhere.
#pragma once

#include <chrono>
#include <string>

#include "automation/socket/socket_path.h"
#include "host/automation.h"

namespace veltrano::ipc {

class SocketAutomationProvider : public AutomationProvider {
public:
    // socketPath: where the host listens (locateSocket() when empty); hostProgram: what
    // startNew runs (findHostProgram() when empty).
    explicit SocketAutomationProvider(const std::string& socketPath = {},
                                      std::string hostProgram = {});

    // Raises RunTimeError err::kNoRunningCopy when no host listens at the path, and when the
    // default path's directory or the host at the path belongs to another user.
    AutomationPtr attachRunning() override;
    // Starts mbhost in the background on the path and attaches to it once it listens.
    AutomationPtr startNew() override;

    const std::string& socketPath() const { return location_.path; }
    // How long startNew waits for a new host to listen.
    std::chrono::milliseconds startTimeout{10000};

private:
    SocketLocation location_;
    std::string hostProgram_;
};

}  // namespace veltrano::ipc
