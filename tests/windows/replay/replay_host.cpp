#include "replay/replay_host.h"

namespace veltrano::replay {

namespace {

std::string shown(std::string_view member, std::string_view argument) {
    return std::string(member) + "(\"" + std::string(argument) + "\")";
}

}  // namespace

ReplayHost::ReplayHost(const std::vector<TraceStep>& steps) {
    descriptions_ = {{"Name", "MapInfo Professional"},
                     {"FullName", "C:\\Program Files\\MapInfo\\Professional\\MapInfow.exe"},
                     {"ProductLevel", "200"},
                     {"Version", "1500"},
                     {"Application", "MapInfo Professional"}};
    for (const TraceStep& step : steps) {
        if (isTraffic(step.member)) {
            traffic_.push_back(step);
        } else if (descriptions_.count(step.member) && !step.failure) {
            descriptions_[step.member] = step.answer;
        }
    }
}

bool ReplayHost::isTraffic(std::string_view member) {
    return member == "Eval" || member == "Do" || member == "RunCommand" ||
           member == "RunMenuCommand";
}

Reply ReplayHost::unexpected(std::string what) {
    if (firstProblem_.empty()) firstProblem_ = what;
    return {Reply::Kind::Unexpected, what};
}

Reply ReplayHost::request(std::string_view member, std::string_view argument) {
    if (finished()) {
        return unexpected("unexpected request " + shown(member, argument) +
                          " after the end of the trace");
    }
    const TraceStep& step = traffic_[next_];
    if (step.member != member || step.argument != argument) {
        return unexpected("unexpected request " + shown(member, argument) + "; trace line " +
                          std::to_string(step.line) + " expects " +
                          shown(step.member, step.argument));
    }
    ++next_;
    if (step.failure) {
        lastErrorCode_ = step.failure->code;
        lastErrorMessage_ = step.failure->message;
        return {Reply::Kind::HostFailure, step.failure->message};
    }
    lastErrorCode_ = 0;
    lastErrorMessage_.clear();
    return {Reply::Kind::Value, step.answer};
}

void ReplayHost::setLastErrorCode(std::int32_t code) {
    lastErrorCode_ = code;
    if (code == 0) lastErrorMessage_.clear();
}

Reply ReplayHost::describe(std::string_view member) const {
    const auto it = descriptions_.find(member);
    if (it == descriptions_.end()) {
        return {Reply::Kind::Unexpected, "no member " + std::string(member)};
    }
    return {Reply::Kind::Value, it->second};
}

}  // namespace veltrano::replay
