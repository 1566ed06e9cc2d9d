// Plays a host back from a trace. The MapBasic traffic (Eval, Do, RunCommand, RunMenuCommand)
// must arrive exactly as recorded, in order; anything else is an unexpected request, answered
// with a failure that says what was expected, and remembered. The host's state members
// (LastErrorCode, LastErrorMessage, Visible) follow the replayed answers; the descriptive ones
// (Name, FullName, ProductLevel, Version, Application) answer as last recorded.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "support/trace/trace.h"

namespace veltrano::replay {

struct Reply {
    enum class Kind { Value, HostFailure, Unexpected };
    Kind kind = Kind::Value;
    std::string text;  // the answer, the host's message, or what went wrong
};

class ReplayHost {
public:
    explicit ReplayHost(const std::vector<TraceStep>& steps);

    static bool isTraffic(std::string_view member);

    // One request of the traffic: member and its argument as text.
    Reply request(std::string_view member, std::string_view argument);

    std::int32_t lastErrorCode() const { return lastErrorCode_; }
    void setLastErrorCode(std::int32_t code);
    const std::string& lastErrorMessage() const { return lastErrorMessage_; }
    bool visible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }
    // A descriptive member's recorded answer; Unexpected when the trace never recorded one
    // and no default exists.
    Reply describe(std::string_view member) const;

    bool finished() const { return next_ == traffic_.size(); }
    std::size_t remaining() const { return traffic_.size() - next_; }
    bool sawUnexpected() const { return !firstProblem_.empty(); }
    const std::string& firstProblem() const { return firstProblem_; }

private:
    Reply unexpected(std::string what);

    std::vector<TraceStep> traffic_;
    std::size_t next_ = 0;
    std::map<std::string, std::string, std::less<>> descriptions_;
    std::int32_t lastErrorCode_ = 0;
    std::string lastErrorMessage_;
    bool visible_ = true;
    std::string firstProblem_;
};

}  // namespace veltrano::replay
