#include "engine/obj_to_array.h"

#include <algorithm>
#include <string>

#include "engine/engine_failure.h"
#include "engine/mapbasic_placement.h"
#include "foundation/host_codes.h"

namespace veltrano {

namespace {

// Nodes are appended as they are read, so a host that announces more nodes than it has
// costs memory only for those it delivers.
constexpr std::int32_t kNodeReserveLimit = 4096;

ObjNode nodeOf(const HostPoint& p, double dist) {
    return {p.x, p.y, 0, dist};
}

// The line's two ends as a section of two nodes; result becomes 2 once all are read.
void readLine(GeometryPort& host, ObjArray& rec, std::int32_t& result) {
    rec.nSegments = 1;
    rec.nodesLen = 0;
    rec.segments.assign(1, ObjSegment{});
    ObjSegment& seg = rec.segments[0];
    seg.nNodes = 2;
    seg.segNo = 1;
    seg.nodes.assign(2, ObjNode{});
    seg.nodes[0] = nodeOf(host.lineEnd(false), 0);
    seg.nodes[1] = nodeOf(host.lineEnd(true), 0);
    seg.segLen = host.distanceFromPreviousNode();
    rec.nodesLen += seg.segLen;
    seg.nodes[1].dist = rec.nodesLen;
    result = 2;
    rec.objType = objtype::kPolyline;
    rec.objLen = host.objectLength(false);
}

void readSection(GeometryPort& host, std::int16_t sectionNo, ObjSegment& seg,
                 std::int32_t& nodeCount) {
    seg.nNodes = host.nodeCount(sectionNo);
    seg.segNo = sectionNo;
    if (seg.nNodes < 0) {
        throw RunTimeError(err::kSubscriptOutOfRange,
                           "Subscript out of range: section " + std::to_string(sectionNo) +
                               " has " + std::to_string(seg.nNodes) + " nodes",
                           "objToArray");
    }
    seg.nodes.clear();
    seg.nodes.reserve(static_cast<std::size_t>(std::min(seg.nNodes, kNodeReserveLimit)));
    seg.segLen = 0;
    for (std::int32_t n = 1; n <= seg.nNodes; ++n) {
        const HostPoint current = host.node(sectionNo, n);
        ++nodeCount;
        if (n > 1) seg.segLen += host.distanceFromPreviousNode();
        seg.nodes.push_back(nodeOf(current, n > 1 ? seg.segLen : 0));
    }
}

// Every section (polygon) in the host's order; result becomes 0 once the sections are
// sized and the node count once all are read.
void readSections(GeometryPort& host, ObjArray& rec, std::int32_t& result) {
    std::int32_t nodeCount = 0;
    rec.nSegments = host.sectionCount();
    if (rec.nSegments < 0) {
        throw RunTimeError(
            err::kSubscriptOutOfRange,
            "Subscript out of range: the object has " + std::to_string(rec.nSegments) + " sections",
            "objToArray");
    }
    rec.segments.assign(static_cast<std::size_t>(rec.nSegments), ObjSegment{});
    result = 0;
    for (std::int16_t s = 1; s <= rec.nSegments; ++s) {
        ObjSegment& seg = rec.segments[static_cast<std::size_t>(s - 1)];
        readSection(host, s, seg, nodeCount);
        rec.nodesLen += seg.segLen;
    }
    result = nodeCount;
    rec.objLen = host.objectLength(rec.objType != objtype::kPolyline);
}

}  // namespace

std::int32_t objToArray(GeometryPort& host, ObjArray& rec, MessageBoxPort& messages) {
    std::int32_t result = -1;
    try {
        host.useTableCoordSys(rec.tabName);
        if (rec.objType == objtype::kLine) {
            readLine(host, rec, result);
        } else if (rec.objType == objtype::kPolyline || rec.objType == objtype::kRegion) {
            readSections(host, rec, result);
        }
    } catch (...) {
        showInternalError(messages, kObjToArrayCaption, recordCaughtFailure());
        LastError::clear();
    }
    return result;
}

std::int32_t objToArray(const AutomationPtr& hostObject, std::string_view objVar, ObjArray& rec,
                        MessageBoxPort& messages) {
    MapBasicGeometry host(hostObject, std::string(objVar));
    return objToArray(host, rec, messages);
}

std::int32_t objToArray(const miProObj& hostConn, std::string_view objVar, ObjArray& rec,
                        MessageBoxPort& messages) {
    return objToArray(hostConn.GetMiApp(), objVar, rec, messages);
}

}  // namespace veltrano
