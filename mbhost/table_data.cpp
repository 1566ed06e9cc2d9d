#include "mbhost/table_data.h"

namespace mbhost {

std::int32_t columnTypeCode(ColumnType type) {
    switch (type) {
        case ColumnType::Char:
            return 1;
        case ColumnType::Decimal:
            return 2;
        case ColumnType::Float:
            return 3;
        case ColumnType::Integer:
            return 4;
        case ColumnType::SmallInt:
            return 5;
        case ColumnType::Date:
            return 6;
        case ColumnType::Logical:
            return 7;
    }
    return 0;
}

std::string columnTypeText(const ColumnDef& c) {
    switch (c.type) {
        case ColumnType::Char:
            return "Char(" + std::to_string(c.width) + ")";
        case ColumnType::Decimal:
            return "Decimal(" + std::to_string(c.width) + "," + std::to_string(c.decimals) + ")";
        case ColumnType::Float:
            return "Float";
        case ColumnType::Integer:
            return "Integer";
        case ColumnType::SmallInt:
            return "SmallInt";
        case ColumnType::Date:
            return "Date";
        case ColumnType::Logical:
            return "Logical";
    }
    return {};
}

}  // namespace mbhost
