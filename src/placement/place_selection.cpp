#include "placement/place_selection.h"

#include <algorithm>
#include <exception>
#include <numeric>

#include "engine/engine_failure.h"
#include "foundation/run_time_error.h"

namespace veltrano {

namespace {
constexpr std::string_view kNoSelection = "NO Selected Objects";

void addRefusals(std::vector<InsertRefusal>& all, const std::vector<InsertRefusal>& more) {
    for (const auto& refusal : more) {
        for (std::size_t i = 0; i < refusal.count; ++i) noteRefusal(all, refusal.message);
    }
}

PlacementOutcome walk(SelectionWalk& selection, const PlacementOrder& order,
                      MessageBoxPort& messages, PlacementReport& report) {
    const std::int32_t count = selection.selectedCount();
    if (count <= 0) {
        messages.show(kNoSelection, {}, MessageIcon::Exclamation);
        return PlacementOutcome::NoSelection;
    }
    const std::string table = selection.first();
    for (std::int32_t pass = 1; pass <= count; ++pass) {
        if (selection.hostErrorPending()) {
            reportInternalError(messages);
            return PlacementOutcome::Failed;
        }
        if (order.stopRequested && order.stopRequested()) break;
        const PlacementRequest request{order.distances, table,        order.outputTable,
                                       kDistanceColumn, kRowIdColumn, order.fromTheEnd()};
        const ObjectPlacement placed = selection.placeCurrent(request);
        report.objects.push_back({placed.placed, placed.computed, placed.unreached});
        addRefusals(report.refusals, placed.refusals);
        if (order.objectDone) order.objectDone(report.objects.back());
        if (!selection.next()) break;
    }
    return PlacementOutcome::Placed;
}
}  // namespace

std::int64_t PlacementReport::computed() const {
    return std::accumulate(objects.begin(), objects.end(), std::int64_t{0},
                           [](std::int64_t sum, const auto& o) { return sum + o.computed; });
}

std::int64_t PlacementReport::placed() const {
    return std::accumulate(
        objects.begin(), objects.end(), std::int64_t{0},
        [](std::int64_t sum, const auto& o) { return sum + std::max(o.placed, 0); });
}

PlacementReport placeSelection(SelectionWalk& selection, const PlacementOrder& order,
                               MessageBoxPort& messages) {
    PlacementReport report;
    try {
        report.outcome = walk(selection, order, messages, report);
    } catch (const RunTimeError& error) {
        // A failure no step below handles, such as the host ending in the middle of the walk.
        LastError::set(error);
        reportInternalError(messages);
        report.outcome = PlacementOutcome::Failed;
    } catch (const std::exception& error) {
        LastError::set(RunTimeError(engine_err::kInternal, error.what()));
        reportInternalError(messages);
        report.outcome = PlacementOutcome::Failed;
    }
    return report;
}

std::string refusalText(const InsertRefusal& refusal, const std::string& outputTable) {
    return "the host refused " + std::to_string(refusal.count) + " insert(s) into " + outputTable +
           ": " + refusal.message;
}

void reportInternalError(MessageBoxPort& messages) {
    const auto& error = LastError::current();
    const std::string text =
        error ? std::to_string(error->number()) + ": " + error->description() : std::string("0: ");
    messages.show(text, kObjToArrayCaption, MessageIcon::Exclamation);
}

}  // namespace veltrano
