#include "foundation/run_time_error.h"

namespace veltrano {

std::string describeError(std::int32_t number) {
    switch (number) {
        case err::kInvalidProcedureCall:
            return "Invalid procedure call or argument";
        case err::kOverflow:
            return "Overflow";
        case err::kOutOfMemory:
            return "Out of memory";
        case err::kSubscriptOutOfRange:
            return "Subscript out of range";
        case err::kDivisionByZero:
            return "Division by zero";
        case err::kTypeMismatch:
            return "Type mismatch";
        case err::kObjectNotSet:
            return "Object variable or With block variable not set";
        case err::kInvalidUseOfNull:
            return "Invalid use of Null";
        case err::kNoRunningCopy:
            return "ActiveX component can't create object";
        case err::kHostGone:
            return "The remote server machine does not exist or is unavailable";
        case err::kAutomationFailure:
            return "Automation error: the host reported a failure";
        default:
            return {};
    }
}

RunTimeError::RunTimeError(std::int32_t number, std::string description, std::string source)
    : std::runtime_error(description.empty() ? describeError(number) : description),
      number_(number),
      description_(description.empty() ? describeError(number) : std::move(description)),
      source_(std::move(source)) {}

namespace {
std::optional<RunTimeError>& pending() {
    static std::optional<RunTimeError> record;
    return record;
}
}  // namespace

void LastError::set(const RunTimeError& error) {
    pending() = error;
}
void LastError::clear() noexcept {
    pending().reset();
}
const std::optional<RunTimeError>& LastError::current() noexcept {
    return pending();
}

}  // namespace veltrano
