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

std::string call(Automation& host, const Request& request) {
    const std::string& arg = request.argument;
    switch (request.member) {
        case Member::Eval:
            return host.Eval(arg);
        case Member::Do:
            host.Do(arg);
            return {};
        case Member::RunCommand:
            host.RunCommand(arg);
            return {};
        case Member::RunMenuCommand:
            host.RunMenuCommand(wholeArgument(request));
            return {};
        case Member::SetLastErrorCode:
            host.SetLastErrorCode(wholeArgument(request));
            return {};
        case Member::SetVisible:
            host.SetVisible(logicalArgument(request));
            return {};
        default:
            break;
    }
    expectNoArgument(request);
    switch (request.member) {
        case Member::LastErrorCode:
            return std::to_string(host.LastErrorCode());
        case Member::LastErrorMessage:
            return host.LastErrorMessage();
        case Member::Visible:
            return host.Visible() ? "T" : "F";
        case Member::Name:
            return host.Name();
        case Member::FullName:
            return host.FullName();
        case Member::ProductLevel:
            return host.ProductLevel();
        case Member::Version:
            return host.Version();
        case Member::Application:
            return host.Application();
        default:
            break;
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
