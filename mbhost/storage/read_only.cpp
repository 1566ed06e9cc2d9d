#include "mbhost/storage/read_only.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <system_error>

#include "mbhost/storage/file_system_calls.h"
#include "mbhost/storage/storage_error.h"

namespace mbhost {
namespace fs = std::filesystem;

namespace {

bool readOnly(const fs::path& path, int access) {
    struct stat status {};
    if (gdal::fileSystem().stat(path.c_str(), &status) != 0) return false;
    return (status.st_mode & 0222) == 0 || gdal::fileSystem().access(path.c_str(), access) != 0;
}

}  // namespace

void refuseReadOnly(const fs::path& target, const std::vector<fs::path>& replaced,
                    const fs::path& shown) {
    const auto refuse = [&](const std::string& reason) {
        throw gdal::writeError(shown.string(), reason);
    };
    const fs::path directory = target.parent_path();
    std::error_code error;
    if (!fs::is_directory(directory, error)) {
        refuse("the folder " + directory.string() + " does not exist");
    }
    if (readOnly(directory, W_OK | X_OK))
        refuse("the folder " + directory.string() + " is read-only");
    for (const fs::path& file : replaced) {
        if (readOnly(file, W_OK)) {
            refuse((shown.parent_path() / file.filename()).string() + " is read-only");
        }
    }
}

}  // namespace mbhost
