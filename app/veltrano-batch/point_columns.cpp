#include "point_columns.h"

#include "dialog/form1.h"

namespace veltrano::batch {

std::vector<mbhost::ColumnDef> ownColumns(const PointColumns& columns) {
    std::vector<mbhost::ColumnDef> own = {{Form1::kDistanceColumn, mbhost::ColumnType::Float},
                                          {Form1::kRowIdColumn, mbhost::ColumnType::Integer}};
    if (columns.angle) own.push_back({kAngleColumn, mbhost::ColumnType::Float});
    if (columns.part) own.push_back({kPartColumn, mbhost::ColumnType::Integer});
    return own;
}

std::vector<std::string> ownColumnNames(const PointColumns& columns) {
    std::vector<std::string> names;
    for (const auto& column : ownColumns(columns)) names.push_back(column.name);
    return names;
}

}  // namespace veltrano::batch
