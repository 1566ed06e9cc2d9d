#include "exit_status.h"

namespace veltrano::batch {

const std::array<ExitStatusMeaning, 7> kExitStatuses{{
    {kPlaced,
     "every computed point was placed (a note says so when no distance fell on any "
     "selected object)"},
    {kBadArguments, "bad arguments"},
    {kHostUnreachable, "the host cannot be reached (the socket tried and why are said)"},
    {kRefused,
     "the distances or the output table were refused before any placement, or the "
     "host refused every insert"},
    {kNothingSelected, "nothing is selected"},
    {kStopped, "a failure stopped the placement (host gone, no answer, internal error)"},
    {kPartlyPlaced, "some points were placed and the host refused others"},
}};

std::string exitStatusLines() {
    std::string lines;
    for (const auto& [status, meaning] : kExitStatuses) {
        lines += "  " + std::to_string(static_cast<int>(status)) + "  " + meaning + "\n";
    }
    return lines;
}

}  // namespace veltrano::batch
