#include "event_table.h"

#include <cmath>
#include <optional>

#include "dialog/distance_list.h"
#include "every_list.h"
#include "host/answer_reader.h"
#include "mbhost/number_format.h"

namespace veltrano::batch {

namespace {
std::optional<double> measureOf(const mbhost::Value& value) {
    std::optional<double> number;
    if (value.isNumber()) number = value.number();
    if (value.kind() == mbhost::ValueKind::String)
        number = readPlainNumber(trimSpaces(value.asText()));
    if (!number || !std::isfinite(*number)) return std::nullopt;
    return number;
}

Event eventOf(const mbhost::Row& row, int routeColumn, int measureColumn, KeyKind kind) {
    const mbhost::Value& route = row.fields[static_cast<std::size_t>(routeColumn)];
    const mbhost::Value& measure = row.fields[static_cast<std::size_t>(measureColumn)];
    Event event;
    event.route = mbhost::valueText(route);
    event.written = mbhost::valueText(measure);
    event.key = keyOf(route, kind).value_or("");
    const auto metres = measureOf(measure);
    event.measure = metres.value_or(0);
    if (!metres) {
        event.fault = "measure not a number";
    } else if (*metres < 0) {
        event.fault = "negative measure";
    } else if (event.key.empty()) {
        event.fault = kind == KeyKind::Number && !event.route.empty()
                          ? "unknown route: the route key is a number column"
                          : "unknown route: no route value";
    }
    return event;
}
}  // namespace

int columnNamed(const mbhost::TableData& table, const std::string& name) {
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (upperCase(table.columns[i].name) == upperCase(name)) return static_cast<int>(i);
    }
    return -1;
}

std::string columnNames(const mbhost::TableData& table) {
    std::string list;
    for (const auto& column : table.columns) list += (list.empty() ? "" : ", ") + column.name;
    return list.empty() ? "none" : list;
}

std::vector<Event> readEvents(const mbhost::TableData& events, int routeColumn, int measureColumn,
                              KeyKind kind) {
    std::vector<Event> read;
    read.reserve(events.rows.size());
    for (const mbhost::Row& row : events.rows) {
        read.push_back(eventOf(row, routeColumn, measureColumn, kind));
    }
    return read;
}

}  // namespace veltrano::batch
