// Obtains the host's automation object through COM: the running copy from the Running Object
// Table, or a new copy started by COM.
#pragma once

#include <string>

#include "host/automation.h"

namespace veltrano::com {

inline constexpr const wchar_t* kHostProgId = L"MapInfo.Application";

class ComAutomationProvider final : public AutomationProvider {
public:
    // The calling thread must be in a COM apartment (see ComApartment) for the provider's
    // life and for the life of every object it hands out.
    explicit ComAutomationProvider(std::wstring progId = kHostProgId);

    // Raises err::kNoRunningCopy (429) when the class is not registered or no copy runs.
    AutomationPtr attachRunning() override;
    // Starts a copy through COM and makes it visible; 429 when it cannot be created.
    AutomationPtr startNew() override;

private:
    std::wstring progId_;
};

}  // namespace veltrano::com
