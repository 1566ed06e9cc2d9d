#include <gtest/gtest.h>

#include <functional>

#include "automation/inprocess/inprocess_automation.h"
#include "foundation/run_time_error.h"
#include "sample_workspace.h"

namespace veltrano {
namespace {

// The failure's number and message; 0 when the call raised nothing.
std::pair<std::int32_t, std::string> failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RunTimeError& e) {
        return {e.number(), e.what()};
    }
    return {0, ""};
}

TEST(inprocess_automation, answers_runs_and_raises_the_hosts_failures) {
    InProcessAutomation host(mbhost::testing::makeSampleHost());
    host.Do("Dim v As Float\r\nv = 1.5");
    EXPECT_EQ(host.Eval("v * 2"), "3");
    EXPECT_EQ(host.LastErrorCode(), 0);
    const auto [number, what] = failureOf([&] { host.Do("Inset into points"); });
    EXPECT_EQ(number, err::kAutomationFailure);
    EXPECT_NE(what.find("Unrecognized command: Inset"), std::string::npos);
    EXPECT_NE(host.LastErrorCode(), 0);
    EXPECT_EQ(host.LastErrorMessage(),
              "line 1, position 1, near 'Inset': Unrecognized command: Inset");
    host.SetLastErrorCode(0);
    EXPECT_EQ(host.LastErrorCode(), 0);
    EXPECT_EQ(host.LastErrorMessage(), "");
    EXPECT_THROW(host.Eval("Foo(1)"), RunTimeError);
    host.Eval("2*2");  // a success resets
    EXPECT_EQ(host.LastErrorCode(), 0);
}

TEST(inprocess_provider, attaches_only_while_running) {
    auto automation = std::make_shared<InProcessAutomation>();
    InProcessProvider provider(automation, false);
    EXPECT_EQ(failureOf([&] { provider.attachRunning(); }).first, err::kNoRunningCopy);
    EXPECT_EQ(provider.startNew(), automation);
    EXPECT_EQ(provider.attachRunning(), automation);
}

}  // namespace
}  // namespace veltrano
