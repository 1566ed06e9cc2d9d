#include "reference_geodesy.h"

#include <geodesic.h>
#include <proj.h>

#include <cmath>
#include <memory>
#include <stdexcept>

namespace mbhost::testing {
namespace {

Point utmToLatLong(Point p) {
    static const std::unique_ptr<PJ, decltype(&proj_destroy)> convert = [] {
        std::unique_ptr<PJ, decltype(&proj_destroy)> raw(
            proj_create_crs_to_crs(nullptr, "EPSG:32635", "EPSG:4326", nullptr), &proj_destroy);
        if (!raw) throw std::runtime_error("cannot create the reference conversion");
        return std::unique_ptr<PJ, decltype(&proj_destroy)>(
            proj_normalize_for_visualization(nullptr, raw.get()), &proj_destroy);
    }();
    const PJ_COORD out = proj_trans(convert.get(), PJ_FWD, proj_coord(p.x, p.y, 0, 0));
    return {out.xy.x, out.xy.y};
}

}  // namespace

double referenceDistance(SampleSystem system, Point a, Point b) {
    if (system == SampleSystem::NonEarth) return std::hypot(b.x - a.x, b.y - a.y);
    if (system == SampleSystem::Utm)
        return referenceDistance(SampleSystem::LatLong, utmToLatLong(a), utmToLatLong(b));
    geod_geodesic g;
    geod_init(&g, 6378137.0, 1 / 298.257223563);
    double s12 = 0;
    geod_inverse(&g, a.y, a.x, b.y, b.x, &s12, nullptr, nullptr);
    return s12;
}

}  // namespace mbhost::testing
