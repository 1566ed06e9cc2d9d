// The host's automation object reached through COM: every member late-bound by name.
#pragma once

#include "automation/com/dispatch_client.h"
#include "host/automation.h"

namespace veltrano::com {

class ComAutomation final : public Automation {
public:
    explicit ComAutomation(ComPtr<IDispatch> application);

    VELTRANO_AUTOMATION_MEMBERS(VELTRANO_AUTOMATION_OVERRIDE)

private:
    Variant callWithText(const wchar_t* member, std::string_view text);
    DispatchClient host_;
};

}  // namespace veltrano::com
