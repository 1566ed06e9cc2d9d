// The placement use case through its report: how a walk over the selection ends, what it
// says, and what it counts, whatever adapter answers.
#include <gtest/gtest.h>

#include <sstream>

#include "foundation/run_time_error.h"
#include "placement/place_selection.h"
#include "support/fake_ports.h"

namespace veltrano::testing {
namespace {

// A selection of scripted objects: each pass hands back the next result, or fails.
class ScriptedSelection final : public SelectionWalk {
public:
    std::int32_t count = 0;
    std::vector<ObjectPlacement> results;  // one per row; beyond them the table ends
    int errorAtPass = 0;                   // the host holds an error at this pass
    int throwAtPass = 0;                   // the engine fails at this pass
    std::vector<bool> fromEnd;             // as each request asked

    std::int32_t selectedCount() override { return count; }
    std::string first() override { return "Query1"; }
    bool hostErrorPending() override { return pass_ + 1 == errorAtPass; }
    ObjectPlacement placeCurrent(const PlacementRequest& request) override {
        fromEnd.push_back(request.fromTheEnd);
        if (++pass_ == throwAtPass) throw RunTimeError(err::kDivisionByZero, {}, "engine");
        return results.at(static_cast<std::size_t>(pass_ - 1));
    }
    bool next() override { return pass_ < static_cast<int>(results.size()); }

private:
    int pass_ = 0;
};

ObjectPlacement placed(std::int32_t placed, std::int32_t computed,
                       std::vector<InsertRefusal> refusals = {}) {
    ObjectPlacement p(placed);
    p.computed = computed;
    p.refusals = std::move(refusals);
    return p;
}

// The report in one line: the points per object, the sums of placed and computed points, the
// refusals by message and the messages shown.
std::string summary(const PlacementReport& report, const RecordingMessageBox& messages) {
    std::ostringstream out;
    for (const auto& o : report.objects) out << o.placed << ' ';
    out << "| " << report.placed() << '/' << report.computed() << " |";
    for (const auto& r : report.refusals) out << ' ' << r.message << " x" << r.count;
    out << " |";
    for (const auto& m : messages.shown) out << ' ' << m.text;
    return out.str();
}

TEST(placement_report, one_row_per_way_a_walk_ends) {
    ObjectPlacement unreached;
    unreached.unreached = "the host does not know the table Query1";
    const std::vector<ObjectPlacement> none,
        mixed{placed(2, 2), unreached, placed(1, 3, {{"no", 2}})},
        short2{placed(1, 1), placed(0, 0)},
        refused{placed(0, 1, {{"a", 1}}), placed(0, 2, {{"a", 2}})},
        twice{placed(1, 1), placed(1, 1)}, stopped{placed(2, 3), placed(-1, 0), placed(4, 4)};
    const auto Placed = PlacementOutcome::Placed, Failed = PlacementOutcome::Failed;
    const struct {
        std::string name;
        std::int32_t count;
        std::vector<ObjectPlacement> results;
        int errorAt, throwAt;
        std::size_t stopAfter;
        PlacementOutcome outcome;
        std::string summary;
    } rows[] = {
        {"every row", 3, mixed, 0, 0, 0, Placed, "2 -1 1 | 3/5 | no x2 |"},
        {"the table ends before the count", 70000, short2, 0, 0, 0, Placed, "1 0 | 1/1 | |"},
        {"refusals summed by message", 2, refused, 0, 0, 0, Placed, "0 0 | 0/3 | a x3 |"},
        {"nothing selected", 0, none, 0, 0, 0, PlacementOutcome::NoSelection,
         "| 0/0 | | NO Selected Objects"},
        {"a host error at the second pass", 3, twice, 2, 0, 0, Failed, "1 | 1/1 | | 0: "},
        {"the engine fails at the second pass", 3, twice, 0, 2, 0, Failed,
         "1 | 1/1 | | 11: Division by zero"},
        {"a stop passes over the rest; not reached counts nothing", 3, stopped, 0, 0, 2, Placed,
         "2 -1 | 2/3 | |"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LastError::clear();
        ScriptedSelection selection;
        selection.count = row.count;
        selection.results = row.results;
        selection.errorAtPass = row.errorAt;
        selection.throwAtPass = row.throwAt;
        RecordingMessageBox messages;
        std::vector<double> distances{10};
        bool fromEnd = false;
        std::vector<std::int32_t> seen;
        const PlacementOrder order{
            distances, "Out", [&] { return fromEnd = !fromEnd; },
            [&](const ObjectReport& o) { seen.push_back(o.placed); },
            [&] { return row.stopAfter > 0 && seen.size() == row.stopAfter; }};
        const PlacementReport report = placeSelection(selection, order, messages);
        EXPECT_EQ(report.outcome, row.outcome);
        EXPECT_EQ(summary(report, messages), row.summary);
        std::vector<std::int32_t> perObject;  // told as each object is done
        for (const auto& o : report.objects) perObject.push_back(o.placed);
        EXPECT_EQ(seen, perObject);
        // The option is asked anew for every object.
        for (std::size_t i = 0; i < selection.fromEnd.size(); ++i) {
            EXPECT_EQ(selection.fromEnd[i], i % 2 == 0) << i;
        }
    }
}

}  // namespace
}  // namespace veltrano::testing
