#include "engine/points_along_object.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "engine/engine_failure.h"
#include "engine/mapbasic_placement.h"
#include "engine/point_on_segment.h"
#include "engine/qsort.h"
#include "foundation/host_number.h"

namespace veltrano {

namespace {

constexpr std::string_view kNonEarth = "COORDSYS NONEARTH";
constexpr std::string_view kEarthProjection = "COORDSYS EARTH PROJECTION ";
constexpr std::int32_t kLatLongProjection = 1;  // modulo 1000: 1001 is lat/long too

std::string upperWithoutLeadingBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    std::string out(first == std::string_view::npos ? std::string_view{} : text.substr(first));
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Walks the sorted distances and the nodes together, in one forward pass.
class DistanceWalk {
public:
    DistanceWalk(const std::vector<double>& distances, const ObjArray& rec, GeometryPort& host,
                 bool isLatLong)
        : distances_(distances), rec_(rec), host_(host), isLatLong_(isLatLong) {}

    // Each point's segment, once run has found them.
    std::vector<SegmentOfPoint>& segments() { return segments_; }

    std::vector<ObjNode> run() {
        const auto firstPositive =
            std::find_if(distances_.begin(), distances_.end(), [](double d) { return d > 0; });
        if (firstPositive == distances_.end()) return {};
        cursor_ = static_cast<std::size_t>(firstPositive - distances_.begin());
        if (current() > rec_.nodesLen) return {};
        const std::size_t sections =
            std::min(static_cast<std::size_t>(std::max<std::int16_t>(rec_.nSegments, 0)),
                     rec_.segments.size());
        for (std::size_t s = 0; s < sections; ++s) {
            const ObjSegment& seg = rec_.segments[s];
            walkSection(seg);
            acc_ += seg.segLen;
            if (usedUp() || current() > rec_.nodesLen) break;
        }
        return std::move(points_);
    }

private:
    bool usedUp() const { return cursor_ >= distances_.size(); }
    double current() const { return distances_[cursor_]; }
    bool beyond(const ObjSegment& seg) const { return current() > acc_ + seg.segLen; }

    void walkSection(const ObjSegment& seg) {
        const std::size_t count =
            std::min(static_cast<std::size_t>(std::max(seg.nNodes, 0)), seg.nodes.size());
        for (std::size_t j = 0; j < count; ++j) {
            const ObjNode& node = seg.nodes[j];
            const double dN = acc_ + node.dist;
            while (current() < dN) {
                points_.push_back(pointOnSegment(current(), previousDist_, dN, previous_.x,
                                                 previous_.y, node.x, node.y, host_, isLatLong_));
                segments_.push_back(
                    {{previous_.x, previous_.y}, {node.x, node.y}, current() - previousDist_});
                ++cursor_;
                if (usedUp() || beyond(seg)) return;
            }
            previous_ = node;
            previousDist_ = dN;
            if (beyond(seg)) return;
        }
    }

    const std::vector<double>& distances_;
    const ObjArray& rec_;
    GeometryPort& host_;
    const bool isLatLong_;
    std::size_t cursor_ = 0;
    double acc_ = 0;  // the length of the sections already passed
    ObjNode previous_;
    double previousDist_ = 0;
    std::vector<ObjNode> points_;
    std::vector<SegmentOfPoint> segments_;
};

}  // namespace

bool isLatLongClause(std::string_view answer) {
    const std::string clause = upperWithoutLeadingBlanks(answer);
    if (clause.find(kNonEarth) != std::string::npos) return false;
    if (clause.find(kEarthProjection) == std::string::npos) return false;
    // The clause begins with the phrase; what follows up to the first comma is the number.
    std::string rest = upperWithoutLeadingBlanks(std::string_view(clause).substr(25));
    rest = rest.substr(0, rest.find(','));
    const std::int32_t projection = toInt32(readHostNumber(rest));
    return projection > 0 && projection % 1000 == kLatLongProjection;
}

std::int32_t pointsAlongObject(GeometryPort& host, std::vector<double>& distances,
                               const ObjArray& rec, ObjSegment& pts, MessageBoxPort& messages,
                               std::vector<SegmentOfPoint>* segments) {
    try {
        const bool isLatLong = isLatLongClause(host.measuringCoordSys(rec.tabName));
        QSort(distances);
        DistanceWalk walk(distances, rec, host, isLatLong);
        std::vector<ObjNode> found = walk.run();
        pts.nNodes = static_cast<std::int32_t>(found.size());
        pts.nodes = std::move(found);
        if (segments) *segments = std::move(walk.segments());
        return pts.nNodes;
    } catch (...) {
        showInternalError(messages, kObjToArrayCaption, recordCaughtFailure());
        LastError::clear();
        return 0;
    }
}

std::int32_t pointsAlongObject(const AutomationPtr& hostObject, std::vector<double>& distances,
                               const ObjArray& rec, ObjSegment& pts, MessageBoxPort& messages) {
    MapBasicGeometry host(hostObject, {});
    return pointsAlongObject(host, distances, rec, pts, messages);
}

std::int32_t pointsAlongObject(const miProObj& hostConn, std::vector<double>& distances,
                               const ObjArray& rec, ObjSegment& pts, MessageBoxPort& messages) {
    return pointsAlongObject(hostConn.GetMiApp(), distances, rec, pts, messages);
}

}  // namespace veltrano
