// Running MapBasic statements typed by a user or read from a script, on the host's own
// automation object, with failures told the way the MapBasic window tells them.
#pragma once

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "host/automation.h"

namespace mbhost::app {

// The statement on a line: the text before a ' comment (one outside a string literal),
// without surrounding blanks. Empty for a blank or comment-only line.
std::string statementOf(std::string_view line);

// Runs one statement. Nothing when it succeeded; otherwise "Error N: message", N being the
// host's error code.
std::optional<std::string> runStatement(veltrano::Automation& host, std::string_view statement);

// Runs a script, one statement per line, stopping at the first failure, which it writes on
// errors as "<name>, line <n>: Error N: message", or once ended() holds (End MapInfo).
// Returns whether every statement ran.
bool runScript(veltrano::Automation& host, std::istream& script, const std::string& name,
               std::ostream& errors, const std::function<bool()>& ended);

}  // namespace mbhost::app
