// The system calls the socket link makes, behind one replaceable object, so that a test can
// inject interrupted calls, short writes, resets and refusals without a misbehaving peer.
#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <time.h>

namespace veltrano::ipc {

// Each member behaves as the system call of the same name: -1 and errno on failure.
// The defaults call the system; a test overrides only the calls it wants to disturb.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;
    virtual int socket(int domain, int type, int protocol);
    virtual int connect(int fd, const sockaddr* address, socklen_t length);
    virtual int bind(int fd, const sockaddr* address, socklen_t length);
    virtual int listen(int fd, int backlog);
    virtual int accept(int fd);  // the new socket is non-blocking and close-on-exec
    virtual ssize_t send(int fd, const void* data, size_t size);  // never raises SIGPIPE
    virtual ssize_t recv(int fd, void* data, size_t size);
    virtual int poll(pollfd* fds, nfds_t count, int timeoutMs);
    virtual int timerfd_create(int clock, int flags);
    virtual int timerfd_settime(int fd, const itimerspec* ticks);  // relative, old value unread
    virtual ssize_t read(int fd, void* data, size_t size);
    virtual int close(int fd);
};

// The layer in force for the whole process.
SystemCalls& systemCalls();

// Puts another layer in force for its lifetime (tests only; not thread-safe to swap while
// another thread makes calls).
class SystemCallsOverride {
public:
    explicit SystemCallsOverride(SystemCalls& replacement);
    ~SystemCallsOverride();
    SystemCallsOverride(const SystemCallsOverride&) = delete;
    SystemCallsOverride& operator=(const SystemCallsOverride&) = delete;

private:
    SystemCalls* previous_;
};

}  // namespace veltrano::ipc
