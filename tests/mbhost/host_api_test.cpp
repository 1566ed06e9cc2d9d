#include <gtest/gtest.h>

#include "automation/inprocess/inprocess_automation.h"
#include "foundation/run_time_error.h"
#include "sample_workspace.h"

namespace {

using mbhost::testing::makeSampleHost;

TEST(inprocess_automation, answers_expressions_and_runs_statements) {
    veltrano::InProcessAutomation host(makeSampleHost());
    EXPECT_EQ(host.Eval("2*2"), "4");
    host.Do("Dim v As Float\r\nv = 1.5");
    EXPECT_EQ(host.Eval("v * 2"), "3");
    EXPECT_EQ(host.LastErrorCode(), 0);
}

TEST(inprocess_automation, host_failure_raises_automation_error_and_sets_last_error) {
    veltrano::InProcessAutomation host(makeSampleHost());
    try {
        host.Do("Inset into points");
        FAIL() << "no failure raised";
    } catch (const veltrano::RunTimeError& e) {
        EXPECT_EQ(e.number(), veltrano::err::kAutomationFailure);
        EXPECT_NE(std::string(e.what()).find("Unrecognized command: Inset"), std::string::npos);
    }
    EXPECT_NE(host.LastErrorCode(), 0);
    EXPECT_EQ(host.LastErrorMessage(),
              "line 1, position 1, near 'Inset': Unrecognized command: Inset");
    host.SetLastErrorCode(0);
    EXPECT_EQ(host.LastErrorCode(), 0);
}

TEST(inprocess_provider, attaches_only_while_running) {
    auto automation = std::make_shared<veltrano::InProcessAutomation>();
    veltrano::InProcessProvider provider(automation, false);
    try {
        provider.attachRunning();
        FAIL() << "attached to a host that is not running";
    } catch (const veltrano::RunTimeError& e) {
        EXPECT_EQ(e.number(), veltrano::err::kNoRunningCopy);
    }
    EXPECT_EQ(provider.startNew(), automation);
    EXPECT_EQ(provider.attachRunning(), automation);
}

}  // namespace
