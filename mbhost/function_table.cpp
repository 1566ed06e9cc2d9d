#include <array>

#include "mbhost/functions.h"

namespace mbhost {

namespace {
constexpr std::array kFunctions = {
    FunctionSpec{"systeminfo", Fn::SystemInfo, 1, 1, false},
    FunctionSpec{"tableinfo", Fn::TableInfo, 2, 2, false},
    FunctionSpec{"columninfo", Fn::ColumnInfo, 3, 3, false},
    FunctionSpec{"numtables", Fn::NumTables, 0, 0, false},
    FunctionSpec{"selectioninfo", Fn::SelectionInfo, 1, 1, false},
    FunctionSpec{"eot", Fn::EOT, 1, 1, false},
    FunctionSpec{"numwindows", Fn::NumWindows, 0, 0, false},
    FunctionSpec{"numallwindows", Fn::NumAllWindows, 0, 0, false},
    FunctionSpec{"frontwindow", Fn::FrontWindow, 0, 0, false},
    FunctionSpec{"windowid", Fn::WindowId, 1, 1, false},
    FunctionSpec{"windowinfo", Fn::WindowInfo, 2, 2, false},
    FunctionSpec{"mapperinfo", Fn::MapperInfo, 2, 2, false},
    FunctionSpec{"tempfilename$", Fn::TempFileName, 1, 1, false},
    FunctionSpec{"pathtotablename$", Fn::PathToTableName, 1, 1, false},
    FunctionSpec{"objectinfo", Fn::ObjectInfo, 2, 2, false},
    FunctionSpec{"objectgeography", Fn::ObjectGeography, 2, 2, false},
    FunctionSpec{"objectnodex", Fn::ObjectNodeX, 3, 3, false},
    FunctionSpec{"objectnodey", Fn::ObjectNodeY, 3, 3, false},
    FunctionSpec{"objectlen", Fn::ObjectLen, 2, 2, false},
    FunctionSpec{"perimeter", Fn::Perimeter, 2, 2, false},
    FunctionSpec{"area", Fn::Area, 2, 2, false},
    FunctionSpec{"distance", Fn::Distance, 5, 5, false},
    FunctionSpec{"createpoint", Fn::CreatePoint, 2, 2, false},
    FunctionSpec{"createline", Fn::CreateLine, 4, 4, false},
    FunctionSpec{"centroidx", Fn::CentroidX, 1, 1, false},
    FunctionSpec{"centroidy", Fn::CentroidY, 1, 1, false},
    FunctionSpec{"str$", Fn::Str, 1, 1, false},
    FunctionSpec{"format$", Fn::Format, 2, 2, false},
    FunctionSpec{"chr$", Fn::Chr, 1, 1, false},
    FunctionSpec{"val", Fn::Val, 1, 1, false},
    FunctionSpec{"len", Fn::Len, 1, 1, false},
    FunctionSpec{"ucase$", Fn::UCase, 1, 1, false},
    FunctionSpec{"lcase$", Fn::LCase, 1, 1, false},
    FunctionSpec{"left$", Fn::Left, 2, 2, false},
    FunctionSpec{"right$", Fn::Right, 2, 2, false},
    FunctionSpec{"mid$", Fn::Mid, 3, 3, false},
    FunctionSpec{"ltrim$", Fn::LTrim, 1, 1, false},
    FunctionSpec{"rtrim$", Fn::RTrim, 1, 1, false},
    FunctionSpec{"asc", Fn::Asc, 1, 1, false},
    FunctionSpec{"int", Fn::Int, 1, 1, false},
    FunctionSpec{"fix", Fn::Fix, 1, 1, false},
    FunctionSpec{"round", Fn::Round, 2, 2, false},
    FunctionSpec{"abs", Fn::Abs, 1, 1, false},
    FunctionSpec{"sqr", Fn::Sqr, 1, 1, false},
    FunctionSpec{"minimum", Fn::Minimum, 2, 2, false},
    FunctionSpec{"maximum", Fn::Maximum, 2, 2, false},
    FunctionSpec{"curdate", Fn::CurDate, 0, 0, false},
    FunctionSpec{"count", Fn::Count, 1, 1, true},
    FunctionSpec{"min", Fn::Min, 1, 1, true},
    FunctionSpec{"max", Fn::Max, 1, 1, true},
    FunctionSpec{"sum", Fn::Sum, 1, 1, true},
    FunctionSpec{"avg", Fn::Avg, 1, 1, true},
};
}  // namespace

const FunctionSpec* findFunction(std::string_view lowerName) {
    for (const auto& entry : kFunctions) {
        if (entry.name == lowerName) return &entry;
    }
    return nullptr;
}

const FunctionSpec& functionSpec(Fn id) {
    for (const auto& entry : kFunctions) {
        if (entry.id == id) return entry;
    }
    return kFunctions[0];  // unreachable: every Fn has a row
}

}  // namespace mbhost
