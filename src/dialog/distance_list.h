// The distance list typed into the dialog: how its text is cut into distances and how the
// sorted list is written back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regional_settings.h"

namespace veltrano {

// The text without leading and trailing spaces (only U+0020; tabs and line breaks stay).
std::string trimSpaces(std::string_view text);

// The pieces of a distance text: CR LF pairs and runs of ";" act as one separator, one
// trailing ";" is dropped. An empty text has no pieces.
std::vector<std::string> distancePieces(std::string_view text);

struct DistanceReading {
    double metres = 0;
    bool inPart = false;  // the reader stopped before the end of the piece
};

// Reads one piece as a distance in metres, the same on every platform: a number as the
// region writes it; else, where "." groups no digits, a plain point-decimal number; else,
// when it passes the regional numeric test, as far as the host number reader reads it.
// Anything else, and anything not finite, is no distance.
std::optional<DistanceReading> readDistancePiece(std::string_view piece,
                                                 const RegionalSettings& settings);
std::optional<double> readDistance(std::string_view piece, const RegionalSettings& settings);

// The distances of a text, in the order typed; pieces that are not numbers are left out.
std::vector<double> parseDistanceList(std::string_view text, const RegionalSettings& settings);

// The list as the dialog shows it: one distance per line, in the regional general format.
std::string distanceListText(const std::vector<double>& list, const RegionalSettings& settings);

}  // namespace veltrano
