#include "insert_watch.h"

#include <algorithm>

#include "foundation/run_time_error.h"

namespace veltrano::batch {

namespace {
// The engine's texts: "Insert into T ( obj, ... ) Values ..." for a point row and
// "Insert into T (obj) Values (...)" for its label.
enum class InsertKind { None, Point, Label };

InsertKind insertKind(std::string_view statement, const std::string& table) {
    const std::string head = "Insert into " + table + " ";
    if (!statement.starts_with(head)) return InsertKind::None;
    const std::string_view rest = statement.substr(head.size());
    if (rest.starts_with("( obj")) return InsertKind::Point;
    if (rest.starts_with("(obj) Values (")) return InsertKind::Label;
    return InsertKind::None;
}

void noteRefusal(InsertRecord& record, const std::string& message) {
    auto& refusals = record.refusals;
    auto seen = std::find_if(refusals.begin(), refusals.end(),
                             [&](const auto& refusal) { return refusal.message == message; });
    if (seen == refusals.end()) seen = refusals.insert(refusals.end(), {message, 0});
    ++seen->count;
}

// Adds the time until its end to the record's host time.
class HostClock {
public:
    explicit HostClock(InsertRecord& record) : record_(record) {}
    ~HostClock() { record_.hostTime += std::chrono::steady_clock::now() - started_; }
    HostClock(const HostClock&) = delete;
    HostClock& operator=(const HostClock&) = delete;

private:
    InsertRecord& record_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

// Forwards every member unchanged; Do notes how the inserts went.
class WatchingAutomation final : public Automation {
public:
    WatchingAutomation(AutomationPtr host, const std::string& table, InsertRecord& record,
                       bool (*stop)())
        : host_(std::move(host)), table_(table), record_(record), stop_(stop) {}

    void Do(std::string_view statement) override {
        checkStop();
        const InsertKind kind = insertKind(statement, table_);
        if (kind == InsertKind::Point) ++record_.pointInserts;
        const HostClock clock(record_);
        try {
            host_->Do(statement);
        } catch (const RunTimeError& failure) {
            if (kind != InsertKind::None && failure.number() == err::kAutomationFailure) {
                if (kind == InsertKind::Point) ++record_.refusedPoints;
                noteRefusal(record_, failure.description());
            }
            throw;
        }
    }

    std::string Eval(std::string_view e) override {
        checkStop();
        const HostClock clock(record_);
        return host_->Eval(e);
    }
    void RunCommand(std::string_view s) override { host_->RunCommand(s); }
    void RunMenuCommand(std::int32_t code) override { host_->RunMenuCommand(code); }
    std::int32_t LastErrorCode() override { return host_->LastErrorCode(); }
    void SetLastErrorCode(std::int32_t code) override { host_->SetLastErrorCode(code); }
    std::string LastErrorMessage() override { return host_->LastErrorMessage(); }
    bool Visible() override { return host_->Visible(); }
    void SetVisible(bool visible) override { host_->SetVisible(visible); }
    std::string Name() override { return host_->Name(); }
    std::string FullName() override { return host_->FullName(); }
    std::string ProductLevel() override { return host_->ProductLevel(); }
    std::string Version() override { return host_->Version(); }
    std::string Application() override { return host_->Application(); }

private:
    void checkStop() const {
        if (stop_ && stop_()) throw RunTimeError(err::kAutomationFailure, "interrupted", "mbhost");
    }

    AutomationPtr host_;
    const std::string table_;
    InsertRecord& record_;
    bool (*stop_)();
};
}  // namespace

AutomationPtr WatchingProvider::attachRunning() {
    try {
        return watched(hosts_.attachRunning());
    } catch (const RunTimeError& failure) {
        record_.attachFailure = failure.description();
        throw;
    }
}

AutomationPtr WatchingProvider::startNew() {
    return watched(hosts_.startNew());
}

AutomationPtr WatchingProvider::watched(AutomationPtr host) const {
    if (!host) return host;
    return std::make_shared<WatchingAutomation>(std::move(host), outputTable_, record_, stop_);
}

}  // namespace veltrano::batch
