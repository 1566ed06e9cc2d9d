#include "mbhost/storage/read_only.h"

#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <system_error>

namespace mbhost {
namespace fs = std::filesystem;

namespace {

bool readOnly(const fs::path& path, int access) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return false;
    return (status.st_mode & 0222) == 0 || ::access(path.c_str(), access) != 0;
}

}  // namespace

void refuseReadOnly(const fs::path& target, const std::vector<fs::path>& replaced) {
    const auto refuse = [&](const std::string& reason) {
        throw std::runtime_error("cannot write " + target.string() + ": " + reason);
    };
    const fs::path directory = target.parent_path();
    std::error_code error;
    if (!fs::is_directory(directory, error)) {
        refuse("the folder " + directory.string() + " does not exist");
    }
    if (readOnly(directory, W_OK | X_OK))
        refuse("the folder " + directory.string() + " is read-only");
    for (const fs::path& file : replaced) {
        if (readOnly(file, W_OK)) refuse(file.string() + " is read-only");
    }
}

}  // namespace mbhost
