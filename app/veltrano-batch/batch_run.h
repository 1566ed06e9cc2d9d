// One run of veltrano-batch: attach, place, print.
#pragma once

#include <ostream>

#include "batch_options.h"
#include "host/automation.h"

namespace veltrano::batch {

enum ExitStatus : int {
    kPlaced = 0,
    kBadArguments = 1,
    kHostUnreachable = 2,
    kRefused = 3,
    kNothingSelected = 4,
    kStopped = 5,
};

// Runs the dialog's OK over the host's selection with the given inputs; the resulting
// summary text goes to out, the messages to err.
ExitStatus runBatch(const Options& options, AutomationProvider& hosts, std::ostream& out,
                    std::ostream& err);

}  // namespace veltrano::batch
