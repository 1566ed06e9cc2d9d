#include "automation/socket/poll_loop.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "automation/socket/system_calls.h"

namespace veltrano::ipc {

PollLoop::PollLoop() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error(std::string("cannot make the loop's wake-up pipe: ") +
                                 std::strerror(errno));
    }
    wakeRead_ = FileDescriptor(ends[0]);
    wakeWrite_ = FileDescriptor(ends[1]);
}

void PollLoop::watch(int fd, short events, Handler handler) {
    watches_[fd] = Watch{nextId_++, events, std::move(handler)};
}

void PollLoop::setEvents(int fd, short events) {
    if (auto it = watches_.find(fd); it != watches_.end()) it->second.events = events;
}

void PollLoop::unwatch(int fd) {
    watches_.erase(fd);
}

void PollLoop::runOnce(int timeoutMs) {
    std::vector<pollfd> fds;
    std::vector<std::uint64_t> ids;
    fds.reserve(watches_.size() + 1);
    fds.push_back({wakeRead_.get(), POLLIN, 0});
    ids.push_back(0);
    for (const auto& [fd, watch] : watches_) {
        fds.push_back({fd, watch.events, 0});
        ids.push_back(watch.id);
    }
    int ready = Clock::now() < spinUntil_ && spin_.worthLooking() ? spin(fds) : 0;
    if (ready == 0 && timeoutMs != 0) {
        ready = systemCalls().poll(fds.data(), fds.size(), timeoutMs);
    }
    if (ready <= 0) return;  // a timeout, or EINTR: the caller loops
    if (fds[0].revents != 0) drainWakePipe();
    for (std::size_t i = 1; i < fds.size() && !stopped(); ++i) {
        if (fds[i].revents == 0) continue;
        // The handler of an earlier descriptor may have dropped this one, or closed it and
        // had its number reused by a new watch: the id tells.
        auto it = watches_.find(fds[i].fd);
        if (it == watches_.end() || it->second.id != ids[i]) continue;
        Handler handler = it->second.handler;  // a copy: the handler may unwatch itself
        handler(fds[i].revents);
    }
    spinUntil_ = Clock::now() + kSpinBudget;
}

int PollLoop::spin(std::vector<pollfd>& fds) {
    // A frame already there says nothing of whether looking pays.
    if (const int ready = systemCalls().poll(fds.data(), fds.size(), 0); ready != 0) return ready;
    for (;;) {
        const int ready = systemCalls().poll(fds.data(), fds.size(), 0);
        if (ready != 0 || Clock::now() >= spinUntil_) {
            spin_.looked(ready != 0);
            return ready;
        }
    }
}

void PollLoop::run() {
    while (!stopped()) runOnce(-1);
}

void PollLoop::stop() noexcept {
    stopRequested_ = true;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeWrite_.get(), &byte, 1);
}

bool PollLoop::stopped() const {
    return stopRequested_;
}

void PollLoop::reset() {
    stopRequested_ = false;
}

void PollLoop::drainWakePipe() {
    char bytes[64];
    while (::read(wakeRead_.get(), bytes, sizeof(bytes)) > 0) {
    }
}

}  // namespace veltrano::ipc
