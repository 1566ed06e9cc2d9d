// veltrano-batch's file mode: mbhost in this process opens the input file, the dialog's
// presenter and engine place the points, and the store writes the output file whole.
#pragma once

#include <ostream>

#include "batch_options.h"
#include "exit_status.h"

namespace veltrano::batch {

// Where a run's time went, in seconds.
struct RunTimes {
    double open = 0;   // reading the input (Open Table, the selection)
    double place = 0;  // the presenter and the engine, with the host calls they make
    double host = 0;   // of place, inside the host's Do and Eval
    double write = 0;  // writing and committing the output
};

// Runs options (options.file set) with the messages, the progress and the summary on err;
// errIsTerminal lets the progress line be drawn.
ExitStatus runFile(const Options& options, std::ostream& err, bool errIsTerminal,
                   RunTimes* times = nullptr);

}  // namespace veltrano::batch
