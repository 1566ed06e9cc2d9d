#include "kept_columns.h"

#include <algorithm>
#include <sstream>

#include "dialog/distance_list.h"
#include "foundation/mapbasic_name.h"
#include "host/answer_reader.h"
#include "mbhost/value.h"

namespace veltrano::batch {

namespace {
bool sameName(const std::string& a, const std::string& b) {
    return upperCase(a) == upperCase(b);
}

std::vector<std::string> namesOf(const std::string& list) {
    std::vector<std::string> names;
    std::istringstream in(list);
    for (std::string name; std::getline(in, name, ',');) names.push_back(trimSpaces(name));
    return names;
}

std::string columnList(const mbhost::TableData& source) {
    std::string list;
    for (const auto& column : source.columns) list += (list.empty() ? "" : ", ") + column.name;
    return list.empty() ? "none" : list;
}

bool named(const std::string& name, const std::vector<std::string>& names) {
    return std::any_of(names.begin(), names.end(),
                       [&](const auto& n) { return sameName(n, name); });
}

std::string checkedName(const std::string& name, const std::vector<KeptColumn>& kept,
                        const std::vector<std::string>& own) {
    if (name.empty()) return "--keep: an empty column name";
    if (named(name, own)) return "--keep: " + name + " is a column the points get anyway";
    for (const auto& column : kept) {
        if (sameName(column.def.name, name)) return "--keep: " + name + " is named twice";
    }
    return {};
}

struct OwnerWords {
    const char* has;
    const char* its;
    const char* possessive;
};

OwnerWords wordsFor(ColumnOwner owner) {
    return owner == ColumnOwner::Events ? OwnerWords{"the events have", "their", "the events'"}
                                        : OwnerWords{"the input has", "its", "the input's"};
}

std::string joined(const std::vector<std::string>& names, const char* between) {
    std::string list;
    for (const auto& name : names) list += (list.empty() ? "" : between) + name;
    return list;
}
}  // namespace

std::vector<KeptColumn> keptColumns(const std::string& list, const mbhost::TableData& source,
                                    const std::vector<std::string>& own, std::string& error,
                                    ColumnOwner owner) {
    std::vector<KeptColumn> kept;
    if (trimSpaces(list).empty()) return kept;
    if (trimSpaces(list) == kKeepAll) return allColumns(source, own, error, owner);
    const OwnerWords words = wordsFor(owner);
    for (const std::string& name : namesOf(list)) {
        error = checkedName(name, kept, own);
        const auto found =
            std::find_if(source.columns.begin(), source.columns.end(),
                         [&](const auto& column) { return sameName(column.name, name); });
        if (error.empty() && found == source.columns.end()) {
            error = std::string("--keep: ") + words.has + " no column " + name + "; " + words.its +
                    " columns are " + columnList(source) + " (--keep all keeps every one)";
        } else if (error.empty() && !isMapBasicName(found->name)) {
            error = "--keep: the column \"" + found->name + "\" has no name MapBasic can write";
        }
        if (!error.empty()) return {};
        kept.push_back({static_cast<int>(found - source.columns.begin()), *found});
    }
    return kept;
}

std::vector<KeptColumn> allColumns(const mbhost::TableData& source,
                                   const std::vector<std::string>& own, std::string& error,
                                   ColumnOwner owner) {
    std::vector<KeptColumn> kept;
    std::vector<std::string> keptNames, clashes, twice, unnamed;
    for (std::size_t i = 0; i < source.columns.size(); ++i) {
        const mbhost::ColumnDef& column = source.columns[i];
        if (named(column.name, own)) {
            clashes.push_back(column.name);
        } else if (named(column.name, keptNames)) {
            twice.push_back(column.name);
        } else if (!isMapBasicName(column.name)) {
            unnamed.push_back("\"" + column.name + "\"");
        } else {
            kept.push_back({static_cast<int>(i), column});
            keptNames.push_back(column.name);
        }
    }
    if (clashes.empty() && twice.empty() && unnamed.empty()) return kept;
    const auto say = [&](const std::vector<std::string>& names, const char* one,
                         const char* several) {
        if (names.empty()) return;
        const bool single = names.size() == 1;
        error += std::string(single ? " column " : " columns ") + joined(names, ", ") + " " +
                 (single ? one : several) + ";";
    };
    error = std::string("--keep all: ") + wordsFor(owner).possessive;
    const std::string points = " of the points' own (" + joined(own, ", ") + ")";
    say(clashes, ("is named as one" + points).c_str(), ("are named as ones" + points).c_str());
    say(twice, "is named twice, whatever the case", "are named twice, whatever the case");
    say(unnamed, "has no name MapBasic can write", "have no name MapBasic can write");
    error += keptNames.empty() ? " no other column can be kept"
                               : " keep the others with --keep " + joined(keptNames, ",");
    return {};
}

void fillKeptColumns(mbhost::Row& point, std::size_t firstKept, std::int64_t rowId,
                     const std::vector<KeptColumn>& kept, const mbhost::Table& selection,
                     const mbhost::TableData& source) {
    if (rowId < 1 || rowId > static_cast<std::int64_t>(selection.sourceRows.size())) return;
    const auto sourceRow = static_cast<std::size_t>(selection.sourceRows[rowId - 1]);
    if (sourceRow < 1 || sourceRow > source.rows.size()) return;
    const mbhost::Row& from = source.rows[sourceRow - 1];
    for (std::size_t k = 0; k < kept.size(); ++k) {
        point.fields[firstKept + k] = from.fields[static_cast<std::size_t>(kept[k].source)];
    }
}

}  // namespace veltrano::batch
