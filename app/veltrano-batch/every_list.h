// The distances --every asks for, read as plain point-decimal numbers whatever the locale.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch_options.h"

namespace veltrano::batch {

inline constexpr std::size_t kMostDistances = 10'000'000;

struct EveryRange {
    double step = 0;
    double start = 0;           // the first distance
    std::optional<double> end;  // the last one at most; unset: the longest object's length
};

// The number a whole text spells in the C locale's notation; nothing for anything else.
std::optional<double> readPlainNumber(std::string_view text);

// --every, --start and --end checked; error names the option and the reason.
std::optional<EveryRange> readEvery(const FileOptions& file, std::string& error);

// START, START + STEP, ... up to END (or longest); error when that would be more than
// kMostDistances.
std::vector<double> everyDistances(const EveryRange& range, double longest, std::string& error);

}  // namespace veltrano::batch
