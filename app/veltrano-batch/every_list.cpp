#include "every_list.h"

#include <charconv>
#include <cmath>

namespace veltrano::batch {

std::optional<double> readPlainNumber(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    if (text.empty() || failure != std::errc() || stop != end) return std::nullopt;
    return value;
}

namespace {
bool readOption(const std::optional<std::string>& text, const char* name, double& value,
                std::string& error) {
    if (!text) return true;
    const auto number = readPlainNumber(*text);
    if (!number || !std::isfinite(*number)) {
        error = std::string(name) + " '" + *text + "' is not a point-decimal number of metres";
        return false;
    }
    value = *number;
    return true;
}
}  // namespace

std::optional<EveryRange> readEvery(const FileOptions& file, std::string& error) {
    EveryRange range;
    if (!readOption(file.every, "--every", range.step, error)) return std::nullopt;
    if (!(range.step > 0)) {
        error = "--every '" + file.every.value_or("") + "' is not a positive number of metres";
        return std::nullopt;
    }
    range.start = range.step;
    double end = 0;
    if (!readOption(file.start, "--start", range.start, error) ||
        !readOption(file.end, "--end", end, error)) {
        return std::nullopt;
    }
    if (file.end) range.end = end;
    return range;
}

std::vector<double> everyDistances(const EveryRange& range, double longest, std::string& error) {
    const double end = range.end.value_or(longest);
    if (end < range.start) return {};
    const double steps = std::floor((end - range.start) / range.step);
    if (steps >= static_cast<double>(kMostDistances)) {
        error = "--every: that step would give more than " + std::to_string(kMostDistances) +
                " distances";
        return {};
    }
    std::vector<double> distances;
    const auto count = static_cast<std::size_t>(steps) + 1;
    distances.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        distances.push_back(range.start + static_cast<double>(k) * range.step);
    }
    return distances;
}

}  // namespace veltrano::batch
