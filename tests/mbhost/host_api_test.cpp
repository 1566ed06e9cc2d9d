#include <gtest/gtest.h>

#include "automation/inprocess/inprocess_automation.h"
#include "automation/raised.h"
#include "sample_workspace.h"

namespace veltrano {
namespace {

TEST(inprocess_automation, answers_runs_and_raises_the_hosts_failures) {
    InProcessAutomation host(mbhost::testing::makeSampleHost());
    host.Do("Dim v As Float\r\nv = 1.5");
    EXPECT_EQ(host.Eval("v * 2"), "3");
    EXPECT_EQ(host.LastErrorCode(), 0);
    const auto raised = testing::raisedBy([&] { host.Do("Inset into points"); });
    EXPECT_EQ(raised.number, err::kAutomationFailure);
    EXPECT_NE(raised.description.find("Unrecognized command: Inset"), std::string::npos);
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
    EXPECT_EQ(testing::errorNumberOf([&] { provider.attachRunning(); }), err::kNoRunningCopy);
    EXPECT_EQ(provider.startNew(), automation);
    EXPECT_EQ(provider.attachRunning(), automation);
}

}  // namespace
}  // namespace veltrano
