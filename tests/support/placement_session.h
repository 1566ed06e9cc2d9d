// One user's session with the main dialog, scripted so that it runs the same on every
// platform: open the dialog, place points from the start of each selected line into a table
// with the distance and row-id columns, place one from the end into a table without them
// (text labels), refresh, close. The random source and the clock are fixed, so the host sees
// the same requests, temporary variable names included, on every run.
#pragma once

#include <string>

#include "host/automation.h"

namespace veltrano::testing {

// The tables the session expects the host to offer.
inline constexpr const char* kSessionPointTable = "placed";
inline constexpr const char* kSessionLabelTable = "labels";

// Runs the session against whatever host hosts attaches to, and returns what the user saw
// (outcomes, the dialog's texts, message boxes, beeps), one fact a line, so that two runs
// compare as text.
std::string runPlacementSession(AutomationProvider& hosts);

}  // namespace veltrano::testing
