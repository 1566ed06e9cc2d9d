#include "support/scripted_automation.h"

#include <algorithm>
#include <iterator>

#include "foundation/run_time_error.h"

namespace veltrano::testing {

ScriptedAutomation::ScriptedAutomation() {
    answer("2*2", "4");
}

void ScriptedAutomation::answer(const std::string& expression, std::string result) {
    answers_[expression] = std::move(result);
}

void answerEmptyHost(ScriptedAutomation& host) {
    host.answer({{"SystemInfo(17)", "1500"},
                 {"SystemInfo(9)", "4242"},
                 {"NumWindows()", "0"},
                 {"NumAllWindows()", "0"},
                 {"NumTables()", "0"}});
}

void answerTables(ScriptedAutomation& host, const std::vector<ScriptedTable>& tables) {
    host.answer("NumTables()", std::to_string(tables.size()));
    for (std::size_t k = 0; k < tables.size(); ++k) {
        const auto& t = tables[k];
        const std::string i = std::to_string(k + 1);
        const std::pair<int, std::string> attributes[] = {
            {1, t.name},     {2, i},           {3, t.type},  {4, t.columns},  {5, t.mappable},
            {6, t.readOnly}, {7, t.temporary}, {8, t.rows},  {19, t.path},    {25, t.minX},
            {26, t.minY},    {27, t.maxX},     {28, t.maxY}, {29, t.coordSys}};
        for (const auto& [code, value] : attributes) {
            host.answer("TableInfo(" + i + "," + std::to_string(code) + ") ", value);
        }
    }
}

void ScriptedAutomation::answerWith(
    std::function<std::optional<std::string>(const std::string&)> rule) {
    fallback_ = std::move(rule);
}

void ScriptedAutomation::fail(const std::string& text, std::int32_t code, std::string message) {
    failWhen([text](const Request& r) { return r.argument == text; }, code, std::move(message));
}

void ScriptedAutomation::failWhen(std::function<bool(const Request&)> predicate, std::int32_t code,
                                  std::string message) {
    failures_.push_back({std::move(predicate), code, std::move(message)});
}

void ScriptedAutomation::die(std::size_t afterCalls) {
    if (afterCalls == 0) {
        dead_ = true;
    } else {
        callsBeforeDeath_ = afterCalls;
    }
}

std::vector<Request> ScriptedAutomation::traffic() const {
    constexpr std::string_view kMembers[] = {"Eval", "Do", "RunCommand", "RunMenuCommand"};
    std::vector<Request> out;
    std::ranges::copy_if(requests_, std::back_inserter(out),
                         [&](const Request& r) { return std::ranges::count(kMembers, r.member); });
    return out;
}

std::vector<std::string> ScriptedAutomation::argumentsOf(
    std::initializer_list<std::string_view> members) const {
    std::vector<std::string> out;
    for (const auto& r : requests_) {
        if (std::ranges::count(members, r.member) > 0 && r.argument != "2*2") {
            out.push_back(r.argument);
        }
    }
    return out;
}

void ScriptedAutomation::record(std::string member, std::string argument) {
    if (callsBeforeDeath_) {
        if (*callsBeforeDeath_ == 0) {
            dead_ = true;
            callsBeforeDeath_.reset();
        } else {
            --*callsBeforeDeath_;
        }
    }
    if (dead_) throw RunTimeError(err::kHostGone, {}, "ScriptedAutomation");
    requests_.push_back({std::move(member), std::move(argument)});
}

void ScriptedAutomation::hostFailure(std::int32_t code, std::string message) {
    lastErrorCode_ = code;
    lastErrorMessage_ = std::move(message);
    throw RunTimeError(err::kAutomationFailure, lastErrorMessage_, "ScriptedAutomation");
}

void ScriptedAutomation::sent(std::string member, std::string argument) {
    record(std::move(member), std::move(argument));
    for (const auto& rule : failures_) {
        if (rule.predicate(requests_.back())) hostFailure(rule.code, rule.message);
    }
}

std::string ScriptedAutomation::Eval(std::string_view expression) {
    sent("Eval", std::string(expression));
    const std::string text(expression);
    if (auto it = answers_.find(text); it != answers_.end()) return it->second;
    if (fallback_) {
        if (auto result = fallback_(text)) return *result;
    }
    hostFailure(kNoRuleCode, "no rule for: " + text);
}

void ScriptedAutomation::SetLastErrorCode(std::int32_t code) {
    record("SetLastErrorCode", std::to_string(code));
    lastErrorCode_ = code;
    if (code == 0) lastErrorMessage_.clear();
}

AutomationPtr ScriptedProvider::attachRunning() {
    ++attachCalls;
    if (!running || running->dead()) throw RunTimeError(err::kNoRunningCopy, {}, "GetObject");
    return running;
}

AutomationPtr ScriptedProvider::startNew() {
    if (!next) throw RunTimeError(err::kNoRunningCopy, {}, "CreateObject");
    running = next;
    return next;
}

}  // namespace veltrano::testing
