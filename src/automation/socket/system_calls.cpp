#include "automation/socket/system_calls.h"

#include <sys/timerfd.h>
#include <unistd.h>

namespace veltrano::ipc {
namespace {

SystemCalls& realCalls() {
    static SystemCalls calls;
    return calls;
}

SystemCalls* current = nullptr;

}  // namespace

int SystemCalls::socket(int domain, int type, int protocol) {
    return ::socket(domain, type | SOCK_CLOEXEC, protocol);
}
int SystemCalls::connect(int fd, const sockaddr* address, socklen_t length) {
    return ::connect(fd, address, length);
}
int SystemCalls::bind(int fd, const sockaddr* address, socklen_t length) {
    return ::bind(fd, address, length);
}
int SystemCalls::listen(int fd, int backlog) {
    return ::listen(fd, backlog);
}
int SystemCalls::accept(int fd) {
    return ::accept4(fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
}
ssize_t SystemCalls::send(int fd, const void* data, size_t size) {
    return ::send(fd, data, size, MSG_NOSIGNAL);
}
ssize_t SystemCalls::recv(int fd, void* data, size_t size) {
    return ::recv(fd, data, size, 0);
}
int SystemCalls::poll(pollfd* fds, nfds_t count, int timeoutMs) {
    return ::poll(fds, count, timeoutMs);
}
int SystemCalls::timerfd_create(int clock, int flags) {
    return ::timerfd_create(clock, flags);
}
int SystemCalls::timerfd_settime(int fd, const itimerspec* ticks) {
    return ::timerfd_settime(fd, 0, ticks, nullptr);
}
ssize_t SystemCalls::read(int fd, void* data, size_t size) {
    return ::read(fd, data, size);
}
int SystemCalls::close(int fd) {
    return ::close(fd);
}

SystemCalls& systemCalls() {
    return current ? *current : realCalls();
}

SystemCallsOverride::SystemCallsOverride(SystemCalls& replacement) : previous_(current) {
    current = &replacement;
}

SystemCallsOverride::~SystemCallsOverride() {
    current = previous_;
}

}  // namespace veltrano::ipc
