// Starting mbhost in the background, so that it outlives whoever started it.
#pragma once

#include <string>
#include <vector>

namespace veltrano::ipc {

// The mbhost program to start: MBHOST_PROGRAM when set; else an mbhost beside this program
// or in the build tree's app/mbhost next to it; else "mbhost", looked up in PATH.
std::string findHostProgram();

// Starts argv[0] with the arguments that follow, detached (its own session, standard input
// and output on /dev/null, never a zombie of ours). Raises std::runtime_error naming the
// program when it cannot be started.
void launchDetached(const std::vector<std::string>& argv);

}  // namespace veltrano::ipc
