#include "measure_options.h"

#include "host/answer_reader.h"

namespace veltrano::batch {

namespace {
// The choice given among two words, the first when none is; nothing (and why) for another.
std::optional<bool> second(const std::optional<std::string>& given, const char* option,
                           const char* first, const char* other, std::string& error) {
    const std::string word = given ? upperCase(*given) : upperCase(first);
    if (word == upperCase(first)) return false;
    if (word == upperCase(other)) return true;
    error = std::string(option) + " '" + *given + "': " + first + " or " + other;
    return std::nullopt;
}
}  // namespace

std::optional<mbhost::Measure> readDistanceMeasure(const std::optional<std::string>& given,
                                                   std::string& error) {
    const auto grid = second(given, "--distance", "ground", "grid", error);
    if (!grid) return std::nullopt;
    return *grid ? mbhost::Measure::Grid : mbhost::Measure::Ground;
}

std::optional<MeasureOptions> readMeasureOptions(const FileOptions& file, std::string& error) {
    const auto measure = readDistanceMeasure(file.distance, error);
    const auto each = measure ? second(file.parts, "--parts", "joined", "each", error) : false;
    if (!measure || !each) return std::nullopt;
    return MeasureOptions{{*measure, *each}, {file.angle, *each}};
}

std::string measureRefusal(mbhost::Measure measure, const mbhost::CoordSys& system) {
    if (measure != mbhost::Measure::Grid || !system.isLatLong()) return {};
    return "--distance grid: the input is in longitude/latitude, whose degrees are no length; "
           "its distances are measured on the ground (leave out --distance, or project the "
           "input first, e.g. with ogr2ogr -t_srs)";
}

}  // namespace veltrano::batch
