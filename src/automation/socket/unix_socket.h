// Opening Unix-domain stream sockets: the host's listening end and a client's connection.
#pragma once

#include <sys/types.h>

#include <string>

#include "automation/socket/file_descriptor.h"

namespace veltrano::ipc {

// A connected, blocking socket; empty with errno set when nobody accepts at path.
FileDescriptor connectTo(const std::string& path);

// The listening end at a path, which it removes when it goes (unless another took it since).
class SocketListener {
public:
    SocketListener() = default;  // empty: listens nowhere
    // Listens at path. A socket file left there by a dead host is removed; one a live host
    // answers on is left alone and std::runtime_error is raised, as for any other failure.
    static SocketListener listenAt(const std::string& path);

    SocketListener(SocketListener&& other) noexcept;
    SocketListener& operator=(SocketListener&& other) noexcept;
    ~SocketListener();

    bool empty() const { return fd_.empty(); }
    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }
    // Stops listening and removes the socket file now.
    void close() noexcept;

private:
    SocketListener(FileDescriptor fd, std::string path, ino_t inode);
    FileDescriptor fd_;
    std::string path_;
    ino_t inode_ = 0;
};

}  // namespace veltrano::ipc
