#include "support/scripted_automation.h"

#include <gtest/gtest.h>

#include <functional>

#include "foundation/run_time_error.h"

namespace veltrano::testing {
namespace {

std::int32_t errorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RunTimeError& error) {
        return error.number();
    }
    return 0;
}

TEST(scripted_automation, answers_by_rule_fails_as_the_host_would_and_records_in_order) {
    ScriptedAutomation host;
    host.answer("SystemInfo(17)", "1500");
    host.answerWith([](const std::string& e) -> std::optional<std::string> {
        if (e.rfind("Str$(", 0) == 0) return "Polyline";
        return std::nullopt;
    });
    host.fail("Inset Into t", 1, "Unrecognized command: Inset");
    EXPECT_EQ(host.Eval("SystemInfo(17)"), "1500");
    EXPECT_EQ(host.Eval("Str$(x)"), "Polyline");
    EXPECT_EQ(errorNumberOf([&] { host.Do("Inset Into t"); }), err::kAutomationFailure);
    EXPECT_EQ(host.LastErrorCode(), 1);
    EXPECT_EQ(host.LastErrorMessage(), "Unrecognized command: Inset");
    EXPECT_EQ(errorNumberOf([&] { host.Eval("NumTables()"); }), err::kAutomationFailure);
    EXPECT_EQ(host.LastErrorCode(), ScriptedAutomation::kNoRuleCode);
    EXPECT_EQ(host.traffic(), (std::vector<Request>{{"Eval", "SystemInfo(17)"},
                                                    {"Eval", "Str$(x)"},
                                                    {"Do", "Inset Into t"},
                                                    {"Eval", "NumTables()"}}));
}

TEST(scripted_automation, after_death_every_member_raises_host_gone) {
    ScriptedAutomation host;
    host.die(2);
    EXPECT_EQ(host.Eval("2*2"), "4");
    host.Do("x");
    const std::function<void()> members[] = {
        [&] { host.Eval("2*2"); },        [&] { host.Do("x"); },
        [&] { host.LastErrorCode(); },    [&] { host.SetLastErrorCode(0); },
        [&] { host.LastErrorMessage(); }, [&] { host.Name(); },
        [&] { host.Application(); },      [&] { host.RunMenuCommand(1); }};
    for (const auto& member : members) EXPECT_EQ(errorNumberOf(member), err::kHostGone);
}

TEST(scripted_automation, its_provider_attaches_only_a_running_copy) {
    ScriptedProvider provider;
    EXPECT_EQ(errorNumberOf([&] { provider.attachRunning(); }), err::kNoRunningCopy);
    provider.running = std::make_shared<ScriptedAutomation>();
    EXPECT_EQ(provider.attachRunning().get(), provider.running.get());
}

}  // namespace
}  // namespace veltrano::testing
