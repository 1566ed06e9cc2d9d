#include <array>

#include "mbhost/function_groups.h"

namespace mbhost {

namespace {

Value aggregateOutsideSelect(Evaluator&, const Expr& call, const RowContext*) {
    throw MapBasicError(errc::kSyntax,
                        "Aggregate function " + call.name + " is allowed only in a Select list");
}

constexpr FunctionSpec kAggregates[] = {
    {"count", 1, 1, aggregateOutsideSelect, Aggregate::Count},
    {"min", 1, 1, aggregateOutsideSelect, Aggregate::Min},
    {"max", 1, 1, aggregateOutsideSelect, Aggregate::Max},
    {"sum", 1, 1, aggregateOutsideSelect, Aggregate::Sum},
    {"avg", 1, 1, aggregateOutsideSelect, Aggregate::Avg},
};

}  // namespace

void outOfRange(std::string_view function, std::int64_t code) {
    throw MapBasicError(errc::kArgumentRange, "Argument out of range: " + std::string(function) +
                                                  " has no code " + std::to_string(code));
}

const FunctionSpec* findFunction(std::string_view lowerName) {
    const std::array groups = {workspaceFunctions(), objectFunctions(), textAndNumberFunctions(),
                               std::span<const FunctionSpec>(kAggregates)};
    for (const auto group : groups) {
        for (const auto& entry : group) {
            if (entry.name == lowerName) return &entry;
        }
    }
    return nullptr;
}

}  // namespace mbhost
