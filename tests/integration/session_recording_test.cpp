// The recording the Windows build replays: it must be repeatable to the byte, come from one
// client, and be a session that really placed points.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "session_recorder.h"
#include "support/trace/trace.h"

namespace veltrano::testing {
namespace {

struct Recording {
    std::vector<replay::TraceStep> steps;
    std::string report;
    RequestLog sent;
};

class SessionRecording : public ::testing::Test {
protected:
    ~SessionRecording() override {
        std::error_code ignored;
        for (const auto& dir : directories_) std::filesystem::remove_all(dir, ignored);
    }

    Recording record() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "veltrano-session-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a directory");
        directories_.push_back(pattern);
        const RecordedSession files = recordPlacementSession(pattern);
        std::ifstream trace(files.tracePath);
        std::ostringstream report;
        report << std::ifstream(files.reportPath).rdbuf();
        return {replay::readTrace(trace, files.tracePath), report.str(), files.sent};
    }

    static int countStartingWith(const std::vector<replay::TraceStep>& steps,
                                 std::string_view prefix) {
        int count = 0;
        for (const auto& step : steps) {
            if (step.member == "Do" && step.argument.starts_with(prefix)) ++count;
        }
        return count;
    }

    std::vector<std::string> directories_;
};

TEST_F(SessionRecording, two_recordings_send_the_same_requests_and_show_the_same) {
    const Recording first = record();
    const Recording second = record();
    ASSERT_EQ(first.steps.size(), second.steps.size());
    for (std::size_t i = 0; i < first.steps.size(); ++i) {
        EXPECT_EQ(first.steps[i].member, second.steps[i].member) << "request " << i;
        EXPECT_EQ(first.steps[i].argument, second.steps[i].argument) << "request " << i;
        EXPECT_EQ(first.steps[i].answer, second.steps[i].answer) << "request " << i;
    }
    EXPECT_EQ(first.report, second.report);
}

// The replay compares what the Windows build sends, logged on its side, with the trace.
TEST_F(SessionRecording, the_client_side_log_names_requests_as_the_trace_does) {
    const Recording recorded = record();
    RequestLog traced;
    for (const auto& step : recorded.steps) traced.push_back({step.member, step.argument});
    EXPECT_TRUE(recorded.sent == traced);
    EXPECT_EQ(recorded.sent.size(), traced.size());
}

TEST_F(SessionRecording, one_client_places_points_and_labels_and_releases_its_variables) {
    const Recording recorded = record();
    ASSERT_FALSE(recorded.steps.empty());
    for (const auto& step : recorded.steps) {
        EXPECT_EQ(step.client, recorded.steps.front().client) << "trace line " << step.line;
        // The label table lacks the distance columns: its probes are the only refusals.
        if (step.failure) {
            EXPECT_TRUE(step.argument.starts_with("ColumnInfo(labels, "))
                << "trace line " << step.line << ": " << step.argument;
        }
    }
    // Three objects (a 34 km polyline, a 3.6 km line, a region of 28 km around): four
    // distances from the start, then one from the end.
    EXPECT_EQ(countStartingWith(recorded.steps, "Insert into placed ( obj, distanceM, xRowId )"),
              4 + 2 + 4);
    EXPECT_EQ(countStartingWith(recorded.steps, "Insert into labels (obj)"), 3);
    EXPECT_EQ(countStartingWith(recorded.steps, "dim qzv"),
              countStartingWith(recorded.steps, "undim qzv"));
    EXPECT_NE(recorded.report.find("OK: placed\n"), std::string::npos) << recorded.report;
    EXPECT_EQ(recorded.report.find("message box"), std::string::npos) << recorded.report;
}

}  // namespace
}  // namespace veltrano::testing
