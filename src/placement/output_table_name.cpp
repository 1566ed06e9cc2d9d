#include "placement/output_table_name.h"

#include "foundation/mapbasic_name.h"
#include "host/answer_reader.h"

namespace veltrano {

bool isUsableOutputTable(const std::string& name, const TableList& tables) {
    if (isMapBasicName(name)) return true;
    const std::string wanted = upperCase(name);
    for (const auto& table : tables) {
        if (table && !name.empty() && upperCase(table->tName()) == wanted) return true;
    }
    return false;
}

}  // namespace veltrano
