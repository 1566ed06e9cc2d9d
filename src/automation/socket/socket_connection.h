// A client's connection to the running host: one request out, its answer back.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "automation/socket/file_descriptor.h"
#include "automation/socket/frame.h"
#include "automation/socket/message.h"
#include "automation/socket/spin_budget.h"

namespace veltrano::ipc {

class SocketConnection {
public:
    SocketConnection() = default;  // empty: every call raises err::kHostGone
    // timeLimit: how long the host may stay silent (zero: for ever). Makes fd non-blocking.
    explicit SocketConnection(FileDescriptor fd,
                              std::chrono::seconds timeLimit = std::chrono::seconds::zero());

    // Connects to the host listening at path, with MBHOST_TIMEOUT as the time limit. Raises
    // RunTimeError err::kNoRunningCopy when none listens, when MBHOST_TIMEOUT is not valid,
    // and when the host there is run by another user, who would see every request.
    static SocketConnection open(const std::string& path);

    // Sends the request and waits for its answer, skipping keep-alives. Once the host cannot
    // be reached (refused, reset, closed, silent for the time limit, or an answer that breaks
    // the protocol) the connection is dropped and this and every later call raise
    // RunTimeError err::kHostGone.
    Answer call(const Request& request);

    bool gone() const { return fd_.empty(); }

private:
    using Clock = std::chrono::steady_clock;
    [[noreturn]] void lose(const std::string& reason);
    void waitFor(short events);
    void sendAll(const std::string& bytes);
    void lookForAnswer();
    std::string receivePayload();
    std::optional<std::string> farewell();

    FileDescriptor fd_;
    FrameReader reader_;
    std::chrono::seconds timeLimit_{0};
    Clock::time_point deadline_;
    SpinPolicy spin_;
};

}  // namespace veltrano::ipc
