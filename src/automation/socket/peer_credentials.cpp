#include "automation/socket/peer_credentials.h"

#include <pwd.h>
#include <sys/socket.h>

#include <vector>

namespace veltrano::ipc {

std::optional<PeerCredentials> peerCredentials(int fd) {
    ucred credentials{};
    socklen_t length = sizeof(credentials);
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) return std::nullopt;
    return PeerCredentials{credentials.pid, credentials.uid};
}

std::string describeUser(uid_t uid) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    const std::string number = "uid " + std::to_string(uid);
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) {
        return number;
    }
    return std::string(found->pw_name) + " (" + number + ")";
}

}  // namespace veltrano::ipc
