#include "automation/socket/unix_socket.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "automation/socket/socket_path.h"
#include "automation/socket/system_calls.h"

namespace veltrano::ipc {
namespace {

// Pending connections the kernel holds while the host is busy with one request.
constexpr int kListenBacklog = 16;

std::runtime_error listenError(const std::string& path, const std::string& reason) {
    return std::runtime_error("cannot listen on " + path + ": " + reason);
}

FileDescriptor newSocket() {
    return FileDescriptor(systemCalls().socket(AF_UNIX, SOCK_STREAM, 0));
}

// Clears the way at path: a live host there is an error, a dead one's socket is removed.
void removeStaleSocket(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return;  // nothing there
    if (!S_ISSOCK(info.st_mode)) throw listenError(path, "a file that is not a socket is there");
    const int savedErrno = errno;
    if (!connectTo(path).empty()) throw listenError(path, "another mbhost is serving it");
    errno = savedErrno;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        throw listenError(path,
                          std::string("cannot remove the stale socket: ") + std::strerror(errno));
    }
}

}  // namespace

FileDescriptor connectTo(const std::string& path) {
    const sockaddr_un address = socketAddress(path);
    FileDescriptor fd = newSocket();
    if (fd.empty()) return fd;
    int result;
    do {
        result = systemCalls().connect(fd.get(), reinterpret_cast<const sockaddr*>(&address),
                                       sizeof(address));
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        fd.reset();
        errno = error;
    }
    return fd;
}

SocketListener SocketListener::listenAt(const std::string& path) {
    const sockaddr_un address = socketAddress(path);
    removeStaleSocket(path);
    FileDescriptor fd = newSocket();
    if (fd.empty()) throw listenError(path, std::strerror(errno));
    const int flags = ::fcntl(fd.get(), F_GETFL);
    ::fcntl(fd.get(), F_SETFL, flags | O_NONBLOCK);
    // Only this user may connect; the directory normally says so already.
    const mode_t previousMask = ::umask(0077);
    const int bound =
        systemCalls().bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    const int bindErrno = errno;
    ::umask(previousMask);
    if (bound != 0) throw listenError(path, std::strerror(bindErrno));
    struct stat info {};
    ::lstat(path.c_str(), &info);
    SocketListener listener(std::move(fd), path, info.st_ino);
    if (systemCalls().listen(listener.fd(), kListenBacklog) != 0) {
        throw listenError(path, std::strerror(errno));
    }
    return listener;
}

SocketListener::SocketListener(FileDescriptor fd, std::string path, ino_t inode)
    : fd_(std::move(fd)), path_(std::move(path)), inode_(inode) {}

SocketListener::SocketListener(SocketListener&& other) noexcept
    : fd_(std::move(other.fd_)), path_(std::move(other.path_)), inode_(other.inode_) {}

SocketListener& SocketListener::operator=(SocketListener&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::move(other.fd_);
        path_ = std::move(other.path_);
        inode_ = other.inode_;
    }
    return *this;
}

SocketListener::~SocketListener() {
    close();
}

void SocketListener::close() noexcept {
    if (fd_.empty()) return;
    fd_.reset();
    struct stat info {};
    if (::lstat(path_.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_ino == inode_) {
        ::unlink(path_.c_str());
    }
}

}  // namespace veltrano::ipc
