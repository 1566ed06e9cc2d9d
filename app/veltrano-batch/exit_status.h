// veltrano-batch's exit statuses: the one table that --help and the README show.
#pragma once

#include <array>
#include <string>

namespace veltrano::batch {

enum ExitStatus : int {
    kPlaced = 0,
    kBadArguments = 1,
    kHostUnreachable = 2,
    kRefused = 3,
    kNothingSelected = 4,
    kStopped = 5,
    kPartlyPlaced = 6,
    kInputUnreadable = 7,
    kOutputUnwritable = 8,
    kInterrupted = 130,
};

struct ExitStatusMeaning {
    ExitStatus status;
    const char* meaning;
};

extern const std::array<ExitStatusMeaning, 10> kExitStatuses;

// The table as --help prints it: one "  N  meaning" line per status.
std::string exitStatusLines();

}  // namespace veltrano::batch
