// A text's shape: the text with each number literal replaced by a marker byte of its kind, and
// the numbers in order. Texts of one shape lex to the same tokens but for the numbers' values
// and positions, so they can share one parse.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mbhost {

// The marker bytes, one per kind of literal the parser makes of a number: a whole number that
// fits 32 bits (an integer value), a larger whole number and a real (both real values).
enum class NumberKind : char { Whole = '\x01', LargeWhole = '\x02', Real = '\x03' };

struct TextShape {
    std::string key;
    std::vector<double> numbers;
};

// Fills `shape` (reusing its storage) from `text`. False when the text has no shape to share:
// it holds a marker byte, a number out of range or an unterminated string, so only its own
// parse (and its own error) will do.
bool shapeOf(std::string_view text, TextShape& shape);

}  // namespace mbhost
