// The events side of a file run: the events' routes found, the placed ones written as rows,
// the others named and counted.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "batch_options.h"
#include "event_table.h"
#include "event_walk.h"
#include "kept_columns.h"
#include "mbhost/storage/streamed_write.h"
#include "streamed_points.h"

namespace veltrano::batch {

struct EventsToPlace {
    std::vector<Event> events;
    std::vector<std::int32_t> routes;  // by event: the selection's row id of its line, or 0
};

// Reads the events and looks each one's route up among the selected lines. Error names the
// option whose column is missing or cannot hold route keys.
EventsToPlace findRoutes(const FileOptions& file, const mbhost::Table& selection,
                         const mbhost::TableData& events, std::string& error);

// Writes each placed event as a row of output: distanceM the measure, xRowId the route's row
// in the selection, the line's direction when routes is given, then the kept columns.
class EventRows {
public:
    EventRows(mbhost::gdal::StreamedWrite& output, const std::vector<KeptColumn>& kept,
              const EventsToPlace& placing, const mbhost::TableData& events, PictureSample* picture,
              const mbhost::CoordSys* routes = nullptr)
        : output_(output),
          kept_(kept),
          placing_(placing),
          events_(events),
          picture_(picture),
          routes_(routes) {}

    void add(std::size_t event, const EventPoint& point);
    // Why the output took no more rows; empty while it does.
    const std::string& failure() const { return failure_; }

private:
    mbhost::gdal::StreamedWrite& output_;
    const std::vector<KeptColumn>& kept_;
    const EventsToPlace& placing_;
    const mbhost::TableData& events_;
    PictureSample* picture_;
    const mbhost::CoordSys* routes_;  // the routes' system, for the direction; null: none
    std::string failure_;
};

// Names each event that was not placed on err, in the events' order ("event row N (route R,
// measure M) not placed: why"); counts them by kind: "3 events not placed: 1 beyond the end,
// 2 unknown route", empty when all were placed.
std::string reportUnplaced(const EventWalk& walk, const std::vector<Event>& events,
                           std::size_t& unplaced, std::ostream& err);

}  // namespace veltrano::batch
