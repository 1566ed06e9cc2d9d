// An owned file descriptor: move-only, closed when it goes, explicitly empty otherwise.
#pragma once

#include <utility>

namespace veltrano::ipc {

class FileDescriptor {
public:
    FileDescriptor() = default;  // empty: owns nothing
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { reset(); }

    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool empty() const noexcept { return fd_ < 0; }
    int get() const noexcept { return fd_; }
    // Closes what it owns (errors ignored: nothing useful can follow a failed close).
    void reset() noexcept;
    int release() noexcept { return std::exchange(fd_, -1); }

private:
    int fd_ = -1;
};

}  // namespace veltrano::ipc
