// Tells the client of a long request that the host still works on it: while the loop thread
// runs the request, a thread of its own writes a keep-alive frame to that client now and then.
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
    void run();
    void sendOne();  // with mutex_ held

    const std::chrono::milliseconds interval_;
    std::mutex mutex_;
    std::condition_variable wake_;
    int fd_ = -1;
    std::uint64_t turn_ = 0;  // changes at every start and finish, so a wait starts afresh
    bool quit_ = false;
    std::string unsent_;
    std::thread thread_;
};

}  // namespace veltrano::ipc
