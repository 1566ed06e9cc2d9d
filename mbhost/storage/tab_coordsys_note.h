// A MapInfo TAB file without objects is read back by GDAL as a table that is not mappable:
// its coordinate system lives in the object file, which GDAL does not read when that holds
// nothing. An empty output table would then lose its system on the first reopening, so the
// system is also noted in the .tab file's metadata, which MapInfo and GDAL skip over.
#pragma once

#include <optional>
#include <string>

namespace mbhost::gdal {

// Appends the note to the .tab file at path. Raises std::runtime_error when it cannot.
void noteCoordSys(const std::string& tabPath, const std::string& clause);

// The clause noted in the .tab file, if there is one.
std::optional<std::string> notedCoordSys(const std::string& tabPath);

}  // namespace mbhost::gdal
