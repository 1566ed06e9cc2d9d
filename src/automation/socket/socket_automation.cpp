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

std::string SocketAutomation::Eval(std::string_view expression) {
    return call(Member::Eval, expression);
}
void SocketAutomation::Do(std::string_view statement) {
    call(Member::Do, statement);
}
void SocketAutomation::RunCommand(std::string_view statement) {
    call(Member::RunCommand, statement);
}
void SocketAutomation::RunMenuCommand(std::int32_t menuCode) {
    call(Member::RunMenuCommand, std::to_string(menuCode));
}

std::int32_t SocketAutomation::LastErrorCode() {
    const std::string text = call(Member::LastErrorCode);
    std::int32_t code = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw RunTimeError(err::kTypeMismatch,
                           "mbhost answered LastErrorCode with \"" + text + "\"", kSource);
    }
    return code;
}

void SocketAutomation::SetLastErrorCode(std::int32_t code) {
    call(Member::SetLastErrorCode, std::to_string(code));
}
std::string SocketAutomation::LastErrorMessage() {
    return call(Member::LastErrorMessage);
}
bool SocketAutomation::Visible() {
    return call(Member::Visible) == "T";
}
void SocketAutomation::SetVisible(bool visible) {
    call(Member::SetVisible, visible ? "T" : "F");
}
std::string SocketAutomation::Name() {
    return call(Member::Name);
}
std::string SocketAutomation::FullName() {
    return call(Member::FullName);
}
std::string SocketAutomation::ProductLevel() {
    return call(Member::ProductLevel);
}
std::string SocketAutomation::Version() {
    return call(Member::Version);
}
std::string SocketAutomation::Application() {
    return call(Member::Application);
}

}  // namespace veltrano::ipc
