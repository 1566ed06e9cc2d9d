// Which output table names the placement may paste into its statements.
#pragma once

#include <string>

#include "host/miProObj.h"

namespace veltrano {

// A MapBasic name, or the name of a table the host holds open (tables: its table list).
// Anything else could change what the statements do.
bool isUsableOutputTable(const std::string& name, const TableList& tables);

}  // namespace veltrano
