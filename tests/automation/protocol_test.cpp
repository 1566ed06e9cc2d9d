#include <gtest/gtest.h>

#include "automation/socket/dispatch.h"
#include "automation/socket/frame.h"
#include "automation/socket/message.h"
#include "automation/socket/request_trace.h"
#include "raised.h"
#include "support/scripted_automation.h"

namespace veltrano::ipc {
namespace {

TEST(frame_reader, cuts_payloads_from_bytes_arriving_one_at_a_time) {
    const std::string stream = encodeFrame("first") + encodeFrame("") + encodeFrame("третий");
    FrameReader reader;
    std::vector<std::string> payloads;
    for (char byte : stream) {
        reader.append(std::string_view(&byte, 1));
        while (auto payload = reader.next()) payloads.push_back(*payload);
    }
    EXPECT_EQ(payloads, (std::vector<std::string>{"first", "", "третий"}));
    EXPECT_EQ(reader.pending(), 0u);
}

TEST(frame_reader, the_largest_frame_passes_and_a_longer_one_poisons_the_stream) {
    FrameReader reader;
    reader.append(encodeFrame(std::string(kMaxFrameSize, 'x')));
    EXPECT_EQ(reader.next().value_or("").size(), kMaxFrameSize);
    EXPECT_THROW(encodeFrame(std::string(kMaxFrameSize + 1, 'x')), std::length_error);
    reader.append(std::string("\x7F\xFF\xFF\xFF", 4) + "abc");
    EXPECT_FALSE(reader.next());
    EXPECT_TRUE(reader.oversized());
    EXPECT_EQ(reader.announcedLength(), 0x7FFFFFFFu);
    reader.append(encodeFrame("late"));
    EXPECT_FALSE(reader.next());
}

TEST(messages, every_member_and_answer_kind_survives_a_round_trip) {
    for (int m = 0; m <= static_cast<int>(Member::Application); ++m) {
        const Request request{static_cast<Member>(m), "Str$(\"ä\") + \"\\\""};
        EXPECT_EQ(decodeRequest(encodeRequest(request)), request);
    }
    for (const Answer& answer :
         {Answer::value("4"), Answer::value(""),
          Answer::failure(-2147352567, 1, "Unrecognized command: Inset"),
          Answer::failure(462, -7, "gone"), Answer::refused("why"), Answer::keepAlive()}) {
        EXPECT_EQ(decodeAnswer(encodeAnswer(answer)), answer);
    }
}

TEST(messages, malformed_requests_are_rejected_with_a_reason_and_answers_too) {
    using namespace std::string_literals;
    // A request: the protocol version, the length of the member's name, the name, the argument.
    for (const auto& [payload, reason] :
         {std::pair{""s, "empty message"},
          {"\2\4Eval"s, "unsupported protocol version 2 (this side speaks 1)"},
          {"\1"s, "message cut short"},
          {"\1\11Eval"s, "member name cut short"},
          {"\1\4Quit"s, "unknown member \"Quit\""},
          {"\1\4Eval\xC3"s, "argument is not valid UTF-8"},
          {"\1\2Do"s, "done"}}) {
        EXPECT_EQ(testing::whatOf<ProtocolError>([&] { decodeRequest(payload); }), reason);
    }
    for (const std::string& answer :
         {"\x01\x01\x00\x00"s, "\x01\x07"s, "\x01\x00\xFF"s, "\x01\x03x"s}) {
        EXPECT_THROW(decodeAnswer(answer), ProtocolError);
    }
}

TEST(json_trace, escapes_text_and_replaces_bytes_that_are_not_utf8) {
    EXPECT_EQ(jsonString("say \"hi\"\\\n\t\x01"), "\"say \\\"hi\\\"\\\\\\n\\t\\u0001\"");
    EXPECT_EQ(jsonString("Щ\xFFok"), "\"Щ\xEF\xBF\xBDok\"");
}

TEST(dispatch, what_the_protocol_cannot_carry_is_refused_before_or_after_the_host) {
    testing::ScriptedAutomation host;
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
    host.answer("huge", std::string(2u << 20, 'x'));
    EXPECT_EQ(dispatch(host, {Member::Eval, "huge"}).kind, Answer::Kind::Refused);
}

}  // namespace
}  // namespace veltrano::ipc
