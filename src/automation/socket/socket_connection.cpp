#include "automation/socket/socket_connection.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "automation/socket/system_calls.h"
#include "automation/socket/unix_socket.h"
#include "foundation/run_time_error.h"

namespace veltrano::ipc {
namespace {

constexpr const char* kSource = "SocketAutomation";
constexpr std::size_t kReceiveChunk = 64 * 1024;

}  // namespace

SocketConnection SocketConnection::open(const std::string& path) {
    try {
        FileDescriptor fd = connectTo(path);
        if (fd.empty()) {
            throw RunTimeError(err::kNoRunningCopy,
                               "no mbhost is running at " + path + ": " + std::strerror(errno),
                               kSource);
        }
        return SocketConnection(std::move(fd));
    } catch (const std::runtime_error& bad) {
        if (dynamic_cast<const RunTimeError*>(&bad)) throw;
        throw RunTimeError(err::kNoRunningCopy, bad.what(), kSource);
    }
}

void SocketConnection::lose(const std::string& reason) {
    fd_.reset();
    reader_ = FrameReader();
    throw RunTimeError(err::kHostGone, describeError(err::kHostGone) + " (" + reason + ")",
                       kSource);
}

void SocketConnection::sendAll(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put = systemCalls().send(fd_.get(), bytes.data() + sent, bytes.size() - sent);
        if (put > 0) {
            sent += static_cast<std::size_t>(put);
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else {
            lose(put == 0 ? "nothing could be sent" : std::strerror(errno));
        }
    }
}

std::string SocketConnection::receivePayload() {
    char buffer[kReceiveChunk];
    for (;;) {
        if (auto payload = reader_.next()) return std::move(*payload);
        if (reader_.oversized()) lose("the host announced an oversized answer");
        const ssize_t got = systemCalls().recv(fd_.get(), buffer, sizeof(buffer));
        if (got > 0) {
            reader_.append(std::string_view(buffer, static_cast<std::size_t>(got)));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            lose(got == 0 ? "the host closed the connection" : std::strerror(errno));
        }
    }
}

Answer SocketConnection::call(const Request& request) {
    if (gone()) lose("not connected");
    std::string frame;
    try {
        frame = encodeFrame(encodeRequest(request));
    } catch (const std::length_error& tooLong) {
        throw RunTimeError(err::kAutomationFailure, tooLong.what(), kSource);
    }
    sendAll(frame);
    try {
        return decodeAnswer(receivePayload());
    } catch (const ProtocolError& bad) {
        lose(std::string("malformed answer: ") + bad.what());
    }
}

}  // namespace veltrano::ipc
