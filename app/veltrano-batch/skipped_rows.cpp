#include "skipped_rows.h"

#include <map>

#include "mbhost/number_format.h"

namespace veltrano::batch {

namespace {

std::string rowName(std::int32_t sourceRow, const mbhost::TableData& source,
                    const std::vector<KeptColumn>& kept) {
    std::string name = "row " + std::to_string(sourceRow);
    if (kept.empty() || sourceRow < 1 || static_cast<std::size_t>(sourceRow) > source.rows.size())
        return name;
    const auto& fields = source.rows[static_cast<std::size_t>(sourceRow - 1)].fields;
    return name + " (" + mbhost::valueText(fields[static_cast<std::size_t>(kept[0].source)]) + ")";
}

std::string counted(const std::map<std::string, std::size_t>& kinds, std::size_t total) {
    std::string text = std::to_string(total) + (total == 1 ? " row" : " rows") + " skipped: ";
    if (kinds.size() == 1) return text + kinds.begin()->first;
    std::string list;
    for (const auto& [kind, count] : kinds) {
        list += (list.empty() ? "" : ", ") + std::to_string(count) + " " + kind;
    }
    return text + list;
}

}  // namespace

std::string reportSkippedRows(const PlacementReport& report, const mbhost::Table& selection,
                              const mbhost::TableData& source, const std::vector<KeptColumn>& kept,
                              std::ostream& err) {
    std::map<std::string, std::size_t> kinds;
    std::size_t total = 0;
    for (std::size_t i = 0; i < report.objects.size(); ++i) {
        const std::string& why = report.objects[i].unreached;
        if (why.empty()) continue;
        const std::int32_t row = i < selection.sourceRows.size() ? selection.sourceRows[i] : 0;
        err << "veltrano-batch: " << rowName(row, source, kept) << " skipped: " << why << '\n';
        ++kinds[why.substr(0, why.find(": "))];
        ++total;
    }
    return total == 0 ? std::string() : counted(kinds, total);
}

}  // namespace veltrano::batch
