#include "automation/socket/answer_time_limit.h"

#include <charconv>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace veltrano::ipc {
namespace {

// Longer than a year is a mistake for 0, and would overflow the wait.
constexpr long long kLongestLimit = 365LL * 24 * 3600;

}  // namespace

std::chrono::seconds parseAnswerTimeLimit(std::string_view text) {
    if (text.empty()) return kDefaultAnswerTimeLimit;
    long long seconds = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds < 0 ||
        seconds > kLongestLimit) {
        throw std::runtime_error(
            "MBHOST_TIMEOUT must be a whole number of seconds from 0 (no "
            "limit) to " +
            std::to_string(kLongestLimit) + ", not \"" + std::string(text) + "\"");
    }
    return std::chrono::seconds(seconds);
}

std::chrono::seconds answerTimeLimit() {
    const char* value = std::getenv("MBHOST_TIMEOUT");
    return parseAnswerTimeLimit(value ? value : "");
}

}  // namespace veltrano::ipc
