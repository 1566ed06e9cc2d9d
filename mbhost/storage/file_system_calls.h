// The file-system calls storage makes, behind one replaceable object, so that a test can
// inject a full disk, failed flushes, interrupted calls, short writes and crashes at any step
// of a commit without a disk that misbehaves.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

namespace mbhost::gdal {

// Each member behaves as the system call of the same name: -1 and errno on failure.
// The defaults call the system; a test overrides only the calls it wants to disturb.
class FileSystemCalls {
public:
    virtual ~FileSystemCalls() = default;
    virtual int open(const char* path, int flags, mode_t mode = 0);  // always close-on-exec
    virtual ssize_t read(int fd, void* data, size_t size);
    virtual ssize_t write(int fd, const void* data, size_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int flock(int fd, int operation);
    virtual int fstat(int fd, struct stat* status);
    virtual int stat(const char* path, struct stat* status);
    virtual int lstat(const char* path, struct stat* status);
    virtual int access(const char* path, int mode);
    virtual int chmod(const char* path, mode_t mode);
    virtual int chown(const char* path, uid_t owner, gid_t group);
    virtual int mkdir(const char* path, mode_t mode);
    virtual int rename(const char* from, const char* to);
    virtual int renameNoReplace(const char* from, const char* to);  // renameat2 NOREPLACE
    virtual int link(const char* from, const char* to);
    virtual int unlink(const char* path);
};

// The layer in force for the whole process.
FileSystemCalls& fileSystem();

// Puts another layer in force for its lifetime (tests only; not thread-safe to swap while
// another thread makes calls).
class FileSystemOverride {
public:
    explicit FileSystemOverride(FileSystemCalls& replacement);
    ~FileSystemOverride();
    FileSystemOverride(const FileSystemOverride&) = delete;
    FileSystemOverride& operator=(const FileSystemOverride&) = delete;

private:
    FileSystemCalls* previous_;
};

}  // namespace mbhost::gdal
