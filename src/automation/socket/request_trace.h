// What a user reads to see exactly what a client asked of the host: one JSON object per
// line with the time, the client, the member, the argument and the answer or the error.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "automation/socket/message.h"

namespace veltrano::ipc {

class RequestTrace {
public:
    virtual ~RequestTrace() = default;
    // member is the name as received (a refused request may name no known member).
    virtual void record(int client, std::string_view member, std::string_view argument,
                        const Answer& answer) = 0;
    // A client came or went ("connected", "disconnected", or why it was turned away).
    virtual void event(int client, std::string_view what) = 0;
};

class JsonLinesTrace : public RequestTrace {
public:
    explicit JsonLinesTrace(std::ostream& out) : out_(out) {}
    void record(int client, std::string_view member, std::string_view argument,
                const Answer& answer) override;
    void event(int client, std::string_view what) override;

private:
    std::string linePrefix(int client) const;
    std::ostream& out_;
};

// text as a JSON string, quotes included; bytes that are not UTF-8 become U+FFFD.
std::string jsonString(std::string_view text);

}  // namespace veltrano::ipc
