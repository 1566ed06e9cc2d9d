#include "automation/socket/socket_connection.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <stdexcept>

#include "automation/socket/answer_time_limit.h"
#include "automation/socket/peer_credentials.h"
#include "automation/socket/system_calls.h"
#include "automation/socket/unix_socket.h"
#include "foundation/run_time_error.h"

namespace veltrano::ipc {
namespace {

constexpr const char* kSource = "SocketAutomation";
constexpr std::size_t kReceiveChunk = 64 * 1024;

// A host run by another user would read every request and choose every answer.
void checkPeer(const std::string& path, int fd) {
    const auto peer = peerCredentials(fd);
    if (!peer) {
        throw std::runtime_error("cannot tell who runs the mbhost at " + path + ": " +
                                 std::strerror(errno));
    }
    if (peer->uid != ::geteuid()) {
        throw std::runtime_error("refusing the mbhost at " + path + ": it is run by " +
                                 describeUser(peer->uid) + ", not by this user");
    }
}

}  // namespace

SocketConnection::SocketConnection(FileDescriptor fd, std::chrono::seconds timeLimit)
    : fd_(std::move(fd)), timeLimit_(timeLimit) {
    // Every wait is a poll bounded by the time limit, never a blocking call.
    if (!fd_.empty()) ::fcntl(fd_.get(), F_SETFL, ::fcntl(fd_.get(), F_GETFL) | O_NONBLOCK);
}

SocketConnection SocketConnection::open(const std::string& path) {
    try {
        const auto timeLimit = answerTimeLimit();
        FileDescriptor fd = connectTo(path);
        if (fd.empty()) {
            throw std::runtime_error("no mbhost is running at " + path + ": " +
                                     std::strerror(errno));
        }
        checkPeer(path, fd.get());
        return SocketConnection(std::move(fd), timeLimit);
    } catch (const std::runtime_error& bad) {
        throw RunTimeError(err::kNoRunningCopy, bad.what(), kSource);
    }
}

void SocketConnection::lose(const std::string& reason) {
    fd_.reset();
    reader_ = FrameReader();
    throw RunTimeError(err::kHostGone, describeError(err::kHostGone) + " (" + reason + ")",
                       kSource);
}

// Returns once the socket is ready for events; a host silent past the deadline is lost.
void SocketConnection::waitFor(short events) {
    for (;;) {
        int waitMs = -1;
        if (timeLimit_.count() > 0) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
            if (left <= 0) lose("no answer in " + std::to_string(timeLimit_.count()) + " s");
            waitMs = static_cast<int>(std::min<long long>(left, INT_MAX));
        }
        pollfd ready{fd_.get(), events, 0};
        const int got = systemCalls().poll(&ready, 1, waitMs);
        if (got > 0 || (got < 0 && errno != EINTR)) return;  // the call that follows tells
    }
}

// A host that turned this connection away said why before it closed.
std::optional<std::string> SocketConnection::farewell() {
    char buffer[4096];
    for (;;) {
        if (auto payload = reader_.next()) {
            try {
                const Answer last = decodeAnswer(*payload);
                if (last.kind == Answer::Kind::Refused) return "turned away: " + last.text;
            } catch (const ProtocolError&) {
            }
            return std::nullopt;
        }
        const ssize_t got = ::recv(fd_.get(), buffer, sizeof(buffer), MSG_DONTWAIT);
        if (got <= 0) return std::nullopt;
        reader_.append(std::string_view(buffer, static_cast<std::size_t>(got)));
    }
}

// A quick answer is caught here, without a sleep and a wake-up; a slow one is waited for.
void SocketConnection::lookForAnswer() {
    if (!spin_.worthLooking()) return;
    pollfd ready{fd_.get(), POLLIN, 0};
    // An answer already there (the host ran first on this core) says nothing of looking.
    if (systemCalls().poll(&ready, 1, 0) != 0) return;
    const auto until = Clock::now() + kSpinBudget;
    while (systemCalls().poll(&ready, 1, 0) == 0) {
        if (Clock::now() >= until) return spin_.looked(false);
    }
    spin_.looked(true);
}

void SocketConnection::sendAll(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put = systemCalls().send(fd_.get(), bytes.data() + sent, bytes.size() - sent);
        if (put > 0) {
            sent += static_cast<std::size_t>(put);
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            waitFor(POLLOUT);
        } else {
            const std::string failure = put == 0 ? "nothing could be sent" : std::strerror(errno);
            lose(farewell().value_or(failure));
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
        } else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            waitFor(POLLIN);
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
    deadline_ = Clock::now() + timeLimit_;
    sendAll(frame);
    lookForAnswer();
    try {
        for (;;) {
            Answer answer = decodeAnswer(receivePayload());
            if (answer.kind != Answer::Kind::KeepAlive) return answer;
            deadline_ = Clock::now() + timeLimit_;
        }
    } catch (const ProtocolError& bad) {
        lose(std::string("malformed answer: ") + bad.what());
    }
}

}  // namespace veltrano::ipc
