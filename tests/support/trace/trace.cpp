#include "support/trace/trace.h"

#include <cmath>
#include <stdexcept>

#include "support/trace/json_value.h"

namespace veltrano::replay {

namespace {

// A value written as text, whatever JSON kind it was recorded as.
std::string textOf(const JsonValue& v) {
    using Kind = JsonValue::Kind;
    if (v.kind == Kind::String) return v.text;
    if (v.kind == Kind::Number) return v.numberText;
    if (v.kind == Kind::Boolean) return v.boolean ? "T" : "F";
    if (v.kind == Kind::Null) return {};
    throw std::runtime_error("expected a text, a number or a logical value");
}

std::int32_t wholeOf(const JsonValue* v, const char* what) {
    if (!v) return 0;
    if (v->kind != JsonValue::Kind::Number || v->number != std::floor(v->number) ||
        v->number < -2147483648.0 || v->number > 4294967295.0) {
        throw std::runtime_error(std::string(what) + " is not a 32-bit whole number");
    }
    // Error numbers such as 0x80020009 may be recorded signed or unsigned.
    return static_cast<std::int32_t>(static_cast<std::int64_t>(v->number) & 0xFFFFFFFF);
}

std::optional<TraceStep> stepOf(const JsonValue& line) {
    if (line.kind != JsonValue::Kind::Object) throw std::runtime_error("not a JSON object");
    if (line.member("event") || line.member("refused")) return std::nullopt;
    const JsonValue* member = line.member("member");
    if (!member || member->kind != JsonValue::Kind::String || member->text.empty()) {
        throw std::runtime_error("no \"member\"");
    }
    TraceStep step;
    step.member = member->text;
    if (const JsonValue* client = line.member("client")) step.client = wholeOf(client, "client");
    if (const JsonValue* argument = line.member("argument")) step.argument = textOf(*argument);
    const JsonValue* answer = line.member("answer");
    const JsonValue* error = line.member("error");
    if (answer && error) throw std::runtime_error("both \"answer\" and \"error\"");
    if (answer) step.answer = textOf(*answer);
    if (error) {
        if (error->kind != JsonValue::Kind::Object)
            throw std::runtime_error("\"error\" is not an object");
        TraceFailure failure;
        failure.number = wholeOf(error->member("number"), "error number");
        failure.code = wholeOf(error->member("code"), "error code");
        if (const JsonValue* message = error->member("message")) failure.message = textOf(*message);
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
            auto step = stepOf(parseJson(text));
            if (!step || (client && step->client != *client)) continue;
            step->line = lineNumber;
            steps.push_back(std::move(*step));
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(name + " line " + std::to_string(lineNumber) + ": " +
                                     e.what());
        }
    }
    return steps;
}

}  // namespace veltrano::replay
