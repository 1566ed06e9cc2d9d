// What a failed COM call means to Veltrano: the run-time error the program reports.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/run_time_error.h"

namespace veltrano::com {

// The member or method name does not exist on the object.
inline constexpr std::int32_t kNoSuchMember = 438;

// The server process has ended or its connection is gone: every later call fails alike.
bool meansHostGone(HRESULT hr) noexcept;

// DISP_E_EXCEPTION becomes err::kAutomationFailure with the host's own description from info
// (when given); a gone server err::kHostGone; the rest their nearest run-time error, or the
// HRESULT itself with the system's text for it. source names the member that failed.
RunTimeError errorFromHresult(HRESULT hr, const EXCEPINFO* info, std::string_view source);

// The system's text for an HRESULT, or "Automation error 0x800XXXXX" when it has none.
std::string systemMessage(HRESULT hr);

}  // namespace veltrano::com
