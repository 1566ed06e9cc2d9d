// A scriptable stand-in for the host's automation object: records every request in order,
// answers by rules, fails as the host would, and can die.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/automation.h"

namespace veltrano::testing {

struct Request {
    std::string member;    // "Eval", "Do", "RunCommand", "RunMenuCommand", "LastErrorCode", ...
    std::string argument;  // the text passed, or the value written; empty for reads
    bool operator==(const Request&) const = default;
};

class ScriptedAutomation : public Automation {
public:
    ScriptedAutomation();

    // Eval of exactly this text answers this.
    void answer(const std::string& expression, std::string result);
    void answer(const std::vector<std::pair<std::string, std::string>>& rules) {
        for (const auto& [expression, result] : rules) answer(expression, result);
    }
    // Eval of any text without an exact rule asks this; nothing means "no rule".
    void answerWith(std::function<std::optional<std::string>(const std::string&)> rule);
    // Eval, Do or RunCommand of exactly this text fails as the host would.
    void fail(const std::string& text, std::int32_t code, std::string message);
    // Any Eval, Do or RunCommand for which predicate holds fails.
    void failWhen(std::function<bool(const Request&)> predicate, std::int32_t code,
                  std::string message);
    // Every later call raises err::kHostGone; with a count, only after that many more calls.
    void die(std::size_t afterCalls = 0);
    bool dead() const { return dead_; }

    const std::vector<Request>& requests() const { return requests_; }
    // The MapBasic traffic only: Eval, Do, RunCommand and RunMenuCommand, in order.
    std::vector<Request> traffic() const;
    // The texts sent with Eval, without the liveness probes.
    std::vector<std::string> evals() const { return argumentsOf({"Eval"}); }
    // The statements sent with Do or RunCommand, in order.
    std::vector<std::string> statements() const { return argumentsOf({"Do", "RunCommand"}); }
    void clearRequests() { requests_.clear(); }

    // An Eval without a rule fails with this code (a test sees the unexpected request).
    static constexpr std::int32_t kNoRuleCode = 9999;

    std::string Eval(std::string_view expression) override;
    void Do(std::string_view statement) override { sent("Do", std::string(statement)); }
    void RunCommand(std::string_view statement) override {
        sent("RunCommand", std::string(statement));
    }
    void RunMenuCommand(std::int32_t menuCode) override {
        sent("RunMenuCommand", std::to_string(menuCode));
    }
    void SetLastErrorCode(std::int32_t code) override;
    std::int32_t LastErrorCode() override { return recorded("LastErrorCode", lastErrorCode_); }
    std::string LastErrorMessage() override {
        return recorded("LastErrorMessage", lastErrorMessage_);
    }
    bool Visible() override { return recorded("Visible", visible_); }
    void SetVisible(bool visible) override {
        record("SetVisible", visible ? "T" : "F");
        visible_ = visible;
    }
    std::string Name() override { return recorded("Name", name); }
    std::string FullName() override { return recorded("FullName", fullName); }
    std::string ProductLevel() override { return recorded("ProductLevel", productLevel); }
    std::string Version() override { return recorded("Version", version); }
    std::string Application() override { return recorded("Application", applicationTitle); }

    std::string name = "MapInfo Professional";
    std::string fullName = "/opt/mbhost/mbhost";
    std::string productLevel = "200";
    std::string version = "1500";
    std::string applicationTitle = "MapInfo Professional";

private:
    std::vector<std::string> argumentsOf(std::initializer_list<std::string_view> members) const;
    void record(std::string member, std::string argument = {});
    template <class T>
    T recorded(const char* member, const T& value) {
        record(member);
        return value;
    }
    // Records a request of the traffic and fails it if a rule says so.
    void sent(std::string member, std::string argument);
    [[noreturn]] void hostFailure(std::int32_t code, std::string message);

    struct FailureRule {
        std::function<bool(const Request&)> predicate;
        std::int32_t code;
        std::string message;
    };
    std::vector<Request> requests_;
    std::map<std::string, std::string> answers_;
    std::function<std::optional<std::string>(const std::string&)> fallback_;
    std::vector<FailureRule> failures_;
    std::int32_t lastErrorCode_ = 0;
    std::string lastErrorMessage_;
    bool visible_ = false;
    bool dead_ = false;
    std::optional<std::size_t> callsBeforeDeath_;
};

// The answers a host without windows or tables gives while a link connects: version 1500,
// main window 4242.
void answerEmptyHost(ScriptedAutomation& host);

// One open table as the host's TableInfo describes it.
struct ScriptedTable {
    std::string name = "roads", columns = "4", rows = "3", path = "/data/roads.tab";
    std::string mappable = "T", coordSys = "CoordSys Earth Projection 1, 104";
    std::string readOnly = "F", temporary = "F", type = "1";
    std::string minX = "10.5", minY = "20.25", maxX = "30.75", maxY = "40.125";
};

// The host answers NumTables() and every TableInfo attribute of these tables, numbered from 1.
void answerTables(ScriptedAutomation& host, const std::vector<ScriptedTable>& tables);

// Hands out a host object as the platform would: the running one, or 429.
class ScriptedProvider : public AutomationProvider {
public:
    std::shared_ptr<ScriptedAutomation> running;  // none: no copy runs
    std::shared_ptr<ScriptedAutomation> next;     // what startNew gives
    int attachCalls = 0;
    AutomationPtr attachRunning() override;
    AutomationPtr startNew() override;
};

}  // namespace veltrano::testing
