// Tells the client of a long request that the host still works on it: while the loop thread
// runs the request, a thread of its own writes a keep-alive frame to that client now and then.
// A stream of short requests never wakes that thread: it looks at the clock's pace, not at
// every request, and sleeps for good once an interval passes without one.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace veltrano::ipc {

class KeepAlive {
public:
    explicit KeepAlive(std::chrono::milliseconds interval);
    ~KeepAlive();
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

    // Until finish(), a keep-alive frame goes to the non-blocking socket fd every interval.
    void start(int fd);
    // Stops writing before it returns. What it gives back is the tail of a keep-alive frame
    // the socket took only in part: it must be sent before anything else, or the stream breaks.
    std::string finish();

private:
    using Clock = std::chrono::steady_clock;
    void run();
    void keepPosted(std::unique_lock<std::mutex>& lock);  // until an interval passes idle
    void sendOne();                                       // with mutex_ held

    const std::chrono::milliseconds interval_;
    std::mutex mutex_;
    std::condition_variable wake_;
    int fd_ = -1;
    Clock::time_point started_;  // of the request under way
    std::uint64_t turn_ = 0;     // counts the requests started
    bool asleep_ = true;         // waits for a start without a time-out
    bool quit_ = false;
    std::string unsent_;
    std::thread thread_;
};

}  // namespace veltrano::ipc
