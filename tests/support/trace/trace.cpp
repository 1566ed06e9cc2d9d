#include "support/trace/trace.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace veltrano::replay {

namespace {

using Json = nlohmann::json;

// A value written as text, whatever JSON kind it was recorded as.
std::string textOf(const Json& v) {
    if (v.is_string()) return v.get<std::string>();
    if (v.is_number()) return v.dump();
    if (v.is_boolean()) return v.get<bool>() ? "T" : "F";
    if (v.is_null()) return {};
    throw std::runtime_error("expected a text, a number or a logical value");
}

std::int32_t wholeOf(const Json& parent, const char* key, const char* what) {
    const auto v = parent.find(key);
    if (v == parent.end()) return 0;
    const double number = v->is_number() ? v->get<double>() : 0;
    if (!v->is_number() || number != std::floor(number) || number < -2147483648.0 ||
        number > 4294967295.0) {
        throw std::runtime_error(std::string(what) + " is not a 32-bit whole number");
    }
    // Error numbers such as 0x80020009 may be recorded signed or unsigned.
    return static_cast<std::int32_t>(static_cast<std::int64_t>(number) & 0xFFFFFFFF);
}

std::optional<TraceStep> stepOf(const Json& line) {
    if (!line.is_object()) throw std::runtime_error("not a JSON object");
    if (line.contains("event") || line.contains("refused")) return std::nullopt;
    const auto member = line.find("member");
    if (member == line.end() || !member->is_string() || member->get<std::string>().empty()) {
        throw std::runtime_error("no \"member\"");
    }
    TraceStep step;
    step.member = member->get<std::string>();
    step.client = wholeOf(line, "client", "client");
    if (line.contains("argument")) step.argument = textOf(line["argument"]);
    const auto error = line.find("error");
    if (line.contains("answer") && error != line.end())
        throw std::runtime_error("both \"answer\" and \"error\"");
    if (line.contains("answer")) step.answer = textOf(line["answer"]);
    if (error != line.end()) {
        if (!error->is_object()) throw std::runtime_error("\"error\" is not an object");
        TraceFailure failure;
        failure.number = wholeOf(*error, "number", "error number");
        failure.code = wholeOf(*error, "code", "error code");
        if (error->contains("message")) failure.message = textOf((*error)["message"]);
        step.failure = failure;
    }
    return step;
}

}  // namespace

std::vector<TraceStep> readTrace(std::istream& in, const std::string& name,
                                 std::optional<int> client) {
    std::vector<TraceStep> steps;
    std::string text;
    int lineNumber = 0;
    while (std::getline(in, text)) {
        ++lineNumber;
        if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
        try {
            auto step = stepOf(Json::parse(text));
            if (!step || (client && step->client != *client)) continue;
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
