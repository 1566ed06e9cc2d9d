#include "direct/each_part.h"

#include <algorithm>

namespace veltrano {

mbhost::GeometryPtr partOf(const mbhost::GeometryPtr& object, std::int32_t part) {
    if (object->parts.size() <= 1) return object;
    mbhost::Geometry alone;
    alone.type = object->type;
    alone.parts = {object->parts.at(static_cast<std::size_t>(part - 1))};
    return std::make_shared<const mbhost::Geometry>(std::move(alone));
}

ObjectPlacement placeEachPart(std::int32_t parts,
                              const std::function<ObjectPlacement(std::int32_t)>& placeAlongPart) {
    ObjectPlacement all = placeAlongPart(1);
    if (all.placed < 0) return all;
    for (std::int32_t part = 2; part <= parts; ++part) {
        const ObjectPlacement one = placeAlongPart(part);
        all.placed += std::max(one.placed, 0);
        all.computed += one.computed;
        for (const InsertRefusal& refusal : one.refusals) {
            const auto seen =
                std::find_if(all.refusals.begin(), all.refusals.end(),
                             [&](const auto& r) { return r.message == refusal.message; });
            if (seen == all.refusals.end()) {
                all.refusals.push_back(refusal);
            } else {
                seen->count += refusal.count;
            }
        }
    }
    return all;
}

}  // namespace veltrano
