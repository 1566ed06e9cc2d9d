// Run-time failures: what the host link, the engine and the adapters raise, and the one
// process-wide record of the most recent failure that a procedure's handler can consult.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace veltrano {

// Error numbers as the program reports them ("<number>: <description>").
namespace err {
inline constexpr std::int32_t kInvalidProcedureCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kDivisionByZero = 11;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kObjectNotSet = 91;      // a record slot that holds nothing
inline constexpr std::int32_t kInvalidUseOfNull = 94;  // a null host value used as a number or text
inline constexpr std::int32_t kNoRunningCopy = 429;    // attach found no running host
inline constexpr std::int32_t kHostGone = 462;         // the host process has ended
// The host reported a failure; LastErrorCode and LastErrorMessage say which.
inline constexpr std::int32_t kAutomationFailure = static_cast<std::int32_t>(0x80020009u);
}  // namespace err

// A readable description for the numbers above; an empty text for any other.
std::string describeError(std::int32_t number);

class RunTimeError : public std::runtime_error {
public:
    // An empty description takes the standard one for the number.
    RunTimeError(std::int32_t number, std::string description = {}, std::string source = {});

    std::int32_t number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }
    const std::string& source() const noexcept { return source_; }

private:
    std::int32_t number_;
    std::string description_;
    std::string source_;
};

// The pending run-time error. Handlers record what they caught; "clear the error state"
// clears it. Single-threaded by design: every host call runs on the user-interface thread.
class LastError {
public:
    static void set(const RunTimeError& error);
    static void clear() noexcept;
    static const std::optional<RunTimeError>& current() noexcept;
};

}  // namespace veltrano
