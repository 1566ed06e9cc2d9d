// Wraps a host object and writes down every request made of it, member and argument as
// mbhost's trace names them, so what a client sent can be set beside a recorded trace.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/forwarding_automation.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {

using RequestLog = std::vector<Request>;

class LoggingAutomation final : public ForwardingAutomation {
public:
    LoggingAutomation(AutomationPtr inner, RequestLog& log)
        : ForwardingAutomation(std::move(inner)), log_(log) {}

private:
    // Written down before the call: a request the host refuses was still sent.
    void before(AutomationMember member, std::string_view argument) override {
        log_.push_back({std::string(memberName(member)), std::string(argument)});
    }

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
