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

// One line a request, so that a difference shows where the two part.
std::vector<std::string> linesOf(const RequestLog& log) {
    std::vector<std::string> lines;
    for (const Request& r : log) lines.push_back(r.member + "(" + r.argument + ")");
    return lines;
}

std::vector<std::string> linesOf(const std::string& trace) {
    std::istringstream in(trace);
    RequestLog log;
    for (const auto& step : replay::readTrace(in, "placement.trace.jsonl")) {
        log.push_back({step.member, step.argument});
    }
    return linesOf(log);
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

    EXPECT_EQ(linesOf(logged.log()), linesOf(trace));
    EXPECT_EQ(report, recordedReport);
    EXPECT_EQ(server.stop(), 0) << "the replay server saw a request out of turn or not all";
}

}  // namespace
}  // namespace veltrano::testing
