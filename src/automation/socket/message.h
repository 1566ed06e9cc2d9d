// The payloads: one request (a member of the automation object and its argument) and one
// answer (the value, the failure the host raised, or the refusal of a malformed request).
// docs/protocol.md describes the bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "host/automation_members.h"

namespace veltrano::ipc {

inline constexpr std::uint8_t kProtocolVersion = 1;

// The members by the codes the protocol carries: their order in the one list of members.
using Member = AutomationMember;

std::optional<Member> memberNamed(std::string_view name);

struct Request {
    Member member = Member::Eval;
    std::string argument;  // UTF-8; numbers and logicals as text ("-3", "T")
    bool operator==(const Request&) const = default;
};

struct Answer {
    // KeepAlive: not an answer but word that the request is still running; empty.
    enum class Kind : std::uint8_t { Value = 0, Failure = 1, Refused = 2, KeepAlive = 3 };
    Kind kind = Kind::Value;
    std::string text;                // the value, the failure's message or the refusal's reason
    std::int32_t errorNumber = 0;    // Failure: the run-time error number the call raised
    std::int32_t lastErrorCode = 0;  // Failure: the host's LastErrorCode after it

    static Answer value(std::string text) { return {Kind::Value, std::move(text), 0, 0}; }
    static Answer failure(std::int32_t number, std::int32_t code, std::string message) {
        return {Kind::Failure, std::move(message), number, code};
    }
    static Answer refused(std::string reason) { return {Kind::Refused, std::move(reason), 0, 0}; }
    static Answer keepAlive() { return {Kind::KeepAlive, {}, 0, 0}; }
    bool operator==(const Answer&) const = default;
};

// A payload that does not follow the protocol; what() says how.
class ProtocolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string encodeRequest(const Request& request);
std::string encodeAnswer(const Answer& answer);
// Both raise ProtocolError for a payload that is short, of another version, of an unknown
// member or kind, or not UTF-8.
Request decodeRequest(std::string_view payload);
Answer decodeAnswer(std::string_view payload);

}  // namespace veltrano::ipc
