// The placement session recorded with mbhost on Linux, replayed through everything the
// Windows build adds: the COM adapter, across processes, to a host that answers from the
// recording. The host link, engine and dialog presenter must send exactly the requests mbhost
// answered, in the same order, and the user must see the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "automation/com/com_apartment.h"
#include "automation/com/com_provider.h"
#include "support/placement_session.h"
#include "support/replay_server_process.h"
#include "support/request_log.h"
#include "support/trace/trace.h"

namespace veltrano::testing {
namespace {

const std::filesystem::path kRecorded = VELTRANO_RECORDED_DIR;

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

RequestLog requestsOf(const std::string& trace) {
    std::istringstream in(trace);
    RequestLog requests;
    for (const replay::TraceStep& step : replay::readTrace(in, "placement.trace.jsonl")) {
        requests.push_back({step.member, step.argument});
    }
    return requests;
}

// The first place where the two differ, with what each side has there.
std::string firstDifference(const RequestLog& sent, const RequestLog& recorded) {
    const std::size_t n = std::min(sent.size(), recorded.size());
    std::size_t i = 0;
    while (i < n && sent[i] == recorded[i]) ++i;
    const auto show = [i](const RequestLog& log) {
        return i < log.size() ? log[i].member + "(" + log[i].argument + ")" : "nothing more";
    };
    return "request " + std::to_string(i) + ": sent " + show(sent) + ", recorded " + show(recorded);
}

TEST(placement_replay, the_windows_build_sends_exactly_what_mbhost_answered_on_linux) {
    const std::string trace = readWhole(kRecorded / "placement.trace.jsonl");
    const std::string recordedReport = readWhole(kRecorded / "placement.report.txt");
    ASSERT_FALSE(trace.empty() || recordedReport.empty())
        << "no recorded session in " << kRecorded.string()
        << ": scripts/test-windows.sh records one with the Linux build first";
    ASSERT_TRUE(ReplayServerProcess::registerClass());

    ReplayServerProcess server(trace);
    com::ComApartment apartment;
    com::ComAutomationProvider com;
    LoggingProvider logged(com);
    const std::string report = runPlacementSession(logged);

    const RequestLog recorded = requestsOf(trace);
    EXPECT_EQ(logged.log().size(), recorded.size());
    EXPECT_TRUE(logged.log() == recorded) << firstDifference(logged.log(), recorded);
    EXPECT_EQ(report, recordedReport);
    EXPECT_EQ(server.stop(), 0) << "the replay server saw a request out of turn or not all";
}

}  // namespace
}  // namespace veltrano::testing
