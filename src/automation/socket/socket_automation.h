// The host's automation object as Veltrano sees it when the host is the mbhost process.
#pragma once

#include <string>

#include "automation/socket/socket_connection.h"
#include "host/automation.h"

namespace veltrano::ipc {

class SocketAutomation : public Automation {
public:
    explicit SocketAutomation(SocketConnection connection);

    VELTRANO_AUTOMATION_MEMBERS(VELTRANO_AUTOMATION_OVERRIDE)

private:
    // The value the host answered; a failure or refusal raises RunTimeError.
    std::string call(Member member, std::string_view argument = {});
    SocketConnection connection_;
};

}  // namespace veltrano::ipc
