#include "engine/label_box.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/points_along_object.h"
#include "foundation/run_time_error.h"

namespace veltrano {

namespace {

constexpr LabelExtent kGroundExtent{100.0, 25.0};
// Closer to a pole a degree of longitude shrinks towards nothing and the box would not end.
constexpr double kHighestLatitude = 89.99;

// WGS 84: the datums of longitude/latitude tables differ from it by far less than a metre
// over a label's size.
constexpr double kSemiMajorAxis = 6378137.0;
constexpr double kFlattening = 1 / 298.257223563;
constexpr double kEccentricity2 = kFlattening * (2 - kFlattening);

bool isLatLong(std::string_view clause) {
    try {
        return isLatLongClause(clause);
    } catch (const RunTimeError&) {
        return false;  // a clause beyond reading places no point, so it labels none either
    }
}

}  // namespace

LabelExtent labelExtent(std::string_view coordSysClause, double latitude) {
    if (!isLatLong(coordSysClause)) return kGroundExtent;
    const double phi = std::min(kHighestLatitude, std::fabs(latitude)) * std::numbers::pi / 180;
    const double w = 1 - kEccentricity2 * std::sin(phi) * std::sin(phi);
    const double primeVertical = kSemiMajorAxis / std::sqrt(w);
    const double meridian = kSemiMajorAxis * (1 - kEccentricity2) / (w * std::sqrt(w));
    const double degreesPerRadian = 180 / std::numbers::pi;
    return {kGroundExtent.east / (primeVertical * std::cos(phi)) * degreesPerRadian,
            kGroundExtent.north / meridian * degreesPerRadian};
}

}  // namespace veltrano
