#include "automation/inprocess/inprocess_automation.h"

#include "foundation/run_time_error.h"

namespace veltrano {

namespace {
constexpr const char* kSource = "mbhost";

template <class Call>
auto hostCall(Call&& call) -> decltype(call()) {
    try {
        return call();
    } catch (const mbhost::HostFailure& failure) {
        throw RunTimeError(err::kAutomationFailure, failure.what(), kSource);
    }
}
}  // namespace

InProcessAutomation::InProcessAutomation() : host_(std::make_shared<mbhost::Host>()) {}

InProcessAutomation::InProcessAutomation(std::shared_ptr<mbhost::Host> host)
    : host_(std::move(host)) {}

std::string InProcessAutomation::Eval(std::string_view expression) {
    return hostCall([&] { return host_->eval(expression); });
}

void InProcessAutomation::Do(std::string_view statement) {
    hostCall([&] { host_->execute(statement); });
}

void InProcessAutomation::RunCommand(std::string_view statement) {
    Do(statement);
}

void InProcessAutomation::RunMenuCommand(std::int32_t menuCode) {
    hostCall([&] { host_->runMenuCommand(menuCode); });
}

std::int32_t InProcessAutomation::LastErrorCode() {
    return host_->lastErrorCode();
}
void InProcessAutomation::SetLastErrorCode(std::int32_t code) {
    host_->setLastErrorCode(code);
}
std::string InProcessAutomation::LastErrorMessage() {
    return host_->lastErrorMessage();
}
bool InProcessAutomation::Visible() {
    return host_->visible();
}
void InProcessAutomation::SetVisible(bool visible) {
    host_->setVisible(visible);
}
std::string InProcessAutomation::Name() {
    return host_->identity().name;
}
std::string InProcessAutomation::FullName() {
    return host_->identity().fullName;
}
std::string InProcessAutomation::ProductLevel() {
    return host_->identity().productLevel;
}
std::string InProcessAutomation::Version() {
    return host_->identity().version;
}
std::string InProcessAutomation::Application() {
    return host_->identity().applicationTitle;
}

AutomationPtr InProcessProvider::attachRunning() {
    if (!running_) throw RunTimeError(err::kNoRunningCopy);
    return automation_;
}

AutomationPtr InProcessProvider::startNew() {
    running_ = true;
    return automation_;
}

}  // namespace veltrano
