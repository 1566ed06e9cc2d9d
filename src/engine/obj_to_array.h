// Geometry extraction: reads one host object's sections and nodes into an ObjArray.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/obj_records.h"
#include "engine/placement_port.h"
#include "host/automation.h"
#include "host/miProObj.h"
#include "platform/message_box.h"

namespace veltrano {

// Reads the object held in the host variable objVar (of the table rec.tabName) into rec:
// every node's coordinates, host distances in metres between consecutive nodes of a
// section, section lengths, nodesLen, and the host's length (perimeter for a region).
// A line (type 3) becomes one section of two nodes and objType 4.
//
// Result: the number of nodes read (2 for a line); -1 for a type other than 3, 4 and 7,
// after sending only the coordinate-system statement. A run-time failure is shown in an
// "Application Internal Error [objToArray]:" box on messages and the result is what it
// stood at: -1 before the geometry was sized, 0 while sections were read, the node count
// at the length query. The caller goes on only with a positive result.
std::int32_t objToArray(GeometryPort& host, ObjArray& rec, MessageBoxPort& messages);
// The same asked as MapBasic text of the host object, about the object in objVar.
std::int32_t objToArray(const AutomationPtr& host, std::string_view objVar, ObjArray& rec,
                        MessageBoxPort& messages);
// The same on the host object that hostConn holds (none is a failure, shown as above).
std::int32_t objToArray(const miProObj& hostConn, std::string_view objVar, ObjArray& rec,
                        MessageBoxPort& messages);

}  // namespace veltrano
