// The host's automation object, as Veltrano uses it: text in, text out (UTF-8).
//
// Failures: a statement or expression the host refuses raises RunTimeError
// err::kAutomationFailure and leaves LastErrorCode() non-zero with the reason in
// LastErrorMessage(). Once the host process has ended, every member raises err::kHostGone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/automation_members.h"

namespace veltrano {

// The members and what they answer are listed in automation_members.h.
class Automation {
public:
    virtual ~Automation() = default;

#define VELTRANO_DECLARE_MEMBER(name, result, argument) \
    virtual VELTRANO_RESULT_##result name VELTRANO_PARAMETERS_##argument = 0;
    VELTRANO_AUTOMATION_MEMBERS(VELTRANO_DECLARE_MEMBER)
#undef VELTRANO_DECLARE_MEMBER
};

// A held reference to the host object; released when the last holder lets go.
using AutomationPtr = std::shared_ptr<Automation>;

// How a host object is obtained (the platform's "get object" and "create object").
class AutomationProvider {
public:
    virtual ~AutomationProvider() = default;
    // The copy that is already running; raises err::kNoRunningCopy when there is none.
    virtual AutomationPtr attachRunning() = 0;
    // Starts a new copy and returns its object; raises RunTimeError on failure.
    virtual AutomationPtr startNew() = 0;
};

}  // namespace veltrano
