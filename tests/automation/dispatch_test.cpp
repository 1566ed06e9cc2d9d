#include "automation/socket/dispatch.h"

#include <gtest/gtest.h>

#include "foundation/run_time_error.h"
#include "support/scripted_automation.h"

namespace veltrano::ipc {
namespace {

using testing::ScriptedAutomation;

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
