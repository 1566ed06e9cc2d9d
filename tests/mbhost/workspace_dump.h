// A full text picture of a workspace, so a test can show that a failed statement changed
// nothing at all.
#pragma once

#include <string>

#include "mbhost/workspace.h"

namespace mbhost::testing {

std::string dumpWorkspace(const Workspace& ws);

}  // namespace mbhost::testing
