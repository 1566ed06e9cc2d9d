#include "automation/socket/socket_automation_provider.h"

#include <sys/stat.h>

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

SocketAutomationProvider::SocketAutomationProvider(const std::string& socketPath,
                                                   std::string hostProgram)
    : location_(locateSocket(socketPath)),
      hostProgram_(hostProgram.empty() ? findHostProgram() : std::move(hostProgram)) {}

AutomationPtr SocketAutomationProvider::attachRunning() {
    // The host makes the default directory; until then nobody listens there.
    const std::string directory = parentDirectory(location_.path);
    struct stat info {};
    if (location_.inPrivateDirectory && ::lstat(directory.c_str(), &info) == 0) {
        try {
            checkPrivateDirectory(directory);
        } catch (const std::runtime_error& spoofed) {
            throw RunTimeError(err::kNoRunningCopy,
                               "refusing the mbhost at " + location_.path + ": " + spoofed.what(),
                               "SocketAutomation");
        }
    }
    return std::make_shared<SocketAutomation>(SocketConnection::open(location_.path));
}

AutomationPtr SocketAutomationProvider::startNew() {
    try {
        if (location_.inPrivateDirectory) preparePrivateDirectory(parentDirectory(location_.path));
        launchDetached({hostProgram_, "--socket", location_.path});
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
                    "mbhost (" + hostProgram_ + ") did not start listening at " + location_.path,
                    "CreateObject");
            }
        }
        std::this_thread::sleep_for(kStartPollInterval);
    }
}

}  // namespace veltrano::ipc
