// The placement session recorded with mbhost on Linux, replayed through everything the
// Windows build adds: the COM adapter, across processes, to a host that answers from the
// recording. The replay server refuses any request out of turn, so the host link, engine and
// dialog presenter must send exactly what mbhost answered; the user must see the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "automation/com/com_apartment.h"
#include "automation/com/com_provider.h"
#include "support/placement_session.h"
#include "support/replay_server_process.h"

namespace veltrano::testing {
namespace {

const std::filesystem::path kRecorded = VELTRANO_RECORDED_DIR;

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(placement_replay, the_windows_build_sends_exactly_what_mbhost_answered_on_linux) {
    const std::string trace = readWhole(kRecorded / "placement.trace.jsonl");
    const std::string recordedReport = readWhole(kRecorded / "placement.report.txt");
    ASSERT_FALSE(trace.empty() || recordedReport.empty())
        << "no recorded session in " << kRecorded.string()
        << ": scripts/test-windows.sh records one with the Linux build first";
    ReplayServerProcess server(trace);
    com::ComApartment apartment;
    com::ComAutomationProvider com;
    EXPECT_EQ(runPlacementSession(com), recordedReport);
    EXPECT_EQ(server.stop(), 0) << "the replay server saw a request out of turn or not all";
}

}  // namespace
}  // namespace veltrano::testing
