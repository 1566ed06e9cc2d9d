#include "automation/socket/socket_automation_provider.h"

#include <memory>
#include <stdexcept>
#include <thread>

#include "automation/socket/host_launcher.h"
#include "automation/socket/socket_automation.h"
#include "automation/socket/socket_connection.h"
#include "automation/socket/socket_path.h"
#include "foundation/run_time_error.h"

namespace veltrano::ipc {
namespace {

// How often startNew looks whether the new host listens yet.
constexpr std::chrono::milliseconds kStartPollInterval{20};

}  // namespace

SocketAutomationProvider::SocketAutomationProvider(std::string socketPath, std::string hostProgram)
    : socketPath_(socketPath.empty() ? defaultSocketPath() : std::move(socketPath)),
      hostProgram_(hostProgram.empty() ? findHostProgram() : std::move(hostProgram)) {}

AutomationPtr SocketAutomationProvider::attachRunning() {
    return std::make_shared<SocketAutomation>(SocketConnection::open(socketPath_));
}

AutomationPtr SocketAutomationProvider::startNew() {
    try {
        launchDetached({hostProgram_, "--socket", socketPath_});
    } catch (const std::runtime_error& failure) {
        throw RunTimeError(err::kNoRunningCopy, failure.what(), "CreateObject");
    }
    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    for (;;) {
        try {
            return attachRunning();
        } catch (const RunTimeError& notYet) {
            if (std::chrono::steady_clock::now() >= deadline) {
                throw RunTimeError(
                    err::kNoRunningCopy,
                    "mbhost (" + hostProgram_ + ") did not start listening at " + socketPath_,
                    "CreateObject");
            }
        }
        std::this_thread::sleep_for(kStartPollInterval);
    }
}

}  // namespace veltrano::ipc
