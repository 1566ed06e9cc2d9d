// The rows the file mode passed over: each named once, then counted by kind for the summary.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "kept_columns.h"
#include "mbhost/table.h"
#include "placement/place_selection.h"

namespace veltrano::batch {

// Says "row N (its first kept value): why" on err for each object of report that was not
// reached (report.objects walk selection's rows in order; N is the row in source). Returns
// "3 rows skipped: 2 no line, 1 out of range", empty when none was.
std::string reportSkippedRows(const PlacementReport& report, const mbhost::Table& selection,
                              const mbhost::TableData& source, const std::vector<KeptColumn>& kept,
                              std::ostream& err);

}  // namespace veltrano::batch
