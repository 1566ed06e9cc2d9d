// How the host's errors reach the user, and what callers can ask afterwards.
#include <gtest/gtest.h>

#include <functional>

#include "host_link_fixture.h"

namespace veltrano::testing {
namespace {

using State = miProObj::State;

const ShownMessage kLinkLost{"Произошло не запланированное отключение связи с MapInfo.",
                             "Сбой активизации связи с MapInfo.", MessageIcon::CriticalStop};

// Each call whose request the host refuses shows the host's error once, clears it, marks the
// call failed and gives its nothing.
TEST(msgbox_err, a_refused_request_is_shown_once_cleared_and_gives_nothing) {
    struct Row {
        const char* refused;
        std::function<bool(HostLinkFixture&)> givesNothing;
    };
    const Row rows[] = {
        {"1+", [](auto& f) { return f.obj->Eval("1+").isEmpty() && f.obj->lastCallFailed(); }},
        {"TableInfo(nosuch,1) ",
         [](auto& f) { return f.obj->TableInfo("nosuch", 1).isNull() && f.obj->lastCallFailed(); }},
        {"Open table \"/data/bad.tab\" View Automatic ",
         [](auto& f) { return f.obj->openTable("/data/bad.tab", "", "") == -1; }},
        {"WindowInfo(4,3)", [](auto& f) { return f.obj->WindowInfoType(4).empty(); }},
        {"Insert Into out",
         [](auto& f) {
             f.obj->xDo("Insert Into out");
             const bool failed = f.obj->lastCallFailed();
             f.obj->xDo("Commit Table out");
             return failed && !f.obj->lastCallFailed();
         }},
        {"TableInfo(roads,1) ",  // showing a table stops at its name
         [](auto& f) {
             f.obj->showAllOnTable(77, "roads");
             return f.host->evals() == Strings{"TableInfo(roads,1) "};
         }},
        {"StatusBar  Hide ",  // a refused first stage still brings the host forward
         [](auto& f) {
             f.obj->ShowMiObj();
             return f.activation.calls.size() == 1u;
         }}};
    for (const auto& row : rows) {
        ConnectedLink f;
        f.answerTables({ScriptedTable{}});
        f.host->clearRequests();
        f.host->fail(row.refused, 405, "refused");
        EXPECT_TRUE(row.givesNothing(f)) << row.refused;
        EXPECT_EQ(
            f.messages.shown,
            (std::vector<ShownMessage>{{"refused", "MI Error: 405", MessageIcon::CriticalStop}}))
            << row.refused;
        EXPECT_TRUE(f.sent("SetLastErrorCode", "0"));
        EXPECT_FALSE(f.obj->IsError());
        EXPECT_FALSE(LastError::current().has_value());
    }
}

TEST(msgbox_err, a_statement_the_host_rejects_without_raising_is_still_failed) {
    struct QuietlyRefusing : ScriptedAutomation {
        void Do(std::string_view statement) override {
            ScriptedAutomation::Do(statement);
            if (statement == "Set Map Redraw On") SetLastErrorCode(405);
        }
    };
    HostLinkFixture f({}, std::make_shared<QuietlyRefusing>());
    f.connectEmptyHost();
    f.obj->xDo("Set Map Redraw Off");
    EXPECT_FALSE(f.obj->lastCallFailed());
    f.obj->xDo("Set Map Redraw On");
    EXPECT_TRUE(f.obj->lastCallFailed());
    EXPECT_FALSE(f.obj->IsError());
    EXPECT_EQ(f.shown(&ShownMessage::caption), Strings{"MI Error: 405"});
}

TEST(msgbox_err, another_failure_while_reporting_shows_number_and_description) {
    struct Failing : ScriptedAutomation {
        std::string LastErrorMessage() override { throw RunTimeError(err::kOverflow); }
    };
    HostLinkFixture f({}, std::make_shared<Failing>());
    f.connectEmptyHost();
    f.host->SetLastErrorCode(5);
    f.obj->msgboxErr();
    EXPECT_EQ(f.shown(), Strings{"6: Overflow"});
    EXPECT_EQ(f.obj->state(), State::Connected);
}

TEST(msgbox_err, a_link_lost_while_reporting_midway_ends_the_operation_cleanly) {
    // The host refuses a census question and is gone when its error code is read.
    struct GoneOnErrorRead : ScriptedAutomation {
        std::int32_t LastErrorCode() override {
            if (ScriptedAutomation::LastErrorCode() != 0) die();
            return ScriptedAutomation::LastErrorCode();
        }
    };
    HostLinkFixture f({}, std::make_shared<GoneOnErrorRead>());
    f.provider.next = f.host;
    f.provider.running.reset();
    f.answerEmptyHost();
    f.host->fail("NumWindows()", 1, "busy");
    EXPECT_EQ(f.obj->openMiPro(), 1500);
    ASSERT_FALSE(f.messages.shown.empty());
    EXPECT_EQ(f.messages.shown[0], kLinkLost);
    EXPECT_EQ(std::tuple(f.obj->state(), f.obj->GetMiApp(), f.obj->hwnd()),
              std::tuple(State::Idle, nullptr, 0));
    EXPECT_FALSE(LastError::current().has_value());
}

TEST(is_error, answers_from_any_error_code_and_a_dead_host_fails_statements_silently) {
    ConnectedLink f;
    EXPECT_FALSE(f.obj->IsError());
    f.obj->msgboxErr();  // nothing pending: nothing shown, nothing cleared
    EXPECT_FALSE(f.sent("SetLastErrorCode", "0"));
    EXPECT_TRUE(f.messages.shown.empty());
    for (const int code : {9, -9}) {
        f.host->SetLastErrorCode(code);
        EXPECT_TRUE(f.obj->IsError()) << code;
    }
    f.host->SetLastErrorCode(0);
    f.host->die(1);  // the probe passes, the statement meets a dead host
    f.obj->xDo("Commit Table out");
    EXPECT_TRUE(f.obj->lastCallFailed());
    EXPECT_EQ(f.obj->state(), State::Held);  // silently
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(errorNumberOf([&] { f.obj->IsError(); }), err::kHostGone);
}

}  // namespace
}  // namespace veltrano::testing
