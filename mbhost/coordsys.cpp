#include "mbhost/coordsys.h"

#include <geodesic.h>
#include <ogr_spatialref.h>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cmath>
#include <cstdlib>

#include "mbhost/diagnostics.h"
#include "mbhost/lexer.h"

namespace mbhost {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string_view withoutCoordSysWord(std::string_view clause) {
    clause = trimmed(clause);
    constexpr std::string_view kWord = "coordsys";
    if (clause.size() > kWord.size() && equalsIgnoreCase(clause.substr(0, kWord.size()), kWord) &&
        clause[kWord.size()] == ' ') {
        clause.remove_prefix(kWord.size());
    }
    return trimmed(clause);
}

// GDAL drops a NonEarth clause's Bounds; MapBasic writes them, so they are kept from the
// text as given.
std::string boundsPart(std::string_view clause) {
    const std::string upper = toUpper(clause);
    const auto at = upper.find("BOUNDS");
    if (at == std::string::npos) return {};
    return std::string(trimmed(clause.substr(at)));
}

// "Earth Projection 8, ..." gives 8; 0 when the text has no projection number.
int projectionNumber(std::string_view clause) {
    const std::string upper = toUpper(clause);
    const auto at = upper.find("PROJECTION");
    if (at == std::string::npos) return 0;
    return std::atoi(upper.c_str() + at + 10);
}

[[noreturn]] void refuse(std::string_view clause, const std::string& reason) {
    throw MapBasicError(errc::kCoordSys,
                        "Invalid coordinate system: " + std::string(clause) + ": " + reason);
}

}  // namespace

CoordSys::~CoordSys() = default;

CoordSysRegistry::CoordSysRegistry() = default;
CoordSysRegistry::~CoordSysRegistry() = default;

CoordSysPtr CoordSysRegistry::get(std::string_view clause) {
    if (auto it = byClause_.find(std::string(clause)); it != byClause_.end()) return it->second;
    const std::string_view body = withoutCoordSysWord(clause);
    auto srs = std::make_unique<OGRSpatialReference>();
    srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const std::string bodyText(body);
    if (bodyText.empty() || srs->importFromMICoordSys(bodyText.c_str()) != OGRERR_NONE) {
        refuse(body, "not a clause GDAL can read");
    }
    auto cs = std::shared_ptr<CoordSys>(new CoordSys());
    char* exported = nullptr;
    if (srs->exportToMICoordSys(&exported) != OGRERR_NONE || exported == nullptr) {
        CPLFree(exported);
        refuse(body, "GDAL cannot write it back");
    }
    cs->clause_ = exported;
    CPLFree(exported);
    // GDAL reads a projection number it does not know as longitude/latitude; the host
    // refuses it instead of quietly measuring in another system.
    if (projectionNumber(body) % 1000 != projectionNumber(cs->clause_) % 1000) {
        refuse(body, "unknown projection " + std::to_string(projectionNumber(body)));
    }
    cs->earth_ = !srs->IsLocal();
    if (!cs->earth_) {
        const std::string bounds = boundsPart(body);
        if (!bounds.empty() && toUpper(cs->clause_).find("BOUNDS") == std::string::npos) {
            cs->clause_ += " " + bounds;
        }
        cs->metresPerUnit_ = srs->GetLinearUnits();
    } else {
        cs->latLong_ = srs->IsGeographic() != 0;
        cs->metresPerUnit_ = cs->latLong_ ? 0 : srs->GetLinearUnits();
        OGRErr err = OGRERR_NONE;
        const double a = srs->GetSemiMajor(&err);
        const double invF = srs->GetInvFlattening(&err);
        if (!(a > 0)) refuse(body, "no ellipsoid");
        cs->geodesic_ = std::make_unique<geod_geodesic>();
        geod_init(cs->geodesic_.get(), a, invF > 0 ? 1.0 / invF : 0.0);
    }
    cs->srs_ = std::move(srs);
    if (byClause_.size() >= kMaxCached) {
        // Objects keep their own reference, so dropping the look-up entries is safe.
        byClause_.clear();
    }
    byClause_.emplace(std::string(clause), cs);
    return cs;
}

OGRCoordinateTransformation& CoordSysRegistry::transformation(const CoordSys& from,
                                                              const CoordSys& to) {
    auto key = std::make_pair(from.clause(), to.clause());
    if (auto it = transforms_.find(key); it != transforms_.end()) return *it->second;
    std::unique_ptr<OGRCoordinateTransformation> t(
        OGRCreateCoordinateTransformation(&from.spatialReference(), &to.spatialReference()));
    if (!t) {
        throw MapBasicError(errc::kCoordSys, "Cannot convert coordinates from " + from.clause() +
                                                 " to " + to.clause());
    }
    return *transforms_.emplace(std::move(key), std::move(t)).first->second;
}

OGRCoordinateTransformation& CoordSysRegistry::geographicOf(const CoordSys& cs) {
    if (auto it = toGeographic_.find(cs.clause()); it != toGeographic_.end()) return *it->second;
    std::unique_ptr<OGRSpatialReference> geo(cs.spatialReference().CloneGeogCS());
    if (!geo) throw MapBasicError(errc::kCoordSys, "No geographic system for " + cs.clause());
    geo->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation> t(
        OGRCreateCoordinateTransformation(&cs.spatialReference(), geo.get()));
    if (!t) throw MapBasicError(errc::kCoordSys, "Cannot convert " + cs.clause());
    return *toGeographic_.emplace(cs.clause(), std::move(t)).first->second;
}

bool CoordSysRegistry::sameCoordinates(const CoordSys& from, const CoordSys& to) {
    return &from == &to || !from.isEarth() || !to.isEarth() || from.clause() == to.clause();
}

GeometryPtr CoordSysRegistry::convert(const CoordSys& from, const CoordSys& to,
                                      const GeometryPtr& g) {
    if (!g || sameCoordinates(from, to)) return g;
    return std::make_shared<const Geometry>(convert(from, to, *g));
}

void CoordSysRegistry::convert(const CoordSys& from, const CoordSys& to,
                               std::vector<Point>& points) {
    if (points.empty() || sameCoordinates(from, to)) return;
    OGRCoordinateTransformation& t = transformation(from, to);
    for (Point& p : points) {
        double x = p.x, y = p.y;
        if (!t.Transform(1, &x, &y) || !std::isfinite(x) || !std::isfinite(y)) {
            throw MapBasicError(errc::kCoordSys, "Cannot convert the point (" +
                                                     std::to_string(p.x) + ", " +
                                                     std::to_string(p.y) + ") to " + to.clause());
        }
        p = {x, y};
    }
}

Point CoordSysRegistry::convert(const CoordSys& from, const CoordSys& to, Point p) {
    if (sameCoordinates(from, to)) return p;
    std::vector<Point> one{p};
    convert(from, to, one);
    return one.front();
}

Geometry CoordSysRegistry::convert(const CoordSys& from, const CoordSys& to, const Geometry& g) {
    Geometry out = g;
    if (sameCoordinates(from, to)) return out;
    for (auto& part : out.parts) convert(from, to, part);
    for (auto& member : out.members) member = convert(from, to, member);
    return out;
}

Point CoordSysRegistry::toGeographic(const CoordSys& cs, Point p) {
    if (cs.isLatLong()) return p;
    double x = p.x, y = p.y;
    OGRCoordinateTransformation& transformation = geographicOf(cs);
    CPLPushErrorHandler(CPLQuietErrorHandler);  // the failure is raised below, in its words
    const bool converted = transformation.Transform(1, &x, &y);
    CPLPopErrorHandler();
    if (!converted || !std::isfinite(x) || !std::isfinite(y)) {
        CPLErrorReset();
        throw MapBasicError(errc::kCoordSys, "Cannot convert the point (" + std::to_string(p.x) +
                                                 ", " + std::to_string(p.y) +
                                                 ") to longitude and latitude");
    }
    return {x, y};
}

void CoordSysRegistry::toGeographic(const CoordSys& cs, std::vector<Point>& points) {
    if (cs.isLatLong() || points.empty()) return;
    std::vector<double> x(points.size()), y(points.size());
    std::vector<int> converted(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        x[i] = points[i].x;
        y[i] = points[i].y;
    }
    OGRCoordinateTransformation& transformation = geographicOf(cs);
    CPLPushErrorHandler(CPLQuietErrorHandler);
    transformation.Transform(points.size(), x.data(), y.data(), nullptr, converted.data());
    CPLPopErrorHandler();
    for (std::size_t i = 0; i < points.size(); ++i) {
        // One at a time, a point that does not convert is named.
        const bool failed = !converted[i] || !std::isfinite(x[i]) || !std::isfinite(y[i]);
        points[i] = failed ? toGeographic(cs, points[i]) : Point{x[i], y[i]};
    }
}

}  // namespace mbhost
