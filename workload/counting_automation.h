// Wraps a real host object: counts every request by member and the time spent waiting for
// the host, and keeps the statements the caller wants to look at afterwards.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/forwarding_automation.h"

namespace veltrano::testing {

class CountingAutomation : public ForwardingAutomation {
public:
    explicit CountingAutomation(AutomationPtr inner) : ForwardingAutomation(std::move(inner)) {}

    // Sorts requests into kinds of the caller's choosing (member, text): see byKind().
    void classifyWith(std::function<std::string(std::string_view, std::string_view)> kindOf) {
        kindOf_ = std::move(kindOf);
    }
    const std::map<std::string, std::int64_t>& byKind() const { return byKind_; }

    // Statements sent with Do for which keep answers true are kept in kept().
    void keepStatements(std::function<bool(std::string_view)> keep) { keep_ = std::move(keep); }
    const std::vector<std::string>& kept() const { return kept_; }

    std::int64_t requests() const { return total_; }
    std::int64_t requests(const std::string& member) const {
        const auto it = byMember_.find(member);
        return it == byMember_.end() ? 0 : it->second;
    }
    std::chrono::nanoseconds hostTime() const { return hostTime_; }
    void reset() {
        total_ = 0;
        byMember_.clear();
        byKind_.clear();
        hostTime_ = {};
        kept_.clear();
    }

private:
    void before(AutomationMember member, std::string_view argument) override {
        const std::string_view name = memberName(member);
        ++total_;
        ++byMember_[std::string(name)];
        if (member == AutomationMember::Do && keep_ && keep_(argument))
            kept_.emplace_back(argument);
        if ((member == AutomationMember::Eval || member == AutomationMember::Do) && kindOf_) {
            ++byKind_[kindOf_(name, argument)];
        }
        start_ = std::chrono::steady_clock::now();
    }
    void after(AutomationMember) override {
        hostTime_ += std::chrono::steady_clock::now() - start_;
    }

    std::chrono::steady_clock::time_point start_;
    std::function<bool(std::string_view)> keep_;
    std::vector<std::string> kept_;
    std::int64_t total_ = 0;
    std::map<std::string, std::int64_t> byMember_;
    std::function<std::string(std::string_view, std::string_view)> kindOf_;
    std::map<std::string, std::int64_t> byKind_;
    std::chrono::nanoseconds hostTime_{};
};

}  // namespace veltrano::testing
