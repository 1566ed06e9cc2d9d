#include "automation/socket/request_trace.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "foundation/utf8.h"

namespace veltrano::ipc {
namespace {

std::string utcNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm parts{};
    ::gmtime_r(&seconds, &parts);
    char text[80];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                  static_cast<int>(millis));
    return text;
}

void appendEscaped(std::string& out, char c) {
    switch (c) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    if (static_cast<unsigned char>(c) < 0x20) {
        char code[8];
        std::snprintf(code, sizeof(code), "\\u%04x", static_cast<unsigned char>(c));
        out += code;
    } else {
        out += c;
    }
}

}  // namespace

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            appendEscaped(out, text[i++]);
            continue;
        }
        // Take the longest valid sequence starting here, else replace one byte.
        std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (i + length <= text.size() && isValidUtf8(text.substr(i, length))) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    out += '"';
    return out;
}

std::string JsonLinesTrace::linePrefix(int client) const {
    return "{\"time\":\"" + utcNow() + "\",\"client\":" + std::to_string(client);
}

void JsonLinesTrace::record(int client, std::string_view member, std::string_view argument,
                            const Answer& answer) {
    std::string line = linePrefix(client);
    line += ",\"member\":" + jsonString(member) + ",\"argument\":" + jsonString(argument);
    switch (answer.kind) {
        case Answer::Kind::Value:
            line += ",\"answer\":" + jsonString(answer.text);
            break;
        case Answer::Kind::Failure:
            line += ",\"error\":{\"number\":" + std::to_string(answer.errorNumber) +
                    ",\"code\":" + std::to_string(answer.lastErrorCode) +
                    ",\"message\":" + jsonString(answer.text) + "}";
            break;
        case Answer::Kind::Refused:
            line += ",\"refused\":" + jsonString(answer.text);
            break;
        case Answer::Kind::KeepAlive:
            break;
    }
    out_ << line << "}\n" << std::flush;
}

void JsonLinesTrace::event(int client, std::string_view what) {
    out_ << linePrefix(client) << ",\"event\":" << jsonString(what) << "}\n" << std::flush;
}

}  // namespace veltrano::ipc
