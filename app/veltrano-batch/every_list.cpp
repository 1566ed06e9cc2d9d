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

std::optional<EverySpec> readEvery(const FileOptions& file, std::string& error) {
    EverySpec spec;
    if (!readOption(file.every, "--every", spec.step, error)) return std::nullopt;
    if (!(spec.step > 0)) {
        error = "--every '" + file.every.value_or("") + "' is not a positive number of metres";
        return std::nullopt;
    }
    spec.start = spec.step;
    double end = 0;
    if (!readOption(file.start, "--start", spec.start, error) ||
        !readOption(file.end, "--end", end, error)) {
        return std::nullopt;
    }
    if (file.end) spec.end = end;
    return spec;
}

std::vector<double> everyDistances(const EverySpec& spec, double longest, std::string& error) {
    const double end = spec.end.value_or(longest);
    if (end < spec.start) return {};
    const double steps = std::floor((end - spec.start) / spec.step);
    if (steps >= static_cast<double>(kMostDistances)) {
        error = "--every: that step would give more than " + std::to_string(kMostDistances) +
                " distances";
        return {};
    }
    std::vector<double> distances;
    const auto count = static_cast<std::size_t>(steps) + 1;
    distances.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        distances.push_back(spec.start + static_cast<double>(k) * spec.step);
    }
    return distances;
}

}  // namespace veltrano::batch
