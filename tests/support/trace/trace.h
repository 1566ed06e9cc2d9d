// A recorded host session: the requests a client made, in order, with what the host answered.
// One JSON object per line, as mbhost's --trace writes it:
//   {"time":"...","client":1,"member":"Eval","argument":"2*2","answer":"4"}
//   {"time":"...","client":1,"member":"Do","argument":"x","error":{"number":-2147352567,
//    "code":1234,"message":"..."}}
// Lines with an "event" or a "refused" request, and blank lines, carry no request.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace veltrano::replay {

struct TraceFailure {
    std::int32_t code = 0;  // the host's LastErrorCode afterwards
    std::string message;
};

struct TraceStep {
    int line = 0;
    int client = 0;
    std::string member;
    std::string argument;
    std::string answer;
    std::optional<TraceFailure> failure;
};

// Raises std::runtime_error "<name> line N: <reason>" for a line that is not a trace line.
std::vector<TraceStep> readTrace(std::istream& in, const std::string& name);

}  // namespace veltrano::replay
