// The COM adapter against a host in another process: the replay server answering a trace.
#include <gtest/gtest.h>

#include <memory>

#include "automation/com/com_apartment.h"
#include "automation/com/com_provider.h"
#include "automation_contract.h"
#include "foundation/run_time_error.h"
#include "raised.h"
#include "support/replay_server_process.h"

namespace veltrano::testing {
namespace {

// The contract's requests as mbhost answered them.
std::string contractTrace() {
    const std::string roads = std::string("\"") + kRoadsText + "\"";
    return traceAnswer("Eval", "2*2", "4") + traceAnswer("Eval", roads, kRoadsText) +
           traceFailure("Do", "Inset Into t", kUnrecognizedCode, kUnrecognized) +
           traceAnswer("RunMenuCommand", "616", "") +
           traceFailure("RunMenuCommand", "0", kNoMenuZeroCode, kNoMenuZero) +
           traceAnswer("Name", "", "MapInfo Professional") + traceAnswer("Version", "", "1500");
}

// The adapter attached to the running replay server, across processes.
class ComReplay {
public:
    static constexpr bool kHostCanEnd = true;
    ComReplay() : ComReplay(contractTrace()) {}
    explicit ComReplay(const std::string& trace)
        : server_(std::make_unique<ReplayServerProcess>(trace)), host_(provider_.attachRunning()) {}
    Automation& host() { return *host_; }
    void endHost() { server_->kill(); }
    // 0 when the server saw exactly the trace.
    int finish() {
        host_.reset();
        return server_->stop();
    }

private:
    com::ComApartment apartment_;
    com::ComAutomationProvider provider_;
    std::unique_ptr<ReplayServerProcess> server_;
    AutomationPtr host_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(windows, automation_contract, ComReplay);

TEST(com_replay, a_request_that_is_not_next_in_the_trace_fails_loudly_on_both_sides) {
    {
        ComReplay replay(traceAnswer("Eval", "NumTables()", "2") + traceAnswer("Do", "x", ""));
        const Raised raised = raisedBy([&] { replay.host().Eval("NumWindows()"); });
        EXPECT_EQ(raised.number, err::kAutomationFailure);
        EXPECT_NE(raised.description.find("NumWindows()"), std::string::npos) << raised.description;
        EXPECT_NE(raised.description.find("NumTables()"), std::string::npos) << raised.description;
        EXPECT_EQ(replay.finish(), 3);
    }
    ComReplay replay(traceAnswer("Eval", "1", "1") + traceAnswer("Eval", "2", "2"));
    EXPECT_EQ(replay.host().Eval("1"), "1");
    EXPECT_EQ(replay.finish(), 4) << "the server missed that the trace was left unfinished";
}

TEST(com_replay, no_running_copy_or_an_unregistered_class_is_429) {
    ASSERT_TRUE(ReplayServerProcess::registerClass());
    com::ComApartment apartment;
    com::ComAutomationProvider registered, nowhere(L"Veltrano.NoSuchHost");
    EXPECT_EQ(errorNumberOf([&] { registered.attachRunning(); }), err::kNoRunningCopy);
    EXPECT_EQ(errorNumberOf([&] { nowhere.attachRunning(); }), err::kNoRunningCopy);
}

TEST(com_replay, starting_a_new_copy_makes_it_visible) {
    ASSERT_TRUE(ReplayServerProcess::registerClass());
    com::ComApartment apartment;
    EXPECT_TRUE(com::ComAutomationProvider().startNew()->Visible());
}

}  // namespace
}  // namespace veltrano::testing
