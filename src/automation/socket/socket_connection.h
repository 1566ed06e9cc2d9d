// A client's connection to the running host: one request out, its answer back.
#pragma once

#include <string>

#include "automation/socket/file_descriptor.h"
#include "automation/socket/frame.h"
#include "automation/socket/message.h"

namespace veltrano::ipc {

class SocketConnection {
public:
    SocketConnection() = default;  // empty: every call raises err::kHostGone
    explicit SocketConnection(FileDescriptor fd) : fd_(std::move(fd)) {}

    // Connects to the host listening at path; raises RunTimeError err::kNoRunningCopy when
    // none does.
    static SocketConnection open(const std::string& path);

    // Sends the request and waits for its answer. Once the host cannot be reached (refused,
    // reset, closed, or an answer that breaks the protocol) the connection is dropped and
    // this and every later call raise RunTimeError err::kHostGone.
    Answer call(const Request& request);

    bool gone() const { return fd_.empty(); }

private:
    [[noreturn]] void lose(const std::string& reason);
    void sendAll(const std::string& bytes);
    std::string receivePayload();

    FileDescriptor fd_;
    FrameReader reader_;
};

}  // namespace veltrano::ipc
