// The working folders of commits, ".NAME.writing-PID-N" beside the table file NAME, and the
// cleaning up after a process that died with one: a folder whose commit reached its manifest
// is finished, any other is deleted. Only what this user alone could have made is acted on
// (commit_point.h): anything else is left as it is and named in a warning on stderr. Run only
// while holding the table's lock, so no folder found belongs to a commit still running.
#pragma once

#include <filesystem>

namespace mbhost::gdal {

// The name of this process's attempt-th working folder for target.
std::filesystem::path workingFolderFor(const std::filesystem::path& target, int attempt);

// Finishes or deletes every working folder of this user left beside target. Raises
// std::runtime_error with the reason when a decided commit cannot be finished.
void settleUnfinishedCommits(const std::filesystem::path& target);

}  // namespace mbhost::gdal
