// How the placement and the dialog read the host's answers to their own few expressions.
#pragma once

#include <cstdint>
#include <string>

#include "host/host_value.h"

namespace veltrano {

// A row count as a 32-bit number: a selection may hold more rows than 16 bits count.
// No answer (no host, a refused expression) counts 0.
std::int32_t answerCount(const HostValue& answer);

// An answer as the text it stands for: names, object types, logical values, counts.
// No answer is empty text.
std::string answerText(const HostValue& answer);

}  // namespace veltrano
