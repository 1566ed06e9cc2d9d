#include "automation/socket/keep_alive.h"

#include <sys/socket.h>

#include <cerrno>

#include "automation/socket/frame.h"
#include "automation/socket/message.h"

namespace veltrano::ipc {

KeepAlive::KeepAlive(std::chrono::milliseconds interval)
    : interval_(interval), thread_([this] { run(); }) {}

KeepAlive::~KeepAlive() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void KeepAlive::start(int fd) {
    {
        const std::lock_guard lock(mutex_);
        fd_ = fd;
        ++turn_;
    }
    wake_.notify_all();
}

std::string KeepAlive::finish() {
    std::string unsent;
    {
        const std::lock_guard lock(mutex_);
        fd_ = -1;
        ++turn_;
        unsent.swap(unsent_);
    }
    wake_.notify_all();
    return unsent;
}

void KeepAlive::run() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (fd_ < 0) {
            wake_.wait(lock);
            continue;
        }
        const std::uint64_t turn = turn_;
        if (wake_.wait_for(lock, interval_, [&] { return quit_ || turn_ != turn; })) continue;
        sendOne();
    }
}

void KeepAlive::sendOne() {
    // A client that does not read lets its buffer fill; it then simply misses a beat.
    const bool fresh = unsent_.empty();
    if (fresh) unsent_ = encodeFrame(encodeAnswer(Answer::keepAlive()));
    ssize_t put;
    do {
        put = ::send(fd_, unsent_.data(), unsent_.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    } while (put < 0 && errno == EINTR);
    if (put > 0) {
        unsent_.erase(0, static_cast<std::size_t>(put));
    } else if (fresh) {
        unsent_.clear();
    }
}

}  // namespace veltrano::ipc
