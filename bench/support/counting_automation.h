// Wraps a real host object: counts every request by member and the time spent waiting for
// the host, and keeps the statements the caller wants to look at afterwards.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/automation.h"

namespace veltrano::testing {

class CountingAutomation : public Automation {
public:
    explicit CountingAutomation(AutomationPtr inner) : inner_(std::move(inner)) {}

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

    std::string Eval(std::string_view e) override {
        classify("Eval", e);
        return timed("Eval", [&] { return inner_->Eval(e); });
    }
    void Do(std::string_view s) override {
        if (keep_ && keep_(s)) kept_.emplace_back(s);
        classify("Do", s);
        timed("Do", [&] { inner_->Do(s); });
    }
    void RunCommand(std::string_view s) override {
        timed("RunCommand", [&] { inner_->RunCommand(s); });
    }
    void RunMenuCommand(std::int32_t c) override {
        timed("RunMenuCommand", [&] { inner_->RunMenuCommand(c); });
    }
    std::int32_t LastErrorCode() override {
        return timed("LastErrorCode", [&] { return inner_->LastErrorCode(); });
    }
    void SetLastErrorCode(std::int32_t c) override {
        timed("SetLastErrorCode", [&] { inner_->SetLastErrorCode(c); });
    }
    std::string LastErrorMessage() override {
        return timed("LastErrorMessage", [&] { return inner_->LastErrorMessage(); });
    }
    bool Visible() override {
        return timed("Visible", [&] { return inner_->Visible(); });
    }
    void SetVisible(bool v) override {
        timed("SetVisible", [&] { inner_->SetVisible(v); });
    }
    std::string Name() override {
        return timed("Name", [&] { return inner_->Name(); });
    }
    std::string FullName() override {
        return timed("FullName", [&] { return inner_->FullName(); });
    }
    std::string ProductLevel() override {
        return timed("ProductLevel", [&] { return inner_->ProductLevel(); });
    }
    std::string Version() override {
        return timed("Version", [&] { return inner_->Version(); });
    }
    std::string Application() override {
        return timed("Application", [&] { return inner_->Application(); });
    }

private:
    void classify(std::string_view member, std::string_view text) {
        if (kindOf_) ++byKind_[kindOf_(member, text)];
    }

    template <class Call>
    auto timed(const char* member, Call&& call) -> decltype(call()) {
        ++total_;
        ++byMember_[member];
        const auto start = std::chrono::steady_clock::now();
        struct AddElapsed {
            std::chrono::steady_clock::time_point start;
            std::chrono::nanoseconds& sum;
            ~AddElapsed() { sum += std::chrono::steady_clock::now() - start; }
        } add{start, hostTime_};
        return call();
    }

    AutomationPtr inner_;
    std::function<bool(std::string_view)> keep_;
    std::vector<std::string> kept_;
    std::int64_t total_ = 0;
    std::map<std::string, std::int64_t> byMember_;
    std::function<std::string(std::string_view, std::string_view)> kindOf_;
    std::map<std::string, std::int64_t> byKind_;
    std::chrono::nanoseconds hostTime_{};
};

}  // namespace veltrano::testing
