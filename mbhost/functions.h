// The built-in functions mbhost knows: names, argument counts, and their evaluation.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "mbhost/value.h"

namespace mbhost {

enum class Fn {
    // workspace
    SystemInfo,
    TableInfo,
    ColumnInfo,
    NumTables,
    SelectionInfo,
    EOT,
    NumWindows,
    NumAllWindows,
    FrontWindow,
    WindowId,
    WindowInfo,
    MapperInfo,
    TempFileName,
    PathToTableName,
    // objects and measurement
    ObjectInfo,
    ObjectGeography,
    ObjectNodeX,
    ObjectNodeY,
    ObjectLen,
    Perimeter,
    Area,
    Distance,
    CreatePoint,
    CreateLine,
    CentroidX,
    CentroidY,
    // text and numbers
    Str,
    Format,
    Chr,
    Val,
    Len,
    UCase,
    LCase,
    Left,
    Right,
    Mid,
    LTrim,
    RTrim,
    Asc,
    Int,
    Fix,
    Round,
    Abs,
    Sqr,
    Minimum,
    Maximum,
    CurDate,
    // aggregates (Select lists only)
    Count,
    Min,
    Max,
    Sum,
    Avg,
};

struct FunctionSpec {
    std::string_view name;  // as MapBasic writes it, lower-cased for look-up
    Fn id;
    int minArgs;
    int maxArgs;
    bool aggregate;
};

// Null when `lowerName` is not a function.
const FunctionSpec* findFunction(std::string_view lowerName);
const FunctionSpec& functionSpec(Fn id);

}  // namespace mbhost
