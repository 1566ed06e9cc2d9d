// Whether a file may be written where it is to go, judged alike for table files and pictures.
#pragma once

#include <filesystem>
#include <vector>

namespace mbhost {

// Raises gdal::StorageError "cannot write <shown>: <reason>" when target's folder is missing
// or read-only, or one of the files it would replace (replaced) is read-only; the files are
// named beside shown, the target as the caller names it. Root may write anything, so a file
// or folder without any write bit counts as read-only too.
void refuseReadOnly(const std::filesystem::path& target,
                    const std::vector<std::filesystem::path>& replaced,
                    const std::filesystem::path& shown);

}  // namespace mbhost
