#include "engine/obj_to_array.h"

#include <algorithm>
#include <string>

#include "engine/engine_failure.h"
#include "foundation/host_number.h"
#include "engine/placement_texts.h"
#include "host/host_codes.h"

namespace veltrano {

namespace {

namespace text = placement_text;
namespace object_info = host_code::object_info;

// Nodes are appended as they are read, so a host that announces more nodes than it has
// costs memory only for those it delivers.
constexpr std::int32_t kNodeReserveLimit = 4096;

// One coordinate pair exactly as the host wrote it; the texts are pasted back unchanged.
struct CoordTexts {
    std::string x;
    std::string y;
};

CoordTexts splitPair(const std::string& answer) {
    const auto p = answer.find(';');
    if (p == std::string::npos) {
        throw RunTimeError(err::kInvalidProcedureCall,
                           describeError(err::kInvalidProcedureCall) + ": the host's answer \"" +
                               answer + "\" is not a coordinate pair",
                           "objToArray");
    }
    return {answer.substr(0, p), answer.substr(p + 1)};
}

ObjNode nodeOf(const CoordTexts& coords, double dist) {
    return {readHostNumber(coords.x), readHostNumber(coords.y), 0, dist};
}

double hostDistance(Automation& host, const CoordTexts& from, const CoordTexts& to) {
    return readHostNumber(host.Eval(text::nodeDistance(from.x, from.y, to.x, to.y)));
}

// The line's two ends as a section of two nodes; result becomes 2 once all are read.
void readLine(Automation& host, std::string_view objVar, ObjArray& rec, std::int32_t& result) {
    rec.nSegments = 1;
    rec.nodesLen = 0;
    rec.segments.assign(1, ObjSegment{});
    ObjSegment& seg = rec.segments[0];
    seg.nNodes = 2;
    seg.segNo = 1;
    seg.nodes.assign(2, ObjNode{});
    seg.nodes[0].dist = 0;
    const CoordTexts start = splitPair(host.Eval(text::lineEndPair(objVar, 1, 2)));
    seg.nodes[0] = nodeOf(start, 0);
    const CoordTexts end = splitPair(host.Eval(text::lineEndPair(objVar, 3, 4)));
    seg.nodes[1] = nodeOf(end, 0);
    seg.segLen = hostDistance(host, start, end);
    rec.nodesLen += seg.segLen;
    seg.nodes[1].dist = rec.nodesLen;
    result = 2;
    rec.objType = objtype::kPolyline;
    rec.objLen = readHostNumber(host.Eval(text::objectLength(objVar)));
}

void readSection(Automation& host, std::string_view objVar, std::int16_t sectionNo, ObjSegment& seg,
                 std::int32_t& nodeCount) {
    seg.nNodes = toInt32(readHostNumber(
        host.Eval(text::objectInfoCount(objVar, object_info::kSectionCount + sectionNo))));
    seg.segNo = sectionNo;
    if (seg.nNodes < 0) {
        throw RunTimeError(err::kSubscriptOutOfRange,
                           "Subscript out of range: section " + std::to_string(sectionNo) +
                               " has " + std::to_string(seg.nNodes) + " nodes",
                           "objToArray");
    }
    seg.nodes.clear();
    seg.nodes.reserve(std::min(seg.nNodes, kNodeReserveLimit));
    seg.segLen = 0;
    CoordTexts previous;
    for (std::int32_t n = 1; n <= seg.nNodes; ++n) {
        CoordTexts current = splitPair(host.Eval(text::nodePair(objVar, sectionNo, n)));
        ++nodeCount;
        if (n > 1) seg.segLen += hostDistance(host, previous, current);
        seg.nodes.push_back(nodeOf(current, n > 1 ? seg.segLen : 0));
        previous = std::move(current);
    }
}

// Every section (polygon) in the host's order; result becomes 0 once the sections are
// sized and the node count once all are read.
void readSections(Automation& host, std::string_view objVar, ObjArray& rec, std::int32_t& result) {
    std::int32_t nodeCount = 0;
    rec.nSegments = toInt16(
        readHostNumber(host.Eval(text::objectInfoCount(objVar, object_info::kSectionCount))));
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
        readSection(host, objVar, s, seg, nodeCount);
        rec.nodesLen += seg.segLen;
    }
    result = nodeCount;
    const std::string lengthQuery = rec.objType == objtype::kPolyline
                                        ? text::objectLength(objVar)
                                        : text::objectPerimeter(objVar);
    rec.objLen = readHostNumber(host.Eval(lengthQuery));
}

}  // namespace

std::int32_t objToArray(const AutomationPtr& hostObject, std::string_view objVar, ObjArray& rec,
                        MessageBoxPort& messages) {
    AutomationPtr held = hostObject;  // let go on every path when this returns
    std::int32_t result = -1;
    try {
        Automation& host = heldHost(held);
        host.Do(text::setCoordSysTable(rec.tabName));
        if (rec.objType == objtype::kLine) {
            readLine(host, objVar, rec, result);
        } else if (rec.objType == objtype::kPolyline || rec.objType == objtype::kRegion) {
            readSections(host, objVar, rec, result);
        }
    } catch (...) {
        showInternalError(messages, kObjToArrayCaption, recordCaughtFailure());
        LastError::clear();
    }
    return result;
}

std::int32_t objToArray(const miProObj& hostConn, std::string_view objVar, ObjArray& rec,
                        MessageBoxPort& messages) {
    return objToArray(hostConn.GetMiApp(), objVar, rec, messages);
}

}  // namespace veltrano
