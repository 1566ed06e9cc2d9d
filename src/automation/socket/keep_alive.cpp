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
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        fd_ = fd;
        started_ = Clock::now();
        ++turn_;
        wake = asleep_;
    }
    if (wake) wake_.notify_all();
}

std::string KeepAlive::finish() {
    std::string unsent;
    const std::lock_guard lock(mutex_);
    fd_ = -1;
    unsent.swap(unsent_);
    return unsent;
}

void KeepAlive::run() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        asleep_ = true;
        wake_.wait(lock, [this] { return quit_ || fd_ >= 0; });
        asleep_ = false;
        keepPosted(lock);
    }
}

// Each wake-up falls due an interval after the running request started or was last posted,
// or an interval after the last look found none running.
void KeepAlive::keepPosted(std::unique_lock<std::mutex>& lock) {
    std::uint64_t seen = turn_;
    auto due = started_ + interval_;
    while (!quit_) {
        if (wake_.wait_until(lock, due, [this] { return quit_; })) return;
        const auto now = Clock::now();
        if (fd_ < 0 && turn_ == seen) return;  // an interval without a request: sleep
        if (turn_ != seen) {
            seen = turn_;
            due = fd_ >= 0 ? started_ + interval_ : now + interval_;
        } else if (now >= due) {
            sendOne();
            due = now + interval_;
        }
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
