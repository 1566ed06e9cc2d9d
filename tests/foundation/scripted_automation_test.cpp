#include "support/scripted_automation.h"

#include <gtest/gtest.h>

#include "foundation/run_time_error.h"

namespace veltrano::testing {
namespace {

TEST(scripted_automation, answers_by_rule_and_records_in_order) {
    ScriptedAutomation host;
    host.answer("SystemInfo(17)", "1500");
    host.answerWith([](const std::string& e) -> std::optional<std::string> {
        if (e.rfind("Str$(", 0) == 0) return "Polyline";
        return std::nullopt;
    });
    EXPECT_EQ(host.Eval("SystemInfo(17)"), "1500");
    EXPECT_EQ(host.Eval("Str$(x)"), "Polyline");
    host.Do("Fetch First From Selection");
    EXPECT_EQ(host.traffic(), (std::vector<Request>{{"Eval", "SystemInfo(17)"},
                                                    {"Eval", "Str$(x)"},
                                                    {"Do", "Fetch First From Selection"}}));
}

TEST(scripted_automation, failing_request_sets_last_error_and_raises_automation_failure) {
    ScriptedAutomation host;
    host.fail("Inset Into t", 1, "Unrecognized command: Inset");
    try {
        host.Do("Inset Into t");
        FAIL();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::kAutomationFailure);
    }
    EXPECT_EQ(host.LastErrorCode(), 1);
    EXPECT_EQ(host.LastErrorMessage(), "Unrecognized command: Inset");
    host.SetLastErrorCode(0);
    EXPECT_EQ(host.LastErrorCode(), 0);
}

TEST(scripted_automation, unanswered_eval_fails_loudly) {
    ScriptedAutomation host;
    EXPECT_THROW(host.Eval("NumTables()"), RunTimeError);
    EXPECT_EQ(host.LastErrorCode(), ScriptedAutomation::kNoRuleCode);
}

TEST(scripted_automation, after_death_every_member_raises_host_gone) {
    ScriptedAutomation host;
    host.die(2);
    EXPECT_EQ(host.Eval("2*2"), "4");
    host.Do("x");
    const auto expectGone = [](auto&& call) {
        try {
            call();
            ADD_FAILURE() << "no failure";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::kHostGone);
        }
    };
    expectGone([&] { host.Eval("2*2"); });
    expectGone([&] { host.Do("x"); });
    expectGone([&] { host.LastErrorCode(); });
    expectGone([&] { host.SetLastErrorCode(0); });
    expectGone([&] { host.LastErrorMessage(); });
    expectGone([&] { host.Name(); });
    expectGone([&] { host.Application(); });
    expectGone([&] { host.RunMenuCommand(1); });
}

TEST(scripted_provider, attach_without_running_copy_raises_429) {
    ScriptedProvider provider;
    try {
        provider.attachRunning();
        FAIL();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::kNoRunningCopy);
    }
    provider.running = std::make_shared<ScriptedAutomation>();
    EXPECT_EQ(provider.attachRunning().get(), provider.running.get());
}

}  // namespace
}  // namespace veltrano::testing
