// What MapBasic takes as a name (of a table, column or variable): mbhost's lexer reads words
// by it, and Veltrano checks an output table's name by it before writing it into a statement.
#pragma once

#include <string>
#include <string_view>

namespace veltrano {

// A letter, '_', or any byte of a multi-byte UTF-8 character (names in other scripts).
bool isNameStartByte(char c);
// A name's start byte or a digit.
bool isNameByte(char c);
// Non-empty, name bytes only, not starting with a digit.
bool isMapBasicName(std::string_view text);
// text as a MapBasic string literal: in double quotes, each quote inside doubled.
std::string mapBasicString(std::string_view text);

}  // namespace veltrano
