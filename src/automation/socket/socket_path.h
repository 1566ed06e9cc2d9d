// Where the running host listens.
#pragma once

#include <sys/un.h>

#include <string>

namespace veltrano::ipc {

// MBHOST_SOCKET when set; else $XDG_RUNTIME_DIR/mbhost/socket; else /tmp/mbhost-<uid>/socket.
std::string defaultSocketPath();

// The directory of the default path, made if missing (mode 0700). Raises std::runtime_error
// when it exists but belongs to another user or is open to others, since then anybody could
// put a socket of their own in the host's place.
void preparePrivateDirectory(const std::string& directory);

// The directory part of a path ("." when there is none).
std::string parentDirectory(const std::string& path);

// Raises std::runtime_error for a path that does not fit a socket address.
sockaddr_un socketAddress(const std::string& path);

}  // namespace veltrano::ipc
