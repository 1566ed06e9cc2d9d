#pragma once

#include <ostream>

#include "options.h"

namespace mbhost::app {

// Runs the -e and -x steps in the running mbhost, in order, printing each value on out.
// Stops at the first failure, which it reports on errors as "Error N: message".
// Returns the exit status: 0, or 1 after a failure.
int runAttach(const Options& options, std::ostream& out, std::ostream& errors);

}  // namespace mbhost::app
