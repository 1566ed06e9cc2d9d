// The host's automation object reached through COM: every member late-bound by name.
#pragma once

#include "automation/com/dispatch_client.h"
#include "host/automation.h"

namespace veltrano::com {

class ComAutomation final : public Automation {
public:
    explicit ComAutomation(ComPtr<IDispatch> application);

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
    Variant callWithText(const wchar_t* member, std::string_view text);
    DispatchClient host_;
};

}  // namespace veltrano::com
