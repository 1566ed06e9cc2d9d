#include "unfinished_commits.h"

#include <unistd.h>

#include <string>
#include <vector>

#include "commit_point.h"

namespace mbhost::gdal {
namespace fs = std::filesystem;
namespace {

std::string prefixFor(const fs::path& target) {
    return "." + target.filename().string() + ".writing-";
}

}  // namespace

fs::path workingFolderFor(const fs::path& target, int attempt) {
    return target.parent_path() /
           (prefixFor(target) + std::to_string(::getpid()) + "-" + std::to_string(attempt));
}

void settleUnfinishedCommits(const fs::path& target) {
    const fs::path absolute = fs::absolute(target);
    const fs::path directory = absolute.parent_path();
    const std::string prefix = prefixFor(absolute);
    std::vector<fs::path> left;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0 && entry.is_directory(error)) {
            left.push_back(entry.path());
        }
    }
    for (const fs::path& folder : left) {
        if (const auto manifest = readManifest(folder)) {
            finishCommit(folder, directory, *manifest);
        } else {
            fs::remove_all(folder, error);
        }
    }
}

}  // namespace mbhost::gdal
