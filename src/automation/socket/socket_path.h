// Where the running host listens.
#pragma once

#include <sys/un.h>

#include <string>

namespace veltrano::ipc {

// MBHOST_SOCKET when set; else $XDG_RUNTIME_DIR/mbhost/socket; else /tmp/mbhost-<uid>/socket.
std::string defaultSocketPath();

struct SocketLocation {
    std::string path;
    // The per-user default, whose directory host and client must both find private.
    bool inPrivateDirectory = false;
};

// chosen when not empty, else as defaultSocketPath().
SocketLocation locateSocket(const std::string& chosen);

// Raises std::runtime_error, naming the directory and its owner, when directory belongs to
// another user or is open to others: anybody could then put a socket of their own in the
// host's place and receive every request.
void checkPrivateDirectory(const std::string& directory);

// The directory of the default path, made if missing (mode 0700), then checked as above.
void preparePrivateDirectory(const std::string& directory);

// The directory part of a path ("." when there is none).
std::string parentDirectory(const std::string& path);

// Raises std::runtime_error for a path that does not fit a socket address.
sockaddr_un socketAddress(const std::string& path);

}  // namespace veltrano::ipc
