// Records the scripted placement session against mbhost running on this machine: mbhost's
// trace of every request it answered, and the report of what the user saw. The Windows build
// replays both.
#pragma once

#include <string>

#include "support/request_log.h"

namespace veltrano::testing {

struct RecordedSession {
    std::string tracePath;
    std::string reportPath;
    RequestLog sent;  // every request as the session made it, for setting beside the trace
};

// Writes placement.trace.jsonl and placement.report.txt into directory, which must exist.
// Raises std::runtime_error when mbhost cannot be started or reached.
RecordedSession recordPlacementSession(const std::string& directory);

}  // namespace veltrano::testing
