#include "support/trace/trace.h"

#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace veltrano::replay {

namespace {

using Json = nlohmann::json;

std::int32_t wholeOf(const Json& parent, const char* key) {
    const auto v = parent.find(key);
    if (v == parent.end()) return 0;
    if (!v->is_number_integer() || *v < std::numeric_limits<std::int32_t>::min() ||
        *v > std::numeric_limits<std::int32_t>::max()) {
        throw std::runtime_error(std::string(key) + " is not a 32-bit whole number");
    }
    return v->get<std::int32_t>();
}

// A text left out reads empty; anything but a JSON string is refused.
std::optional<TraceStep> stepOf(const Json& line) {
    if (!line.is_object()) throw std::runtime_error("not a JSON object");
    if (line.contains("event") || line.contains("refused")) return std::nullopt;
    TraceStep step;
    step.member = line.value("member", std::string());
    if (step.member.empty()) throw std::runtime_error("no \"member\"");
    step.client = wholeOf(line, "client");
    step.argument = line.value("argument", std::string());
    step.answer = line.value("answer", std::string());
    const auto error = line.find("error");
    if (error == line.end()) return step;
    if (line.contains("answer")) throw std::runtime_error("both \"answer\" and \"error\"");
    if (!error->is_object()) throw std::runtime_error("\"error\" is not an object");
    step.failure = TraceFailure{wholeOf(*error, "code"), error->value("message", std::string())};
    return step;
}

}  // namespace

std::vector<TraceStep> readTrace(std::istream& in, const std::string& name) {
    std::vector<TraceStep> steps;
    std::string text;
    int lineNumber = 0;
    while (std::getline(in, text)) {
        ++lineNumber;
        if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
        try {
            auto step = stepOf(Json::parse(text));
            if (!step) continue;
            step->line = lineNumber;
            steps.push_back(std::move(*step));
        } catch (const std::exception& e) {
            throw std::runtime_error(name + " line " + std::to_string(lineNumber) + ": " +
                                     e.what());
        }
    }
    return steps;
}

}  // namespace veltrano::replay
