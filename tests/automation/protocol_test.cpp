#include <gtest/gtest.h>

#include "automation/socket/frame.h"
#include "automation/socket/message.h"
#include "automation/socket/request_trace.h"
#include "foundation/utf8.h"

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

TEST(frame_reader, holds_a_frame_cut_short_until_the_rest_arrives) {
    const std::string frame = encodeFrame("Eval 2*2");
    FrameReader reader;
    reader.append(frame.substr(0, 6));
    EXPECT_FALSE(reader.next());
    EXPECT_EQ(reader.pending(), 6u);
    reader.append(frame.substr(6));
    EXPECT_EQ(reader.next(), "Eval 2*2");
}

TEST(frame_reader, an_announced_length_over_the_limit_poisons_the_stream) {
    FrameReader reader;
    reader.append(std::string("\x7F\xFF\xFF\xFF", 4) + "abc");
    EXPECT_FALSE(reader.next());
    EXPECT_TRUE(reader.oversized());
    EXPECT_EQ(reader.announcedLength(), 0x7FFFFFFFu);
    reader.append(encodeFrame("late"));
    EXPECT_FALSE(reader.next());
}

TEST(frame_reader, the_largest_allowed_frame_passes) {
    FrameReader reader;
    reader.append(encodeFrame(std::string(kMaxFrameSize, 'x')));
    auto payload = reader.next();
    ASSERT_TRUE(payload);
    EXPECT_EQ(payload->size(), kMaxFrameSize);
    EXPECT_THROW(encodeFrame(std::string(kMaxFrameSize + 1, 'x')), std::length_error);
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

TEST(messages, malformed_requests_are_rejected_with_a_reason) {
    const auto reason = [](std::string_view payload) -> std::string {
        try {
            decodeRequest(payload);
        } catch (const ProtocolError& e) {
            return e.what();
        }
        return "accepted";
    };
    EXPECT_EQ(reason(""), "empty message");
    EXPECT_EQ(reason(std::string("\x02\x04Eval", 6)),
              "unsupported protocol version 2 (this side speaks 1)");
    EXPECT_EQ(reason(std::string("\x01", 1)), "message cut short");
    EXPECT_EQ(reason(std::string("\x01\x09Eval", 6)), "member name cut short");
    EXPECT_EQ(reason(std::string("\x01\x04Quit", 6)), "unknown member \"Quit\"");
    EXPECT_EQ(reason(std::string("\x01\x04"
                                 "Eval\xC3",
                                 7)),
              "argument is not valid UTF-8");
    EXPECT_EQ(reason(std::string("\x01\x02"
                                 "Do",
                                 4)),
              "accepted");
}

TEST(messages, malformed_answers_are_rejected) {
    EXPECT_THROW(decodeAnswer(std::string("\x01\x01\x00\x00", 4)), ProtocolError);
    EXPECT_THROW(decodeAnswer(std::string("\x01\x07", 2)), ProtocolError);
    EXPECT_THROW(decodeAnswer(std::string("\x01\x00\xFF", 3)), ProtocolError);
    EXPECT_THROW(decodeAnswer(std::string("\x01\x03x", 3)), ProtocolError);
}

TEST(utf8, accepts_well_formed_text_and_rejects_the_classic_faults) {
    EXPECT_TRUE(isValidUtf8("plain ascii"));
    EXPECT_TRUE(isValidUtf8("Ошибка €𝄞"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong '/'
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));      // overlong, three bytes
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));          // cut short
    EXPECT_FALSE(isValidUtf8("\x80"));              // lone continuation
}

TEST(json_trace, escapes_text_and_replaces_bytes_that_are_not_utf8) {
    EXPECT_EQ(jsonString("say \"hi\"\\\n\t\x01"), "\"say \\\"hi\\\"\\\\\\n\\t\\u0001\"");
    EXPECT_EQ(jsonString("Щ\xFFok"), "\"Щ\xEF\xBF\xBDok\"");
}

}  // namespace
}  // namespace veltrano::ipc
