#include "event_run.h"

#include <map>

#include "mbhost/geodesy.h"

namespace veltrano::batch {

namespace {
constexpr const char* kName = "veltrano-batch: ";

// The column option names in table, or -1 with the reason in error.
int namedColumn(const mbhost::TableData& table, const std::string& option, const std::string& name,
                const char* whose, std::string& error) {
    const int column = columnNamed(table, name);
    if (column < 0 && error.empty()) {
        error = option + ": " + whose + " no column " + name + "; the columns are " +
                columnNames(table);
    }
    return column;
}

// Keys compare as the route key column's type: text, or a number of any width.
KeyKind keyKindOf(const mbhost::ColumnDef& column, std::string& error) {
    switch (column.type) {
        case mbhost::ColumnType::Char:
            return KeyKind::Text;
        case mbhost::ColumnType::Integer:
        case mbhost::ColumnType::SmallInt:
        case mbhost::ColumnType::Float:
        case mbhost::ColumnType::Decimal:
            return KeyKind::Number;
        default:
            error = "--route-key: " + column.name + " holds neither text nor numbers";
            return KeyKind::Text;
    }
}

void lookUp(EventsToPlace& placing, std::size_t i, const RouteIndex& index) {
    Event& event = placing.events[i];
    if (!event.fault.empty()) return;
    const RouteIndex::Match match = index.find(event.key);
    if (match.lines == 0) event.fault = "unknown route";
    if (match.lines > 1) {
        event.fault = "several routes: " + std::to_string(match.lines) + " lines have this key";
    }
    if (match.lines == 1) placing.routes[i] = match.row;
}

mbhost::Row rowOf(const Event& event, std::int32_t route, const mbhost::Row& from,
                  const std::vector<KeptColumn>& kept, const EventPoint& point,
                  const mbhost::CoordSys* routes) {
    const mbhost::Point at = point.at;
    mbhost::Row row;
    row.fields.reserve(3 + kept.size());
    row.fields.push_back(mbhost::Value::real(event.measure));
    row.fields.push_back(mbhost::Value::integer(route));
    if (routes) {
        row.fields.push_back(mbhost::Value::real(mbhost::bearingAlong(
            *routes, point.segmentStart, point.segmentEnd, point.alongSegment)));
    }
    for (const auto& column : kept) {
        row.fields.push_back(from.fields[static_cast<std::size_t>(column.source)]);
    }
    row.object = std::make_shared<const mbhost::Geometry>(mbhost::Geometry::point(at.x, at.y));
    return row;
}

std::string counted(const std::map<std::string, std::size_t>& kinds, std::size_t total) {
    std::string list;
    for (const auto& [kind, count] : kinds) {
        list += (list.empty() ? "" : ", ") + std::to_string(count) + " " + kind;
    }
    return std::to_string(total) + (total == 1 ? " event" : " events") + " not placed: " + list;
}

// The event's fault, or "not reached" for one on a line the walk did not come to.
std::string sayUnplaced(const Event& event, std::size_t row, std::ostream& err) {
    const std::string why = event.fault.empty() ? "not reached" : event.fault;
    err << kName << "event row " << row << " (route \"" << event.route << "\", measure "
        << event.written << ") not placed: " << why << '\n';
    return why.substr(0, why.find(": "));
}
}  // namespace

EventsToPlace findRoutes(const FileOptions& file, const mbhost::Table& selection,
                         const mbhost::TableData& events, std::string& error) {
    const int key =
        namedColumn(selection.data(), "--route-key", *file.routeKey, "the input has", error);
    const int route =
        namedColumn(events, "--event-route", *file.eventRoute, "the events have", error);
    const int measure =
        namedColumn(events, "--event-measure", *file.eventMeasure, "the events have", error);
    if (!error.empty()) return {};
    const KeyKind kind = keyKindOf(selection.data().columns[static_cast<std::size_t>(key)], error);
    if (!error.empty()) return {};
    EventsToPlace placing{readEvents(events, route, measure, kind),
                          std::vector<std::int32_t>(events.rows.size(), 0)};
    const RouteIndex index(selection, key, kind);
    for (std::size_t i = 0; i < placing.events.size(); ++i) lookUp(placing, i, index);
    return placing;
}

void EventRows::add(std::size_t event, const EventPoint& point) {
    if (!failure_.empty()) return;
    try {
        output_.add(rowOf(placing_.events[event], placing_.routes[event], events_.rows[event],
                          kept_, point, routes_));
        if (picture_) picture_->add(point.at.x, point.at.y);
    } catch (const std::exception& failure) {
        failure_ = failure.what();
    }
}

std::string reportUnplaced(const EventWalk& walk, const std::vector<Event>& events,
                           std::size_t& unplaced, std::ostream& err) {
    std::map<std::string, std::size_t> kinds;
    unplaced = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (walk.placed(i)) continue;
        ++kinds[sayUnplaced(events[i], i + 1, err)];
        ++unplaced;
    }
    return unplaced == 0 ? std::string() : counted(kinds, unplaced);
}

}  // namespace veltrano::batch
