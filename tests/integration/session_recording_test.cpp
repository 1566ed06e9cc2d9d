// The recording the Windows build replays: it must be repeatable to the byte, come from one
// client, name requests as the client-side log does, and be a session that really placed
// points.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "served_host.h"
#include "session_recorder.h"
#include "support/trace/trace.h"

namespace veltrano::testing {
namespace {

struct Recording {
    std::vector<replay::TraceStep> steps;
    std::string report;
    RequestLog sent;
};

Recording record() {
    const TempDir dir;
    const RecordedSession files = recordPlacementSession(dir.path());
    std::ifstream trace(files.tracePath);
    std::ostringstream report;
    report << std::ifstream(files.reportPath).rdbuf();
    return {replay::readTrace(trace, files.tracePath), report.str(), files.sent};
}

int countStartingWith(const std::vector<replay::TraceStep>& steps, std::string_view prefix) {
    return std::count_if(steps.begin(), steps.end(), [&](const auto& step) {
        return step.member == "Do" && step.argument.starts_with(prefix);
    });
}

TEST(session_recording, is_repeatable_from_one_client_and_places_points_and_labels) {
    const Recording first = record();
    const Recording second = record();
    ASSERT_FALSE(first.steps.empty());
    ASSERT_EQ(first.steps.size(), second.steps.size());
    RequestLog traced;
    for (std::size_t i = 0; i < first.steps.size(); ++i) {
        const auto& step = first.steps[i];
        EXPECT_EQ(step.member, second.steps[i].member) << "request " << i;
        EXPECT_EQ(step.argument, second.steps[i].argument) << "request " << i;
        EXPECT_EQ(step.answer, second.steps[i].answer) << "request " << i;
        EXPECT_EQ(step.client, first.steps.front().client) << "trace line " << step.line;
        // The label table lacks the distance columns: its probes are the only refusals.
        if (step.failure) {
            EXPECT_TRUE(step.argument.starts_with("ColumnInfo(labels, "))
                << "trace line " << step.line << ": " << step.argument;
        }
        traced.push_back({step.member, step.argument});
    }
    EXPECT_EQ(first.report, second.report);
    EXPECT_TRUE(first.sent == traced);
    // Three objects (a 34 km polyline, a 3.6 km line, a region of 28 km around): four
    // distances from the start, then one from the end.
    EXPECT_EQ(countStartingWith(first.steps, "Insert into placed ( obj, distanceM, xRowId )"),
              4 + 2 + 4);
    EXPECT_EQ(countStartingWith(first.steps, "Insert into labels (obj)"), 3);
    EXPECT_EQ(countStartingWith(first.steps, "dim qzv"),
              countStartingWith(first.steps, "undim qzv"));
    EXPECT_NE(first.report.find("OK: placed\n"), std::string::npos) << first.report;
    EXPECT_EQ(first.report.find("message box"), std::string::npos) << first.report;
}

}  // namespace
}  // namespace veltrano::testing
