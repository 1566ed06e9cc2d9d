// Reversal of an object record, for measuring from the object's last node.
#pragma once

#include "engine/obj_records.h"

namespace veltrano {

// Reverses the order of rec's sections and of the nodes within each, renumbers the
// sections from 1 and makes every node's dist the distance from the new first node of its
// section (segLen less the old dist). nNodes, segLen, nodesLen and the other fields stay.
void reverseObjArray(ObjArray& rec);

}  // namespace veltrano
