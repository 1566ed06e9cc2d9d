// The source columns --keep carries onto the points: named and checked before anything is
// placed, filled in as each point is written (the engine gives only the object, distanceM and
// xRowId).
#pragma once

#include <string>
#include <vector>

#include "mbhost/table.h"
#include "mbhost/table_data.h"

namespace veltrano::batch {

struct KeptColumn {
    int source = 0;         // its index in the source table
    mbhost::ColumnDef def;  // as in the source: name, type, width
};

inline constexpr const char* kKeepAll = "all";

// Whose columns --keep names, as a refusal says it: the input's lines, or the events'.
enum class ColumnOwner { Input, Events };

// The columns "a,b" names in source, each once, or every column of source for "all". Empty,
// with the reason in error, when one is unknown, cannot be named in a MapBasic statement, or
// is one of own, the columns the points get anyway.
std::vector<KeptColumn> keptColumns(const std::string& list, const mbhost::TableData& source,
                                    const std::vector<std::string>& own, std::string& error,
                                    ColumnOwner owner = ColumnOwner::Input);
// Every column of source in its order; empty, with the ones that cannot be kept and the list
// to keep instead in error, when a name is one of own, is taken already, or cannot be named
// in a MapBasic statement.
std::vector<KeptColumn> allColumns(const mbhost::TableData& source,
                                   const std::vector<std::string>& own, std::string& error,
                                   ColumnOwner owner = ColumnOwner::Input);

// Sets the kept columns of point (from firstKept on) from the source row that selection's row
// rowId stands for.
void fillKeptColumns(mbhost::Row& point, std::size_t firstKept, std::int64_t rowId,
                     const std::vector<KeptColumn>& kept, const mbhost::Table& selection,
                     const mbhost::TableData& source);

}  // namespace veltrano::batch
