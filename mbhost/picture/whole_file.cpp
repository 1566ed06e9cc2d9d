#include "mbhost/picture/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "mbhost/storage/file_system_calls.h"
#include "mbhost/storage/read_only.h"
#include "mbhost/storage/storage_error.h"

namespace mbhost::picture {
namespace {

// Hidden, unique within the folder even for two pictures written at once, and short, so that
// a target whose name is near the length limit still has a staging name.
std::string stagingName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const std::string name = ".mbhost-picture." + std::to_string(::getpid()) + "." +
                             std::to_string(++counter) + ".partial";
    return (std::filesystem::path(path).parent_path() / name).string();
}

// errno of the step that failed, 0 when the bytes are on disk.
int writeAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = gdal::fileSystem().write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        done += static_cast<std::size_t>(n);
    }
    return gdal::fileSystem().fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

void writeWholeFile(const std::string& path, const std::string& bytes) {
    const std::filesystem::path target = std::filesystem::absolute(path);
    std::error_code ignored;
    refuseReadOnly(target,
                   std::filesystem::exists(target, ignored)
                       ? std::vector<std::filesystem::path>{target}
                       : std::vector<std::filesystem::path>{},
                   target);
    const std::string staged = stagingName(path);
    gdal::FileSystemCalls& calls = gdal::fileSystem();
    const int fd = calls.open(staged.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) throw gdal::writeError(path, std::strerror(errno));
    int error = writeAll(fd, bytes);
    if (calls.close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && calls.rename(staged.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        calls.unlink(staged.c_str());
        throw gdal::writeError(path, std::strerror(error));
    }
}

}  // namespace mbhost::picture
