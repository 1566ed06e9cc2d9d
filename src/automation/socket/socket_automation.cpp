#include "automation/socket/socket_automation.h"

#include <charconv>

#include "foundation/run_time_error.h"

namespace veltrano::ipc {
namespace {

constexpr const char* kSource = "mbhost";

}  // namespace

SocketAutomation::SocketAutomation(SocketConnection connection)
    : connection_(std::move(connection)) {}

std::string SocketAutomation::call(Member member, std::string_view argument) {
    Answer answer = connection_.call(Request{member, std::string(argument)});
    switch (answer.kind) {
        case Answer::Kind::Value:
            return std::move(answer.text);
        case Answer::Kind::Failure:
            throw RunTimeError(answer.errorNumber, std::move(answer.text), kSource);
        case Answer::Kind::Refused:
        case Answer::Kind::KeepAlive:  // the connection never hands one on
            break;
    }
    throw RunTimeError(err::kAutomationFailure,
                       "mbhost refused " + std::string(memberName(member)) + ": " + answer.text,
                       kSource);
}

namespace {

// The host's answer read as the member's kind of result.
std::string answerText(Member, std::string text) {
    return text;
}
bool answerLogical(Member, const std::string& text) {
    return text == "T";
}
void answerNone(Member, const std::string&) {}
std::int32_t answerWhole(Member member, const std::string& text) {
    std::int32_t whole = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), whole);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw RunTimeError(
            err::kTypeMismatch,
            "mbhost answered " + std::string(memberName(member)) + " with \"" + text + "\"",
            kSource);
    }
    return whole;
}

}  // namespace

#define VELTRANO_CALL_MEMBER(name, result, argument)                                           \
    VELTRANO_RESULT_##result SocketAutomation::name VELTRANO_PARAMETERS_##argument {           \
        return answer##result(Member::name,                                                    \
                              call(Member::name, argumentText VELTRANO_ARGUMENTS_##argument)); \
    }
VELTRANO_AUTOMATION_MEMBERS(VELTRANO_CALL_MEMBER)
#undef VELTRANO_CALL_MEMBER

}  // namespace veltrano::ipc
