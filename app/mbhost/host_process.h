#pragma once

#include "options.h"

namespace mbhost::app {

// Runs mbhost as a host: listens, runs the start-up script, serves clients and the console
// until End MapInfo, the end of the console's input or SIGTERM/SIGINT/SIGHUP. Returns the
// exit status: 0 on a clean end, 1 when it cannot start or the script fails.
int runHost(const Options& options);

}  // namespace mbhost::app
