#include "distance_check.h"

#include "dialog/distance_list.h"

namespace veltrano::batch {

DistanceCheck checkDistances(std::string_view text, const RegionalSettings& regional) {
    DistanceCheck check;
    for (const auto& piece : distancePieces(trimSpaces(text))) {
        const auto distance = readDistancePiece(piece, regional);
        if (distance && distance->inPart) {
            check.readInPart.push_back(piece + " read as " +
                                       regional.generalText(distance->metres));
        }
        if (distance && distance->metres > 0) {
            ++check.placeable;
        } else {
            check.notPlaceable.push_back(piece);
        }
    }
    return check;
}

}  // namespace veltrano::batch
