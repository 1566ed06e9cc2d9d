// The COM adapter against a host in another process: the replay server answering a trace.
#include <gtest/gtest.h>

#include <memory>

#include "automation/com/com_apartment.h"
#include "automation/com/com_provider.h"
#include "foundation/run_time_error.h"
#include "raised.h"
#include "support/replay_server_process.h"

namespace veltrano::testing {
namespace {

class com_replay : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(ReplayServerProcess::registerClass()); }

    AutomationPtr attach(const std::string& trace) {
        server_ = std::make_unique<ReplayServerProcess>(trace);
        return provider_.attachRunning();
    }
    // 0 when the server saw exactly the trace.
    int finish(AutomationPtr& host) {
        host.reset();
        return server_->stop();
    }

    com::ComApartment apartment_;
    com::ComAutomationProvider provider_;
    std::unique_ptr<ReplayServerProcess> server_;
};

TEST_F(com_replay, reports_a_host_failure_with_its_text_and_keeps_the_error_code_until_cleared) {
    auto host = attach(traceFailure("Do", "Insert Into nowhere", 405, "Table nowhere is not open") +
                       traceAnswer("Eval", "1+1", "2"));
    EXPECT_EQ(host->LastErrorCode(), 0);
    const Raised raised = raisedBy([&] { host->Do("Insert Into nowhere"); });
    EXPECT_EQ(raised.number, err::kAutomationFailure);
    EXPECT_EQ(raised.description, "Table nowhere is not open");
    EXPECT_EQ(raised.source, "MapInfo.Application");
    EXPECT_EQ(host->LastErrorCode(), 405);
    EXPECT_EQ(host->LastErrorMessage(), "Table nowhere is not open");
    host->SetLastErrorCode(0);
    EXPECT_EQ(host->LastErrorCode(), 0);
    EXPECT_EQ(host->Eval("1+1"), "2");
    EXPECT_EQ(finish(host), 0);
}

// What the recorded placement session never sends: a menu command, text beyond ASCII, and the
// descriptive and visible properties.
TEST_F(com_replay, carries_menu_commands_any_text_and_the_properties) {
    auto host = attach(traceAnswer("RunMenuCommand", "616", "") +
                       traceAnswer("Eval", "TableInfo(\"Дороги\", 1)", "Дороги № 1 «главные»") +
                       traceAnswer("Name", "", "MapInfo Professional") +
                       traceAnswer("Version", "", "1600") +
                       traceAnswer("Application", "", "MapInfo Professional - [Map1]"));
    host->RunMenuCommand(616);
    EXPECT_EQ(host->Eval("TableInfo(\"Дороги\", 1)"), "Дороги № 1 «главные»");
    EXPECT_EQ(host->Name(), "MapInfo Professional");
    EXPECT_EQ(host->Version(), "1600");
    EXPECT_EQ(host->Application(), "MapInfo Professional - [Map1]");
    EXPECT_FALSE(host->ProductLevel().empty());
    EXPECT_FALSE(host->FullName().empty());
    host->SetVisible(false);
    EXPECT_FALSE(host->Visible());
    host->SetVisible(true);
    EXPECT_TRUE(host->Visible());
    EXPECT_EQ(finish(host), 0);
}

TEST_F(com_replay, a_request_that_is_not_next_in_the_trace_fails_loudly_on_both_sides) {
    auto host = attach(traceAnswer("Eval", "NumTables()", "2") + traceAnswer("Do", "x", ""));
    const Raised raised = raisedBy([&] { host->Eval("NumWindows()"); });
    EXPECT_EQ(raised.number, err::kAutomationFailure);
    EXPECT_NE(raised.description.find("NumWindows()"), std::string::npos) << raised.description;
    EXPECT_NE(raised.description.find("NumTables()"), std::string::npos) << raised.description;
    EXPECT_EQ(finish(host), 3);
    host = attach(traceAnswer("Eval", "1", "1") + traceAnswer("Eval", "2", "2"));
    EXPECT_EQ(host->Eval("1"), "1");
    EXPECT_EQ(finish(host), 4) << "the server missed that the trace was left unfinished";
}

TEST_F(com_replay, no_running_copy_or_an_unregistered_class_is_429_and_a_dead_host_462) {
    com::ComAutomationProvider nowhere(L"Veltrano.NoSuchHost");
    EXPECT_EQ(errorNumberOf([&] { provider_.attachRunning(); }), err::kNoRunningCopy);
    EXPECT_EQ(errorNumberOf([&] { nowhere.attachRunning(); }), err::kNoRunningCopy);
    auto host = attach(traceAnswer("Eval", "2*2", "4") + traceAnswer("Eval", "3*3", "9"));
    EXPECT_EQ(host->Eval("2*2"), "4");
    server_->kill();
    EXPECT_EQ(errorNumberOf([&] { host->Eval("3*3"); }), err::kHostGone);
    EXPECT_EQ(errorNumberOf([&] { host->Eval("3*3"); }), err::kHostGone);
    EXPECT_EQ(errorNumberOf([&] { host->LastErrorCode(); }), err::kHostGone);
}

TEST_F(com_replay, starting_a_new_copy_makes_it_visible_and_answers_from_its_trace) {
    const std::wstring trace = ReplayServerProcess::writeTrace(traceAnswer("Eval", "2*2", "4"));
    ASSERT_TRUE(ReplayServerProcess::registerClass(trace));
    {
        AutomationPtr host = provider_.startNew();
        EXPECT_TRUE(host->Visible());
        EXPECT_EQ(host->Eval("2*2"), "4");
    }
    ASSERT_TRUE(ReplayServerProcess::registerClass());
    DeleteFileW(trace.c_str());
}

}  // namespace
}  // namespace veltrano::testing
