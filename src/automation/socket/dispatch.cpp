#include "automation/socket/dispatch.h"

#include <charconv>
#include <exception>

#include "automation/socket/frame.h"
#include "foundation/run_time_error.h"
#include "foundation/utf8.h"

namespace veltrano::ipc {
namespace {

// Raised for an argument the member cannot take; becomes a Refused answer.
struct BadArgument {
    std::string reason;
};

std::int32_t wholeArgument(const Request& request) {
    const std::string& text = request.argument;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        throw BadArgument{std::string(memberName(request.member)) +
                          " takes a whole number, not \"" + text + "\""};
    }
    return value;
}

bool logicalArgument(const Request& request) {
    if (request.argument == "T") return true;
    if (request.argument == "F") return false;
    throw BadArgument{std::string(memberName(request.member)) + " takes T or F, not \"" +
                      request.argument + "\""};
}

void expectNoArgument(const Request& request) {
    if (!request.argument.empty()) {
        throw BadArgument{std::string(memberName(request.member)) + " takes no argument"};
    }
}

// A member's answer as text, by the kind of its result.
template <class Call>
std::string servedText(Call call) {
    return call();
}
template <class Call>
std::string servedWhole(Call call) {
    return std::to_string(call());
}
template <class Call>
std::string servedLogical(Call call) {
    return call() ? "T" : "F";
}
template <class Call>
std::string servedNone(Call call) {
    call();
    return {};
}

// The request's argument, read as the member's kind of argument takes it.
#define VELTRANO_TAKE_Text (std::string_view(request.argument))
#define VELTRANO_TAKE_Whole (wholeArgument(request))
#define VELTRANO_TAKE_Logical (logicalArgument(request))
#define VELTRANO_TAKE_None ()
#define VELTRANO_CHECK_Text
#define VELTRANO_CHECK_Whole
#define VELTRANO_CHECK_Logical
#define VELTRANO_CHECK_None expectNoArgument(request);

std::string call(Automation& host, const Request& request) {
    switch (request.member) {
#define VELTRANO_SERVE_MEMBER(name, result, argument)    \
    case Member::name:                                   \
        VELTRANO_CHECK_##argument return served##result( \
            [&] { return host.name VELTRANO_TAKE_##argument; });
        VELTRANO_AUTOMATION_MEMBERS(VELTRANO_SERVE_MEMBER)
#undef VELTRANO_SERVE_MEMBER
    }
    throw BadArgument{"member " + std::string(memberName(request.member)) + " is not served"};
}

// The host's own error code, when the failure is one it reported.
std::int32_t hostErrorCode(Automation& host, const RunTimeError& error) {
    if (error.number() != err::kAutomationFailure) return 0;
    try {
        return host.LastErrorCode();
    } catch (...) {
        return 0;
    }
}

Answer dispatchUnchecked(Automation& host, const Request& request) {
    try {
        return Answer::value(call(host, request));
    } catch (const BadArgument& bad) {
        return Answer::refused(bad.reason);
    } catch (const RunTimeError& error) {
        std::string message = error.description();
        return Answer::failure(error.number(), hostErrorCode(host, error), std::move(message));
    } catch (const std::exception& unexpected) {
        return Answer::refused(std::string("the host failed: ") + unexpected.what());
    } catch (...) {
        return Answer::refused("the host failed");
    }
}

// What the host answered, unless the protocol cannot carry it.
Answer deliverable(Answer answer) {
    // Room for the version, kind and the two numbers of a failure.
    constexpr std::size_t kAnswerOverhead = 10;
    if (answer.text.size() > kMaxFrameSize - kAnswerOverhead) {
        return Answer::refused("the answer is longer than a frame can carry (" +
                               std::to_string(answer.text.size()) + " bytes)");
    }
    if (!isValidUtf8(answer.text)) return Answer::refused("the answer is not valid UTF-8");
    return answer;
}

}  // namespace

Answer dispatch(Automation& host, const Request& request) {
    return deliverable(dispatchUnchecked(host, request));
}

}  // namespace veltrano::ipc
