#include "automation/socket/socket_path.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "automation/socket/peer_credentials.h"

namespace veltrano::ipc {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::runtime_error directoryError(const std::string& directory, const std::string& reason) {
    return std::runtime_error("cannot use the directory " + directory + ": " + reason);
}

}  // namespace

std::string defaultSocketPath() {
    if (auto chosen = environment("MBHOST_SOCKET"); !chosen.empty()) return chosen;
    if (auto runtime = environment("XDG_RUNTIME_DIR"); !runtime.empty()) {
        return runtime + "/mbhost/socket";
    }
    return "/tmp/mbhost-" + std::to_string(::getuid()) + "/socket";
}

SocketLocation locateSocket(const std::string& chosen) {
    if (!chosen.empty()) return {chosen, false};
    if (auto named = environment("MBHOST_SOCKET"); !named.empty()) return {named, false};
    return {defaultSocketPath(), true};
}

void preparePrivateDirectory(const std::string& directory) {
    if (::mkdir(directory.c_str(), 0700) == 0) return;
    if (errno != EEXIST) throw directoryError(directory, std::strerror(errno));
    checkPrivateDirectory(directory);
}

void checkPrivateDirectory(const std::string& directory) {
    struct stat info {};
    if (::lstat(directory.c_str(), &info) != 0) {
        throw directoryError(directory, std::strerror(errno));
    }
    if (!S_ISDIR(info.st_mode)) throw directoryError(directory, "it is not a directory");
    if (info.st_uid != ::geteuid()) {
        throw directoryError(directory, "it belongs to another user, " + describeUser(info.st_uid));
    }
    if ((info.st_mode & 077) != 0) {
        throw directoryError(directory, "others may write to it (mode should be 0700)");
    }
}

std::string parentDirectory(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

sockaddr_un socketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty()) throw std::runtime_error("the socket path is empty");
    if (path.size() >= sizeof(address.sun_path)) {
        throw std::runtime_error("the socket path " + path + " is too long (" +
                                 std::to_string(path.size()) + " bytes, at most " +
                                 std::to_string(sizeof(address.sun_path) - 1) + ")");
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    return address;
}

}  // namespace veltrano::ipc
