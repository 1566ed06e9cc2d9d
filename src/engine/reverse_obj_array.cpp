#include "engine/reverse_obj_array.h"

#include <algorithm>
#include <vector>

namespace veltrano {

namespace {

ObjSegment reversedSection(const ObjSegment& seg, std::int16_t newNumber) {
    ObjSegment out;
    out.segNo = newNumber;
    out.nNodes = seg.nNodes;
    out.segLen = seg.segLen;
    out.nodes.assign(seg.nodes.rbegin(), seg.nodes.rend());
    for (ObjNode& node : out.nodes) node.dist = seg.segLen - node.dist;
    return out;
}

}  // namespace

void reverseObjArray(ObjArray& rec) {
    const std::size_t count = std::min(
        static_cast<std::size_t>(std::max<std::int16_t>(rec.nSegments, 0)), rec.segments.size());
    std::vector<ObjSegment> reversed;
    reversed.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        reversed.push_back(
            reversedSection(rec.segments[count - 1 - k], static_cast<std::int16_t>(k + 1)));
    }
    rec.segments = std::move(reversed);
}

}  // namespace veltrano
