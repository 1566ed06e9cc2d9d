#include "automation/socket/dispatch.h"

#include <gtest/gtest.h>

#include "foundation/run_time_error.h"
#include "support/scripted_automation.h"

namespace veltrano::ipc {
namespace {

using testing::ScriptedAutomation;

TEST(dispatch, calls_the_named_member_and_answers_its_value) {
    ScriptedAutomation host;
    host.version = "1500";
    EXPECT_EQ(dispatch(host, {Member::Eval, "2*2"}), Answer::value("4"));
    EXPECT_EQ(dispatch(host, {Member::Do, "Fetch First From t"}), Answer::value(""));
    EXPECT_EQ(dispatch(host, {Member::RunMenuCommand, "-102"}), Answer::value(""));
    EXPECT_EQ(dispatch(host, {Member::SetVisible, "T"}), Answer::value(""));
    EXPECT_EQ(dispatch(host, {Member::Visible, ""}), Answer::value("T"));
    EXPECT_EQ(dispatch(host, {Member::Version, ""}), Answer::value("1500"));
    EXPECT_EQ(host.traffic(),
              (std::vector<testing::Request>{
                  {"Eval", "2*2"}, {"Do", "Fetch First From t"}, {"RunMenuCommand", "-102"}}));
}

TEST(dispatch, a_host_failure_carries_the_error_number_code_and_message) {
    ScriptedAutomation host;
    host.fail("Inset Into t", 17, "Unrecognized command: Inset");
    EXPECT_EQ(dispatch(host, {Member::Do, "Inset Into t"}),
              Answer::failure(err::kAutomationFailure, 17, "Unrecognized command: Inset"));
    EXPECT_EQ(dispatch(host, {Member::LastErrorCode, ""}), Answer::value("17"));
    EXPECT_EQ(dispatch(host, {Member::SetLastErrorCode, "0"}), Answer::value(""));
    EXPECT_EQ(dispatch(host, {Member::LastErrorMessage, ""}), Answer::value(""));
    host.die();
    const Answer gone = dispatch(host, {Member::Eval, "2*2"});
    EXPECT_EQ(std::pair(gone.errorNumber, gone.lastErrorCode), std::pair(err::kHostGone, 0));
}

TEST(dispatch, what_the_protocol_cannot_carry_is_refused_before_or_after_the_host) {
    ScriptedAutomation host;
    for (const auto& [request, reason] :
         {std::pair{Request{Member::RunMenuCommand, "12x"},
                    "RunMenuCommand takes a whole number, not \"12x\""},
          {Request{Member::SetLastErrorCode, "99999999999"},
           "SetLastErrorCode takes a whole number, not \"99999999999\""},
          {Request{Member::SetVisible, "true"}, "SetVisible takes T or F, not \"true\""},
          {Request{Member::Name, "x"}, "Name takes no argument"}}) {
        EXPECT_EQ(dispatch(host, request), Answer::refused(reason));
    }
    EXPECT_TRUE(host.requests().empty());
    host.answer("bad", "caf\xE9");
    host.answer("huge", std::string(2u << 20, 'x'));
    EXPECT_EQ(dispatch(host, {Member::Eval, "bad"}),
              Answer::refused("the answer is not valid UTF-8"));
    EXPECT_EQ(dispatch(host, {Member::Eval, "huge"}).kind, Answer::Kind::Refused);
}

}  // namespace
}  // namespace veltrano::ipc
