#include "reference_geodesy.h"

#include <geodesic.h>
#include <proj.h>

#include <cmath>
#include <stdexcept>

namespace mbhost::testing {

namespace {

double wgs84(Point a, Point b) {
    geod_geodesic g;
    geod_init(&g, 6378137.0, 1 / 298.257223563);
    double s12 = 0;
    geod_inverse(&g, a.y, a.x, b.y, b.x, &s12, nullptr, nullptr);
    return s12;
}

class UtmToGeographic {
public:
    UtmToGeographic() {
        PJ* raw = proj_create_crs_to_crs(nullptr, "EPSG:32635", "EPSG:4326", nullptr);
        if (raw == nullptr) throw std::runtime_error("cannot create the reference conversion");
        pj_ = proj_normalize_for_visualization(nullptr, raw);
        proj_destroy(raw);
    }
    ~UtmToGeographic() { proj_destroy(pj_); }
    Point operator()(Point p) const {
        const PJ_COORD out = proj_trans(pj_, PJ_FWD, proj_coord(p.x, p.y, 0, 0));
        return {out.xy.x, out.xy.y};
    }

private:
    PJ* pj_ = nullptr;
};

}  // namespace

Point utmToLatLong(Point p) {
    static const UtmToGeographic convert;
    return convert(p);
}

double referenceDistance(SampleSystem system, Point a, Point b) {
    switch (system) {
        case SampleSystem::LatLong:
            return wgs84(a, b);
        case SampleSystem::Utm:
            return wgs84(utmToLatLong(a), utmToLatLong(b));
        case SampleSystem::NonEarth:
            return std::hypot(b.x - a.x, b.y - a.y);
    }
    return 0;
}

}  // namespace mbhost::testing
