#include "statement_runner.h"

#include "foundation/run_time_error.h"

namespace mbhost::app {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string statementOf(std::string_view line) {
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') inString = !inString;  // "" inside a string toggles twice
        if (line[i] == '\'' && !inString) return std::string(trimmed(line.substr(0, i)));
    }
    return std::string(trimmed(line));
}

std::optional<std::string> runStatement(veltrano::Automation& host, std::string_view statement) {
    try {
        host.Do(statement);
        return std::nullopt;
    } catch (const veltrano::RunTimeError& error) {
        std::int32_t code = error.number();
        std::string message = error.description();
        if (error.number() == veltrano::err::kAutomationFailure) {
            try {
                code = host.LastErrorCode();
                message = host.LastErrorMessage();
            } catch (const veltrano::RunTimeError&) {
            }
        }
        return "Error " + std::to_string(code) + ": " + message;
    }
}

bool runScript(veltrano::Automation& host, std::istream& script, const std::string& name,
               std::ostream& errors, const std::function<bool()>& ended) {
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        const std::string statement = statementOf(line);
        if (statement.empty()) continue;
        if (auto failure = runStatement(host, statement)) {
            errors << name << ", line " << number << ": " << *failure << "\n";
            return false;
        }
        if (ended()) return true;
    }
    return true;
}

}  // namespace mbhost::app
