#include "dialog/host_answers.h"

#include <cmath>
#include <limits>

#include "engine/host_number.h"
#include "engine/number_text.h"
#include "host/run_time_error.h"

namespace veltrano {

std::int32_t answerCount(const HostValue& answer) {
    try {
        if (answer.isWhole()) return answer.asWhole();
        if (answer.isReal()) return toInt32(answer.asReal());
        if (answer.isText()) return toInt32(readHostNumber(answer.asText()));
    } catch (const RunTimeError&) {
        // Beyond 32 bits: more rows than any host table holds, so no usable count.
    }
    return 0;
}

std::string answerText(const HostValue& answer) {
    if (answer.isText()) return answer.asText();
    if (answer.isWhole()) return std::to_string(answer.asWhole());
    if (answer.isReal()) return programNumberText(answer.asReal());
    return {};
}

}  // namespace veltrano
