// The host's attribute codes for TableInfo, ColumnInfo, SelectionInfo, ObjectInfo, SystemInfo,
// WindowInfo and MapperInfo, and the codes those answer with: the one place these MapBasic
// numbers are written, for the link that asks and for mbhost that answers.
#pragma once

#include <cstdint>

namespace veltrano::host_code {

// TableInfo(table, attribute)
namespace table_info {
inline constexpr std::int32_t kName = 1;
inline constexpr std::int32_t kNumber = 2;
inline constexpr std::int32_t kType = 3;
inline constexpr std::int32_t kColumns = 4;
inline constexpr std::int32_t kMappable = 5;
inline constexpr std::int32_t kReadOnly = 6;
inline constexpr std::int32_t kTemporary = 7;
inline constexpr std::int32_t kRows = 8;
inline constexpr std::int32_t kEdited = 9;
inline constexpr std::int32_t kFastEdit = 10;
inline constexpr std::int32_t kPath = 19;
inline constexpr std::int32_t kMinX = 25;
inline constexpr std::int32_t kMinY = 26;
inline constexpr std::int32_t kMaxX = 27;
inline constexpr std::int32_t kMaxY = 28;
inline constexpr std::int32_t kCoordSys = 29;
}  // namespace table_info

// ColumnInfo(table, column, attribute)
namespace column_info {
inline constexpr std::int32_t kName = 1;
inline constexpr std::int32_t kNumber = 2;
inline constexpr std::int32_t kType = 3;
inline constexpr std::int32_t kWidth = 4;
inline constexpr std::int32_t kDecimals = 5;
inline constexpr std::int32_t kIndexed = 6;
inline constexpr std::int32_t kEditable = 7;
}  // namespace column_info

// SelectionInfo(attribute)
namespace selection_info {
inline constexpr std::int32_t kTableName = 1;
inline constexpr std::int32_t kSelectionName = 2;
inline constexpr std::int32_t kRows = 3;
}  // namespace selection_info

// ObjectInfo(object, attribute)
namespace object_info {
inline constexpr std::int32_t kType = 1;
inline constexpr std::int32_t kText = 3;  // of a text object
inline constexpr std::int32_t kNodeCount = 20;
// The section count; kSectionCount + s is the node count of section s (from 1).
inline constexpr std::int32_t kSectionCount = 21;
}  // namespace object_info

// What ObjectInfo(object, object_info::kType) answers for the kinds the engine reads.
namespace object_type {
inline constexpr std::int32_t kLine = 3;
inline constexpr std::int32_t kPolyline = 4;
inline constexpr std::int32_t kRegion = 7;
}  // namespace object_type

// SystemInfo(attribute)
namespace system_info {
inline constexpr std::int32_t kPlatform = 1;
inline constexpr std::int32_t kAppVersion = 2;
inline constexpr std::int32_t kMainWindow = 9;
inline constexpr std::int32_t kVersion = 17;
}  // namespace system_info

// What SystemInfo(system_info::kPlatform) answers for Windows.
inline constexpr std::int32_t kWindowsPlatform = 3;

// WindowInfo(window, attribute)
namespace window_info {
inline constexpr std::int32_t kTitle = 1;
inline constexpr std::int32_t kType = 3;
inline constexpr std::int32_t kWidth = 4;
inline constexpr std::int32_t kHeight = 5;
inline constexpr std::int32_t kLeft = 6;
inline constexpr std::int32_t kTop = 7;
inline constexpr std::int32_t kStatus = 9;
inline constexpr std::int32_t kTable = 10;
inline constexpr std::int32_t kOpen = 11;
inline constexpr std::int32_t kHandle = 12;
}  // namespace window_info

// What WindowInfo(window, window_info::kType) answers for the kinds the link acts on.
namespace window_type {
inline constexpr std::int32_t kMapper = 1;
inline constexpr std::int32_t kBrowser = 2;
inline constexpr std::int32_t kButtonPad = 19;
// The host's own main window, also the id that names it in Set Window and WindowInfo.
inline constexpr std::int32_t kApplication = 1011;
}  // namespace window_type

// What WindowInfo(window, window_info::kStatus) answers for a maximised window.
inline constexpr std::int32_t kWindowMaximised = 2;

// The menu command the link runs when it makes a hidden host visible.
inline constexpr std::int32_t kShowMenuCommand = 616;

// MapperInfo(window, attribute)
namespace mapper_info {
inline constexpr std::int32_t kZoom = 1;
inline constexpr std::int32_t kScale = 2;
inline constexpr std::int32_t kCenterX = 3;
inline constexpr std::int32_t kCenterY = 4;
inline constexpr std::int32_t kDistanceUnits = 11;
}  // namespace mapper_info

}  // namespace veltrano::host_code
