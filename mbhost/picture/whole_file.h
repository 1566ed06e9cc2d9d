// Writing a picture file so that a failure leaves no partial file: the bytes go to a new file
// beside the target, are flushed, then renamed over it.
#pragma once

#include <string>

namespace mbhost::picture {

// Raises gdal::StorageError "cannot write <path>: <reason>" (a read-only folder or file is
// refused as a table's are: read_only.h); the old file at path, if any, is then as it was.
void writeWholeFile(const std::string& path, const std::string& bytes);

}  // namespace mbhost::picture
