// The built-in functions' groups, one file each, and what their handlers share; private to
// those files and function_table.cpp.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "mbhost/evaluator.h"
#include "mbhost/functions.h"

namespace mbhost {

std::span<const FunctionSpec> workspaceFunctions();
std::span<const FunctionSpec> objectFunctions();
std::span<const FunctionSpec> textAndNumberFunctions();

// An information code (TableInfo, WindowInfo, ...) the function does not know.
[[noreturn]] void outOfRange(std::string_view function, std::int64_t code);

}  // namespace mbhost
