#include "mbhost/storage/table_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>
#include <utility>

#include "mbhost/storage/file_system_calls.h"
#include "mbhost/storage/storage_error.h"

namespace mbhost::gdal {
namespace {

std::string lockPathOf(const std::string& target) {
    const std::filesystem::path path = std::filesystem::absolute(target);
    return (path.parent_path() / ("." + path.filename().string() + ".lock")).string();
}

// Whether descriptor still names the file at path: a releasing holder may have removed it
// between our open and our flock, and a lock on a removed file guards nothing.
bool stillAt(int descriptor, const std::string& path) {
    struct stat held {};
    struct stat named {};
    return fileSystem().fstat(descriptor, &held) == 0 &&
           fileSystem().stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

std::optional<TableLock> TableLock::take(const std::string& target, const std::string& verb) {
    const std::string path = lockPathOf(target);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (true) {
        const int descriptor = fileSystem().open(path.c_str(), O_RDWR | O_CREAT, 0644);
        if (descriptor < 0) return std::nullopt;
        if (fileSystem().flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            if (stillAt(descriptor, path)) return TableLock(path, descriptor);
        } else if (errno != EWOULDBLOCK) {
            fileSystem().close(descriptor);  // a file system without locks
            return std::nullopt;
        } else if (std::chrono::steady_clock::now() > deadline) {
            fileSystem().close(descriptor);
            throw StorageError(verb, target, "another mbhost has been writing it for a minute");
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        fileSystem().close(descriptor);
    }
}

TableLock::TableLock(TableLock&& other) noexcept
    : path_(std::move(other.path_)), descriptor_(other.descriptor_) {
    other.descriptor_ = -1;
}

TableLock& TableLock::operator=(TableLock&& other) noexcept {
    std::swap(path_, other.path_);
    std::swap(descriptor_, other.descriptor_);
    return *this;
}

TableLock::~TableLock() {
    if (descriptor_ < 0) return;
    fileSystem().unlink(path_.c_str());
    fileSystem().close(descriptor_);
}

}  // namespace mbhost::gdal
