// How the engine's procedures meet run-time failures: every failure is taken as a
// RunTimeError, recorded as the pending error, and shown in an internal-error box.
#pragma once

#include <cstdint>
#include <string_view>

#include "foundation/run_time_error.h"
#include "host/automation.h"
#include "platform/message_box.h"

namespace veltrano {

inline constexpr std::string_view kObjToArrayCaption = "Application Internal Error [objToArray]:";
inline constexpr std::string_view kSetPointsOnLineCaption =
    "Application Internal Error [setPointsOnLine]:";

namespace engine_err {
inline constexpr std::int32_t kInvalidArgument = 5;  // e.g. a pair answer without ";"
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kObjectNotSet = 91;  // no host object held
inline constexpr std::int32_t kInternal = 51;      // anything the engine did not foresee
}  // namespace engine_err

// The host object a procedure talks to; raises kObjectNotSet when none is held.
Automation& heldHost(const AutomationPtr& host);

// Inside a catch block: the exception in flight as a RunTimeError (an allocation failure
// becomes err::kOutOfMemory, any other standard exception kInternal), recorded in LastError.
RunTimeError recordCaughtFailure();

// "<number>: <description>" in a box with the exclamation icon.
void showInternalError(MessageBoxPort& messages, std::string_view caption,
                       const RunTimeError& failure);

}  // namespace veltrano
