// The host's automation object as Veltrano sees it when the host is the mbhost process.
#pragma once

#include <string>

#include "automation/socket/socket_connection.h"
#include "host/automation.h"

namespace veltrano::ipc {

class SocketAutomation : public Automation {
public:
    explicit SocketAutomation(SocketConnection connection);

    std::string Eval(std::string_view expression) override;
    void Do(std::string_view statement) override;
    void RunCommand(std::string_view statement) override;
    void RunMenuCommand(std::int32_t menuCode) override;
    std::int32_t LastErrorCode() override;
    void SetLastErrorCode(std::int32_t code) override;
    std::string LastErrorMessage() override;
    bool Visible() override;
    void SetVisible(bool visible) override;
    std::string Name() override;
    std::string FullName() override;
    std::string ProductLevel() override;
    std::string Version() override;
    std::string Application() override;

private:
    // The value the host answered; a failure or refusal raises RunTimeError.
    std::string call(Member member, std::string_view argument = {});
    SocketConnection connection_;
};

}  // namespace veltrano::ipc
