// The host connection object's states, the transitions between them, the session chores, how
// the host's errors reach the user, and how its text answers become host values under a point
// and a comma as the regional decimal separator.
#include <gtest/gtest.h>

#include <functional>

#include "support/host_link_fixture.h"

namespace veltrano::testing {
namespace {

using State = miProObj::State;

TEST(connection_state, an_idle_object_sends_shows_and_gives_nothing_and_connects_to_no_host) {
    HostLinkFixture f;
    EXPECT_EQ(f.obj->state(), State::Idle);
    EXPECT_EQ(f.obj->countWin() | f.obj->minWin() | f.obj->maxWin() | f.obj->curWinID(), 0);
    EXPECT_TRUE(f.obj->IsError());  // no host object
    EXPECT_FALSE(f.obj->isLoaded());
    EXPECT_FALSE(f.obj->Close_All());
    EXPECT_EQ(f.obj->TableNROWS(HostValue::text("roads")), -1);
    EXPECT_EQ(f.obj->makeSelection("roads", "len > 10", "s"), -1);
    EXPECT_EQ(f.obj->miName(), "");
    EXPECT_EQ(errorNumberOf([&] { f.obj->Visible(true); }), err::kObjectNotSet);
    f.obj->xDo("Commit Table out");
    EXPECT_TRUE(f.obj->lastCallFailed());
    f.obj->RefreshWindowsInfo();
    f.obj->ShowMiObj();
    EXPECT_TRUE(f.host->requests().empty());
    EXPECT_TRUE(f.activation.calls.empty());
    f.provider.running.reset();
    EXPECT_EQ(f.obj->connect2MiPro(), 0);
    EXPECT_EQ(f.obj->state(), State::Idle);
    EXPECT_EQ(f.provider.attachCalls, 1);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(connection_state, connect_reads_version_and_main_window_then_builds_the_census) {
    HostLinkFixture f;
    answerEmptyHost(*f.host);
    EXPECT_EQ(f.obj->connect2MiPro(HostValue::whole(321)), 1500);
    EXPECT_EQ(f.obj->state(), State::Connected);
    EXPECT_EQ(f.obj->hwnd(), 4242);
    EXPECT_TRUE(f.sent("Do", "Set Application Window 321"));
    f.answerWindows(1, {ScriptedWindow{.number = 1, .id = 77, .type = "2"}});
    EXPECT_EQ(f.obj->connect2MiPro(), 1500);  // again: same host object, a new census
    EXPECT_EQ(f.provider.attachCalls, 1);
    EXPECT_EQ(f.obj->GetMiApp(), f.host);
    ASSERT_EQ(f.obj->countWin(), 1);
    EXPECT_EQ(f.obj->miWindows(1)->wId(), 77);
    EXPECT_TRUE(f.messages.shown.empty());
}

// A connected object that has read one table and one window, whose host then died.
std::unique_ptr<HostLinkFixture> deadAfterCensus() {
    auto f = std::make_unique<HostLinkFixture>();
    answerEmptyHost(*f->host);
    answerTables(*f->host, {ScriptedTable{}});
    f->answerWindows(1, {ScriptedWindow{.number = 1, .type = "2"}});
    f->obj->connect2MiPro();
    f->host->die();
    return f;
}

TEST(connection_state, is_loaded_resets_silently_and_a_fresh_host_is_reached_again) {
    const auto f = deadAfterCensus();
    EXPECT_FALSE(f->obj->isLoaded());
    EXPECT_EQ(f->obj->state(), State::Held);
    EXPECT_EQ(f->obj->countWin() | f->obj->maxWin() | f->obj->curWinID() | f->obj->hwnd(), 0);
    EXPECT_EQ(f->obj->windowSlots().slots(), std::vector<std::shared_ptr<miProWind>>{nullptr});
    EXPECT_EQ(f->obj->tableSlots().slots(), TableList{nullptr});
    ASSERT_TRUE(LastError::current().has_value());
    EXPECT_EQ(LastError::current()->number(), err::kHostGone);  // left pending by the probe
    EXPECT_TRUE(f->messages.shown.empty());

    HostLinkFixture fresh;
    answerEmptyHost(*fresh.host);
    f->provider.running = fresh.host;
    EXPECT_EQ(f->obj->connect2MiPro(), 1500);
    EXPECT_EQ(f->obj->GetMiApp(), fresh.host);
    EXPECT_EQ(f->obj->state(), State::Connected);
}

// qIsLoaded finds the host dead without resetting and clears the error; a refresh resets.
TEST(connection_state, a_held_object_gives_each_query_its_own_nothing_and_refreshes_to_reset) {
    const auto f = deadAfterCensus();
    EXPECT_FALSE(f->obj->qIsLoaded());
    EXPECT_EQ(f->obj->state(), State::Held);
    EXPECT_EQ(f->obj->countWin() * f->obj->hwnd(), 4242);
    EXPECT_FALSE(LastError::current().has_value());
    f->obj->RefreshWindowsInfo();
    EXPECT_EQ(f->obj->state(), State::Held);
    EXPECT_EQ(f->obj->hwnd(), 0);
    EXPECT_TRUE(f->obj->Eval("x").isEmpty() && f->obj->SystemInfo(9).isNull() &&
                f->obj->TableInfo("roads", 1).isNull() && f->obj->WindowInfo(1, 1).isEmpty() &&
                f->obj->MapperInfo(1, 1).isEmpty() && f->obj->WindowInfoType(1).empty());
    EXPECT_EQ(f->obj->NumWindows() + f->obj->NumTables(), 0);
    EXPECT_TRUE(f->messages.shown.empty());
}

TEST(connection_state, deattach_and_destruction_detach_a_live_host_only_and_release_it) {
    for (const bool dead : {false, true}) {
        ConnectedLink f;
        f.obj->Deattach();
        EXPECT_EQ(f.obj->state(), State::Connected);
        EXPECT_EQ(f.obj->hwnd(), 4242);
        if (dead) f.host->die();
        f.obj.reset();
        EXPECT_EQ(f.host->statements().size(), dead ? 1u : 2u);
        EXPECT_EQ(f.host->statements().back(), "Set Application Window 0");
        EXPECT_TRUE(f.messages.shown.empty());
        EXPECT_EQ(f.host.use_count(), 2);  // the fixture and the provider only
    }
}

TEST(connection_state, a_failing_attach_other_than_no_host_shows_its_description) {
    HostLinkFixture f;
    answerEmptyHost(*f.host);
    f.host->fail("SystemInfo(17)", 17, "no such code");
    EXPECT_EQ(f.obj->connect2MiPro(), 0);
    EXPECT_EQ(f.messages.shown,
              (std::vector<ShownMessage>{{"no such code", "", MessageIcon::None}}));
}

TEST(open_host, reports_a_host_that_cannot_start_and_shows_a_started_one_with_its_pads) {
    HostLinkFixture f;
    f.provider.running.reset();
    EXPECT_EQ(f.obj->openMiPro(), 0);
    EXPECT_EQ(f.shown(), Strings{describeError(err::kNoRunningCopy)});
    f.messages.shown.clear();
    f.provider.next = f.host;
    answerEmptyHost(*f.host);
    f.answerWindows(0, {ScriptedWindow{.number = -1, .id = 9, .title = "Main", .type = "19"}});
    EXPECT_EQ(f.obj->openMiPro(55), 1500);
    EXPECT_EQ(f.obj->state(), State::Connected);
    EXPECT_EQ(f.host->statements(),
              (Strings{"Set Application Window 55", "Alter ButtonPad  \"Main\" show "}));
    EXPECT_TRUE(f.sent("SetVisible", "T"));
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(close_all, closes_a_held_host_without_a_census_and_a_connected_one_with_one) {
    ConnectedLink f;
    bool busy = true;
    f.host->failWhen([&busy](const Request& r) { return busy && r.argument == "2*2"; }, 1, "busy");
    ASSERT_FALSE(f.obj->qIsLoaded());
    busy = false;
    f.host->clearRequests();
    EXPECT_TRUE(f.obj->Close_All());
    EXPECT_EQ(f.host->statements(), Strings{"Close All "});
    EXPECT_EQ(f.obj->state(), State::Held);
    EXPECT_FALSE(f.sent("Eval", "NumWindows()"));
    f.connectEmptyHost();
    EXPECT_TRUE(f.obj->Close_All(true));
    EXPECT_EQ(f.host->statements(), Strings{"Close All  Interactive "});
    EXPECT_TRUE(f.sent("Eval", "NumWindows()"));
    EXPECT_EQ(f.obj->state(), State::Connected);
    f.obj->ClosePro(true);
    EXPECT_EQ(f.host->statements().back(), "End MapInfo Interactive ");
    EXPECT_EQ(f.obj->state(), State::Idle);
}

TEST(session_chores, send_only_what_is_valid_and_clear_errors_only_when_set) {
    ConnectedLink f;
    f.obj->Attach(0);
    f.obj->Attach(900);
    EXPECT_TRUE(f.obj->RunMenuCommand("abc").isEmpty());
    EXPECT_TRUE(f.obj->RunMenuCommand("616").isEmpty());
    EXPECT_EQ(f.host->statements(), Strings{"Set Application Window 900 "});
    EXPECT_EQ(f.host->traffic().back(), (Request{"RunMenuCommand", "616"}));
    EXPECT_FALSE(f.sent("RunMenuCommand", "0"));
    EXPECT_EQ(f.obj->miName() + f.obj->miFullName() + f.obj->miProductLevel() + f.obj->miVersion(),
              f.host->name + f.host->fullName + f.host->productLevel + f.host->version);
    f.obj->ClearError();
    EXPECT_FALSE(f.sent("SetLastErrorCode", "0"));
    f.host->SetLastErrorCode(7);
    f.obj->ClearError();
    EXPECT_TRUE(f.sent("SetLastErrorCode", "0"));
    EXPECT_FALSE(f.obj->IsError());
}

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
        answerTables(*f.host, {ScriptedTable{}});
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
    answerEmptyHost(*f.host);
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

enum class Query { Eval, SystemInfo, TableInfo, WindowInfo, MapperInfo };

// Each query with the text it sends, in the order of Query.
const std::pair<const char*, HostValue (*)(miProObj&)> kQueries[] = {
    {"x", [](miProObj& o) { return o.Eval("x"); }},
    {"SystemInfo(30)", [](miProObj& o) { return o.SystemInfo(30); }},
    {"TableInfo(roads,19) ", [](miProObj& o) { return o.TableInfo("roads", 19); }},
    {"WindowInfo(77,4)", [](miProObj& o) { return o.WindowInfo(77, 4); }},
    {"MapperInfo(77,2)", [](miProObj& o) { return o.MapperInfo(77, 2); }}};

TEST(conversions, answers_become_whole_numbers_reals_texts_or_null_in_every_region) {
    using V = HostValue;
    // clang-format off
    const struct {
        Query query;
        const char* answer;
        HostValue expected;
    } rows[] = {
        {Query::Eval, "12", V::whole(12)}, {Query::Eval, "-7", V::whole(-7)},
        {Query::Eval, "3.25", V::real(3.25)}, {Query::Eval, "0.0", V::real(0.0)},
        {Query::Eval, "T", V::text("T")}, {Query::Eval, "", V::text("")},
        {Query::Eval, "/data/roads.tab", V::text("/data/roads.tab")},
        {Query::Eval, "-4.0000000000000002E+01", V::real(-40.0)},
        {Query::Eval, "7E", V::text("7E")},  // an exponent without digits is no number
        {Query::Eval, "1,5", V::real(1.0)},  // read only to the comma
        {Query::Eval, "123456789012", V::null()}, {Query::Eval, "2147483647", V::whole(2147483647)},
        {Query::SystemInfo, "0.0", V::whole(0)},  // the infos turn a real zero whole
        {Query::SystemInfo, "12", V::whole(12)}, {Query::SystemInfo, "3.25", V::real(3.25)},
        {Query::SystemInfo, "C:\\maps\\roads.TAB", V::text("C:\\maps\\roads.TAB")},
        {Query::SystemInfo, "123456789012", V::null()},
        {Query::TableInfo, "T", V::text("T")}, {Query::TableInfo, "3", V::whole(3)},
        {Query::TableInfo, "0.5", V::real(0.5)}, {Query::TableInfo, "-0.0", V::whole(0)},
        {Query::TableInfo, "/data/roads.tab", V::text("/data/roads.tab")},
        {Query::TableInfo, "123456789012", V::null()},
        {Query::WindowInfo, "0.0", V::whole(0)}, {Query::WindowInfo, "6.5", V::real(6.5)},
        {Query::WindowInfo, "roads Map", V::text("roads Map")},
        {Query::MapperInfo, "50000.5", V::real(50000.5)}, {Query::MapperInfo, "12", V::whole(12)}};
    // clang-format on
    for (const auto& settings :
         {FixedRegionalSettings::pointLocale(), FixedRegionalSettings::commaLocale()}) {
        ConnectedLink f(settings);
        for (const auto& row : rows) {
            const auto& [asked, call] = kQueries[static_cast<int>(row.query)];
            f.host->answer(asked, row.answer);
            EXPECT_EQ(call(*f.obj), row.expected)
                << row.answer << " to query " << static_cast<int>(row.query) << " under "
                << static_cast<int>(settings.decimalSeparator());
        }
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

// Null and text that is no number fail as the census and the window queries show.
TEST(value_conversions, whole_numbers_read_the_users_comma_and_real_texts_show_it) {
    const auto regional = FixedRegionalSettings::commaLocale();
    const AnswerReader reader(regional);
    EXPECT_EQ(reader.toWhole(HostValue::text("1,5")), 2);  // the user's own decimal comma
    EXPECT_EQ(reader.toWhole(HostValue()), 0);
    EXPECT_EQ(errorNumberOf([&] { reader.toWhole(HostValue::real(3e9)); }), err::kOverflow);
    EXPECT_DOUBLE_EQ(reader.hostNumber(HostValue::text("10.75")), 10.75);
    EXPECT_EQ(reader.toText(HostValue::real(10.75)), "10,75");  // shown to the user
}

TEST(value_conversions, upper_case_folds_latin_and_cyrillic_letters) {
    EXPECT_EQ(upperCase("c:/Карты/roads.tab ёлка é"), "C:/КАРТЫ/ROADS.TAB ЁЛКА É");
    EXPECT_EQ(upperCase(std::string("\xff") + "a"), std::string("\xff") + "A");  // kept as it is
}

}  // namespace
}  // namespace veltrano::testing
