// One thread's wait for many descriptors: the host serves its clients, its console and its
// signals from one loop, one event at a time, as a single-threaded host must.
#pragma once

#include <poll.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "automation/socket/file_descriptor.h"
#include "automation/socket/spin_budget.h"

namespace veltrano::ipc {

class PollLoop {
public:
    using Handler = std::function<void(short revents)>;

    PollLoop();  // raises std::runtime_error when its wake-up pipe cannot be made

    // Calls handler when fd shows any of events (or an error or hang-up). A handler may
    // watch, unwatch and close descriptors, its own included.
    void watch(int fd, short events, Handler handler);
    void setEvents(int fd, short events);
    void unwatch(int fd);
    bool watching(int fd) const { return watches_.count(fd) != 0; }

    // Waits at most timeoutMs (-1: no limit) and runs the handlers of what is ready. Within
    // kSpinBudget of the last event handled it first looks without sleeping (while that pays),
    // so that a client's next request is caught without a wake-up.
    void runOnce(int timeoutMs);
    // Runs until stop().
    void run();
    // Safe from another thread and from a signal handler.
    void stop() noexcept;
    bool stopped() const;
    // Lets run() go on again after a stop.
    void reset();

private:
    struct Watch {
        std::uint64_t id;
        short events;
        Handler handler;
    };
    using Clock = std::chrono::steady_clock;
    int spin(std::vector<pollfd>& fds);  // what poll returned at the last look
    void drainWakePipe();

    std::map<int, Watch> watches_;
    std::uint64_t nextId_ = 1;
    Clock::time_point spinUntil_;
    SpinPolicy spin_;
    FileDescriptor wakeRead_;
    FileDescriptor wakeWrite_;
    std::atomic<bool> stopRequested_{false};  // lock-free, so a signal handler may set it
};

}  // namespace veltrano::ipc
