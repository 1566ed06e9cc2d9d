#include "exit_status.h"

namespace veltrano::batch {

const std::array<ExitStatusMeaning, 10> kExitStatuses{{
    {kPlaced,
     "every computed point was placed (a note says so when no distance fell on any "
     "selected object)"},
    {kBadArguments, "bad arguments"},
    {kHostUnreachable, "the host cannot be reached (the socket tried and why are said)"},
    {kRefused,
     "the distances or the output table were refused before any placement, or the "
     "host refused every insert, or no selected row could be placed along, or no event"},
    {kNothingSelected, "nothing is selected"},
    {kStopped, "a failure stopped the placement (host gone, no answer, internal error)"},
    {kPartlyPlaced,
     "some points were placed and the host refused others, or some events could not be placed "
     "(a file output holds the placed ones)"},
    {kInputUnreadable, "the input file cannot be opened or read"},
    {kOutputUnwritable,
     "the output file or the picture cannot be written (it exists, or appeared during the "
     "run, without --overwrite, it is one of the input's files, its folder is not writable, "
     "the disk is full, or it cannot hold the input's system): neither is left"},
    {kInterrupted,
     "interrupted (SIGINT, SIGTERM) before the output was committed: no output was written"},
}};

std::string exitStatusLines() {
    std::string lines;
    for (const auto& [status, meaning] : kExitStatuses) {
        lines += "  " + std::to_string(static_cast<int>(status)) + "  " + meaning + "\n";
    }
    return lines;
}

}  // namespace veltrano::batch
