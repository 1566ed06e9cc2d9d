// Coordinate systems: MapBasic CoordSys clauses parsed and written by GDAL, conversions
// between systems by GDAL/PROJ, each parsed once per Host and kept.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "mbhost/geometry.h"

struct geod_geodesic;
class OGRSpatialReference;
class OGRCoordinateTransformation;

namespace mbhost {

class CoordSys {
public:
    ~CoordSys();
    CoordSys(const CoordSys&) = delete;
    CoordSys& operator=(const CoordSys&) = delete;

    // The clause without "CoordSys ", as GDAL writes it (NonEarth keeps its Bounds).
    const std::string& clause() const { return clause_; }
    bool isEarth() const { return earth_; }
    // Earth Projection 1: coordinates are longitude and latitude in degrees.
    bool isLatLong() const { return latLong_; }
    // Metres per coordinate unit (NonEarth and projected systems); 0 for lat/long.
    double metresPerUnit() const { return metresPerUnit_; }
    // Earth only: the ellipsoid of the system's datum.
    const geod_geodesic& ellipsoid() const { return *geodesic_; }
    const OGRSpatialReference& spatialReference() const { return *srs_; }

private:
    friend class CoordSysRegistry;
    CoordSys() = default;

    std::string clause_;
    bool earth_ = false;
    bool latLong_ = false;
    double metresPerUnit_ = 1;
    std::unique_ptr<OGRSpatialReference> srs_;
    std::unique_ptr<geod_geodesic> geodesic_;
};

using CoordSysPtr = std::shared_ptr<const CoordSys>;

// One per Host. Not thread-safe, like the Host.
class CoordSysRegistry {
public:
    CoordSysRegistry();
    ~CoordSysRegistry();

    // Parses `clause` (with or without a leading "CoordSys "); the same text always gives
    // the same object. Throws MapBasicError (errc::kCoordSys) for a clause GDAL refuses.
    CoordSysPtr get(std::string_view clause);
    // Longitude/latitude on WGS 84: the session's system until something sets another.
    CoordSysPtr defaultLatLong() { return get("Earth Projection 1, 104"); }

    // Converts points from one system to another in place. NonEarth systems do not convert
    // to or from Earth ones: coordinates pass unchanged, as the real host does.
    // Throws MapBasicError (errc::kCoordSys) when PROJ cannot convert a point.
    void convert(const CoordSys& from, const CoordSys& to, std::vector<Point>& points);
    Point convert(const CoordSys& from, const CoordSys& to, Point p);
    Geometry convert(const CoordSys& from, const CoordSys& to, const Geometry& g);
    // Shares `g` when nothing changes (the common case of one system throughout).
    GeometryPtr convert(const CoordSys& from, const CoordSys& to, const GeometryPtr& g);
    static bool sameCoordinates(const CoordSys& from, const CoordSys& to);

    // Earth systems: longitude/latitude degrees on the system's own datum, for geodesy.
    Point toGeographic(const CoordSys& cs, Point p);
    // The same for many points in one call, which costs about what one point does.
    void toGeographic(const CoordSys& cs, std::vector<Point>& points);

private:
    OGRCoordinateTransformation& transformation(const CoordSys& from, const CoordSys& to);
    OGRCoordinateTransformation& geographicOf(const CoordSys& cs);

    // Parsed clauses stay for the Host's life: a session uses a handful of systems, and the
    // bound keeps text that varies on every call from growing the cache without end.
    static constexpr std::size_t kMaxCached = 256;
    std::unordered_map<std::string, CoordSysPtr> byClause_;
    // Keyed by clause text, not address: an object may outlive the look-up entry of its
    // system, and a new system could then reuse the address.
    std::map<std::pair<std::string, std::string>, std::unique_ptr<OGRCoordinateTransformation>>
        transforms_;
    std::map<std::string, std::unique_ptr<OGRCoordinateTransformation>> toGeographic_;
};

}  // namespace mbhost
