// Who is at the other end of a local socket, and a user as a message names them.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace veltrano::ipc {

struct PeerCredentials {
    pid_t pid = 0;
    uid_t uid = 0;
};

// The process and user that opened the other end of a connected Unix socket, as the kernel
// recorded them; nothing when it cannot tell.
std::optional<PeerCredentials> peerCredentials(int fd);

// "nobody (uid 65534)", or "uid 4242" for a user without a name.
std::string describeUser(uid_t uid);

}  // namespace veltrano::ipc
