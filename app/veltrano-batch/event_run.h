// The events side of a file run: the events' routes found, the placed ones written in the
// events' order, the others named and counted.
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

// The event columns --keep names ("all": every one), checked as --keep checks input columns.
std::vector<KeptColumn> keptEventColumns(const std::string& keep, const mbhost::TableData& events,
                                         std::string& error);

struct EventsWritten {
    std::size_t placed = 0;
    std::size_t unplaced = 0;
    std::string summary;  // "3 events not placed: 1 beyond the end, 2 unknown route"
    std::string failure;  // why the output took no more rows; empty when it took them all
};

// Where the placed events go: the output, the kept columns, the picture (or none).
struct EventOutput {
    mbhost::gdal::StreamedWrite& file;
    const std::vector<KeptColumn>& kept;
    PictureSample* picture;
    std::function<bool()> stopRequested;
};

// Writes a row for each placed event, in the events' order (distanceM the measure, xRowId the
// route's row in the selection, then the kept columns), and names each other one on err:
// "event row N (route R, measure M) not placed: why".
EventsWritten writeEvents(const EventWalk& walk, const EventsToPlace& placing,
                          const mbhost::TableData& events, EventOutput output, std::ostream& err);

}  // namespace veltrano::batch
