// Wraps a host object and writes down every request made of it, member and argument as
// mbhost's trace names them, so what a client sent can be set beside a recorded trace.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/automation.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {

using RequestLog = std::vector<Request>;

class LoggingAutomation final : public Automation {
    // Written down before the call: a request the host refuses was still sent. Defined
    // first: the members below deduce their return types from it.
    template <class Member, class... Args>
    auto logged(const char* member, std::string_view argument, Member call, Args... args) {
        log_.push_back({member, std::string(argument)});
        return ((*inner_).*call)(args...);
    }

public:
    LoggingAutomation(AutomationPtr inner, RequestLog& log) : inner_(std::move(inner)), log_(log) {}

    std::string Eval(std::string_view e) override {
        return logged("Eval", e, &Automation::Eval, e);
    }
    void Do(std::string_view s) override { logged("Do", s, &Automation::Do, s); }
    void RunCommand(std::string_view s) override {
        logged("RunCommand", s, &Automation::RunCommand, s);
    }
    void RunMenuCommand(std::int32_t c) override {
        logged("RunMenuCommand", std::to_string(c), &Automation::RunMenuCommand, c);
    }
    std::int32_t LastErrorCode() override {
        return logged("LastErrorCode", "", &Automation::LastErrorCode);
    }
    void SetLastErrorCode(std::int32_t c) override {
        logged("SetLastErrorCode", std::to_string(c), &Automation::SetLastErrorCode, c);
    }
    std::string LastErrorMessage() override {
        return logged("LastErrorMessage", "", &Automation::LastErrorMessage);
    }
    bool Visible() override { return logged("Visible", "", &Automation::Visible); }
    void SetVisible(bool v) override {
        logged("SetVisible", v ? "T" : "F", &Automation::SetVisible, v);
    }
    std::string Name() override { return logged("Name", "", &Automation::Name); }
    std::string FullName() override { return logged("FullName", "", &Automation::FullName); }
    std::string ProductLevel() override {
        return logged("ProductLevel", "", &Automation::ProductLevel);
    }
    std::string Version() override { return logged("Version", "", &Automation::Version); }
    std::string Application() override {
        return logged("Application", "", &Automation::Application);
    }

private:
    AutomationPtr inner_;
    RequestLog& log_;
};

// Hands out host objects that log into one shared log.
class LoggingProvider final : public AutomationProvider {
public:
    explicit LoggingProvider(AutomationProvider& inner) : inner_(inner) {}
    AutomationPtr attachRunning() override { return wrap(inner_.attachRunning()); }
    AutomationPtr startNew() override { return wrap(inner_.startNew()); }
    const RequestLog& log() const { return log_; }

private:
    AutomationPtr wrap(AutomationPtr host) {
        return std::make_shared<LoggingAutomation>(std::move(host), log_);
    }
    AutomationProvider& inner_;
    RequestLog log_;
};

}  // namespace veltrano::testing
