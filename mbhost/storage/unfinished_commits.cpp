#include "mbhost/storage/unfinished_commits.h"

#include <unistd.h>

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "mbhost/storage/commit_point.h"

namespace mbhost::gdal {
namespace fs = std::filesystem;
namespace {

std::string prefixFor(const fs::path& target) {
    return "." + target.filename().string() + ".writing-";
}

void warnLeftAlone(const fs::path& folder, const std::string& reason) {
    std::cerr << "mbhost: warning: " << folder.string() << " left as it is: " << reason
              << std::endl;
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
        if (entry.path().filename().string().rfind(prefix, 0) == 0) left.push_back(entry.path());
    }
    for (const fs::path& folder : left) {
        if (const std::string doubt = distrustOfFolder(folder); !doubt.empty()) {
            warnLeftAlone(folder, doubt);
            continue;
        }
        std::optional<CommitManifest> manifest;
        try {
            manifest = readManifest(folder, absolute);
        } catch (const std::runtime_error& doubt) {
            warnLeftAlone(folder, doubt.what());
            continue;
        }
        if (manifest) {
            finishCommit(folder, directory, *manifest);
        } else {
            fs::remove_all(folder, error);
        }
    }
}

}  // namespace mbhost::gdal
