#include "mbhost/storage/file_system_calls.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

namespace mbhost::gdal {
namespace {

FileSystemCalls& realCalls() {
    static FileSystemCalls calls;
    return calls;
}

FileSystemCalls* current = nullptr;

}  // namespace

int FileSystemCalls::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags | O_CLOEXEC, mode);
}
ssize_t FileSystemCalls::read(int fd, void* data, size_t size) {
    return ::read(fd, data, size);
}
ssize_t FileSystemCalls::write(int fd, const void* data, size_t size) {
    return ::write(fd, data, size);
}
int FileSystemCalls::fsync(int fd) {
    return ::fsync(fd);
}
int FileSystemCalls::close(int fd) {
    return ::close(fd);
}
int FileSystemCalls::flock(int fd, int operation) {
    return ::flock(fd, operation);
}
int FileSystemCalls::fstat(int fd, struct stat* status) {
    return ::fstat(fd, status);
}
int FileSystemCalls::stat(const char* path, struct stat* status) {
    return ::stat(path, status);
}
int FileSystemCalls::lstat(const char* path, struct stat* status) {
    return ::lstat(path, status);
}
int FileSystemCalls::access(const char* path, int mode) {
    return ::access(path, mode);
}
int FileSystemCalls::chmod(const char* path, mode_t mode) {
    return ::chmod(path, mode);
}
int FileSystemCalls::chown(const char* path, uid_t owner, gid_t group) {
    return ::chown(path, owner, group);
}
int FileSystemCalls::mkdir(const char* path, mode_t mode) {
    return ::mkdir(path, mode);
}
int FileSystemCalls::rename(const char* from, const char* to) {
    return ::rename(from, to);
}
int FileSystemCalls::renameNoReplace(const char* from, const char* to) {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}
int FileSystemCalls::link(const char* from, const char* to) {
    return ::link(from, to);
}
int FileSystemCalls::unlink(const char* path) {
    return ::unlink(path);
}

FileSystemCalls& fileSystem() {
    return current ? *current : realCalls();
}

FileSystemOverride::FileSystemOverride(FileSystemCalls& replacement) : previous_(current) {
    current = &replacement;
}

FileSystemOverride::~FileSystemOverride() {
    current = previous_;
}

}  // namespace mbhost::gdal
