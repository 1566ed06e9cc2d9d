#include "placement/host_answers.h"

#include <cmath>
#include <limits>

#include "foundation/host_number.h"
#include "foundation/number_text.h"
#include "foundation/run_time_error.h"

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
