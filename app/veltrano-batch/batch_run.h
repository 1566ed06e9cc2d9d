// One run of veltrano-batch: attach, place, print.
#pragma once

#include <ostream>
#include <string>

#include "batch_options.h"
#include "exit_status.h"
#include "host/automation.h"

namespace veltrano::batch {

// Where the host is looked for, as the user can know it (mbhost's socket path).
struct HostSource {
    AutomationProvider& hosts;
    std::string address;
};

// Runs the dialog's OK over the host's selection with the given inputs; the resulting
// summary text goes to out, the messages to err.
ExitStatus runBatch(const Options& options, HostSource host, std::ostream& out, std::ostream& err);

}  // namespace veltrano::batch
