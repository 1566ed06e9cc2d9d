// The placement use case through its report: how a walk over the selection ends, what it
// says, and what it counts, whatever adapter answers.
#include <gtest/gtest.h>

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

TEST(placement_report, one_row_per_way_a_walk_ends) {
    ObjectPlacement unreached;
    unreached.unreached = "the host does not know the table Query1";
    const struct {
        std::string name;
        std::int32_t count;
        std::vector<ObjectPlacement> results;
        int errorAt, throwAt;
        PlacementOutcome outcome;
        std::vector<std::int32_t> perObject;
        std::vector<InsertRefusal> refusals;
        std::vector<std::string> shown;
    } rows[] = {
        {"every row",
         3,
         {placed(2, 2), unreached, placed(1, 3, {{"no", 2}})},
         0,
         0,
         PlacementOutcome::Placed,
         {2, -1, 1},
         {{"no", 2}},
         {}},
        {"the table ends before the count",
         70000,
         {placed(1, 1), placed(0, 0)},
         0,
         0,
         PlacementOutcome::Placed,
         {1, 0},
         {},
         {}},
        {"refusals summed by message",
         2,
         {placed(0, 1, {{"a", 1}}), placed(0, 2, {{"a", 2}})},
         0,
         0,
         PlacementOutcome::Placed,
         {0, 0},
         {{"a", 3}},
         {}},
        {"nothing selected",
         0,
         {},
         0,
         0,
         PlacementOutcome::NoSelection,
         {},
         {},
         {"NO Selected Objects"}},
        {"a host error at the second pass",
         3,
         {placed(1, 1), placed(1, 1)},
         2,
         0,
         PlacementOutcome::Failed,
         {1},
         {},
         {"0: "}},
        {"the engine fails at the second pass",
         3,
         {placed(1, 1), placed(1, 1)},
         0,
         2,
         PlacementOutcome::Failed,
         {1},
         {},
         {"11: Division by zero"}},
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
        const PlacementOrder order{distances, "Out", [&] { return fromEnd = !fromEnd; },
                                   [&](const ObjectReport& o) { seen.push_back(o.placed); }};
        const PlacementReport report = placeSelection(selection, order, messages);
        EXPECT_EQ(report.outcome, row.outcome);
        std::vector<std::int32_t> perObject;
        for (const auto& o : report.objects) perObject.push_back(o.placed);
        EXPECT_EQ(perObject, row.perObject);
        EXPECT_EQ(seen, row.perObject);  // told as each object is done
        ASSERT_EQ(report.refusals.size(), row.refusals.size());
        for (std::size_t i = 0; i < row.refusals.size(); ++i) {
            EXPECT_EQ(report.refusals[i].message, row.refusals[i].message);
            EXPECT_EQ(report.refusals[i].count, row.refusals[i].count);
        }
        std::vector<std::string> shown;
        for (const auto& m : messages.shown) shown.push_back(m.text);
        EXPECT_EQ(shown, row.shown);
        // The option is asked anew for every object.
        for (std::size_t i = 0; i < selection.fromEnd.size(); ++i) {
            EXPECT_EQ(selection.fromEnd[i], i % 2 == 0) << i;
        }
    }
}

TEST(placement_report, a_stop_passes_over_the_rest_and_the_sums_count_only_placed_points) {
    ScriptedSelection selection;
    selection.count = 3;
    selection.results = {placed(2, 3), placed(-1, 0), placed(4, 4)};
    RecordingMessageBox messages;
    std::vector<double> distances{10};
    int done = 0;
    PlacementOrder order{distances, "Out", [] { return false; },
                         [&](const ObjectReport&) { ++done; }, [&] { return done == 2; }};
    const PlacementReport report = placeSelection(selection, order, messages);
    EXPECT_EQ(report.objects.size(), 2u);
    EXPECT_EQ(report.computed(), 3);
    EXPECT_EQ(report.placed(), 2);  // -1 (not reached) counts nothing
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace veltrano::testing
