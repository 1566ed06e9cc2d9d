// How long a client waits for the host to say anything before it calls the host stopped.
#pragma once

#include <chrono>
#include <string_view>

namespace veltrano::ipc {

inline constexpr std::chrono::seconds kDefaultAnswerTimeLimit{30};

// MBHOST_TIMEOUT in whole seconds (0: no limit), else kDefaultAnswerTimeLimit. Raises
// std::runtime_error naming the variable for any other value.
std::chrono::seconds answerTimeLimit();

// The same for a given text; exposed so that its rules can be checked without the environment.
std::chrono::seconds parseAnswerTimeLimit(std::string_view text);

}  // namespace veltrano::ipc
