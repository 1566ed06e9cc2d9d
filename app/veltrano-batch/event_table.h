// The events as their table gives them: each row's route key and measure, or why it has none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mbhost/table_data.h"
#include "route_index.h"

namespace veltrano::batch {

// The column of table called name (case does not count); -1 when there is none.
int columnNamed(const mbhost::TableData& table, const std::string& name);
// "a, b, c": the columns to choose from, for the message that names a missing one.
std::string columnNames(const mbhost::TableData& table);

struct Event {
    std::string route;    // its route value as written, for the messages
    std::string written;  // its measure as written, for the messages
    std::string key;      // as the route index compares it; empty: none
    double measure = 0;   // metres along the route
    std::string fault;    // why it cannot be placed ("kind: detail"); empty when it can be
};

// One event a row of events: the route value in column routeColumn compared as kind, the
// measure in measureColumn read as a number (a text as a plain point-decimal one).
std::vector<Event> readEvents(const mbhost::TableData& events, int routeColumn, int measureColumn,
                              KeyKind kind);

}  // namespace veltrano::batch
