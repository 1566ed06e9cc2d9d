#include "automation/socket/message.h"

#include <array>

#include "foundation/utf8.h"

namespace veltrano::ipc {
namespace {

void appendInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((bits >> shift) & 0xFFu));
    }
}

std::int32_t readInt32(std::string_view bytes) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
    return static_cast<std::int32_t>(bits);
}

void checkVersion(std::string_view payload, std::size_t minimumSize) {
    if (payload.empty()) throw ProtocolError("empty message");
    const auto version = static_cast<unsigned char>(payload[0]);
    if (version != kProtocolVersion) {
        throw ProtocolError("unsupported protocol version " + std::to_string(version) +
                            " (this side speaks " + std::to_string(kProtocolVersion) + ")");
    }
    if (payload.size() < minimumSize) throw ProtocolError("message cut short");
}

std::string checkedText(std::string_view text, const char* what) {
    if (!isValidUtf8(text)) throw ProtocolError(std::string(what) + " is not valid UTF-8");
    return std::string(text);
}

}  // namespace

std::optional<Member> memberNamed(std::string_view name) {
    for (std::size_t i = 0; i < kAutomationMemberNames.size(); ++i) {
        if (kAutomationMemberNames[i] == name) return static_cast<Member>(i);
    }
    return std::nullopt;
}

std::string encodeRequest(const Request& request) {
    const std::string_view name = memberName(request.member);
    std::string out;
    out.reserve(2 + name.size() + request.argument.size());
    out.push_back(static_cast<char>(kProtocolVersion));
    out.push_back(static_cast<char>(name.size()));
    out.append(name);
    out.append(request.argument);
    return out;
}

Request decodeRequest(std::string_view payload) {
    checkVersion(payload, 2);
    const auto nameLength = static_cast<unsigned char>(payload[1]);
    if (payload.size() < 2u + nameLength) throw ProtocolError("member name cut short");
    const std::string_view name = payload.substr(2, nameLength);
    const auto member = memberNamed(name);
    if (!member) {
        throw ProtocolError("unknown member \"" + checkedText(name, "member name") + "\"");
    }
    return {*member, checkedText(payload.substr(2 + nameLength), "argument")};
}

std::string encodeAnswer(const Answer& answer) {
    std::string out;
    out.reserve(10 + answer.text.size());
    out.push_back(static_cast<char>(kProtocolVersion));
    out.push_back(static_cast<char>(answer.kind));
    if (answer.kind == Answer::Kind::Failure) {
        appendInt32(out, answer.errorNumber);
        appendInt32(out, answer.lastErrorCode);
    }
    out.append(answer.text);
    return out;
}

Answer decodeAnswer(std::string_view payload) {
    checkVersion(payload, 2);
    const auto kind = static_cast<unsigned char>(payload[1]);
    switch (static_cast<Answer::Kind>(kind)) {
        case Answer::Kind::Value:
            return Answer::value(checkedText(payload.substr(2), "value"));
        case Answer::Kind::Refused:
            return Answer::refused(checkedText(payload.substr(2), "reason"));
        case Answer::Kind::KeepAlive:
            if (payload.size() != 2) throw ProtocolError("keep-alive with a body");
            return Answer::keepAlive();
        case Answer::Kind::Failure:
            if (payload.size() < 10) throw ProtocolError("failure answer cut short");
            return Answer::failure(readInt32(payload.substr(2)), readInt32(payload.substr(6)),
                                   checkedText(payload.substr(10), "message"));
    }
    throw ProtocolError("unknown answer kind " + std::to_string(kind));
}

}  // namespace veltrano::ipc
