// The client's I/O under the faults a real system hands out now and then.
#include <fcntl.h>
#include <sys/socket.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "automation/socket/frame.h"
#include "automation/socket/socket_connection.h"
#include "automation/socket/system_calls.h"
#include "foundation/run_time_error.h"
#include "served_host.h"

namespace veltrano::ipc {
namespace {

// Interrupts every other call, moves at most one byte per call, and can reset the connection.
class UnreliableCalls : public SystemCalls {
public:
    bool interruptNext = true;
    int resetAfterReceives = -1;  // -1: never
    int sends = 0;
    int receives = 0;

    ssize_t send(int fd, const void* data, size_t size) override {
        ++sends;
        if (interrupt()) return -1;
        return SystemCalls::send(fd, data, size == 0 ? 0 : 1);
    }
    ssize_t recv(int fd, void* data, size_t size) override {
        ++receives;
        if (resetAfterReceives == 0) {
            errno = ECONNRESET;
            return -1;
        }
        if (resetAfterReceives > 0) --resetAfterReceives;
        if (interrupt()) return -1;
        return SystemCalls::recv(fd, data, size == 0 ? 0 : 1);
    }

private:
    bool interrupt() {
        interruptNext = !interruptNext;
        if (interruptNext) return false;
        errno = EINTR;
        return true;
    }
};

struct SocketPair {
    FileDescriptor near;
    FileDescriptor far;
    SocketPair() {
        int ends[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
        near = FileDescriptor(ends[0]);
        far = FileDescriptor(ends[1]);
    }
};

using testing::errorNumberOf;

TEST(client_io, interrupted_calls_and_one_byte_transfers_still_carry_whole_frames) {
    SocketPair pair;
    const std::string answer = encodeFrame(encodeAnswer(Answer::value("Магистраль 4")));
    ASSERT_EQ(::send(pair.far.get(), answer.data(), answer.size(), 0),
              static_cast<ssize_t>(answer.size()));
    UnreliableCalls calls;
    const SystemCallsOverride disturbed(calls);
    SocketConnection connection(std::move(pair.near));
    const Request request{Member::Eval, "TableInfo(roads, 1)"};
    EXPECT_EQ(connection.call(request), Answer::value("Магистраль 4"));
    const std::string sent = encodeFrame(encodeRequest(request));
    std::string received(sent.size(), '\0');
    ::recv(pair.far.get(), received.data(), received.size(), MSG_WAITALL);
    EXPECT_EQ(received, sent);
    EXPECT_GE(calls.sends, static_cast<int>(sent.size()));
    EXPECT_GE(calls.receives, static_cast<int>(answer.size()));
}

// The host's end resets the connection in the middle of an answer, closes, answers nonsense,
// or ends its stream once the request is out: the host is gone, and no later call is sent.
TEST(client_io, a_peer_that_resets_closes_answers_nonsense_or_ends_is_host_gone_for_good) {
    const std::string answer = encodeFrame(encodeAnswer(Answer::value("4")));
    const std::string nonsense = encodeFrame("\x09garbage");
    const char* const reasons[] = {"", "", "version 9", "(the host closed the connection)"};
    for (int fault = 0; fault < 4; ++fault) {
        SocketPair pair;
        if (fault == 0) ::send(pair.far.get(), answer.data(), answer.size(), MSG_NOSIGNAL);
        if (fault == 1) pair.far.reset();
        if (fault == 2) ::send(pair.far.get(), nonsense.data(), nonsense.size(), MSG_NOSIGNAL);
        if (fault == 3) ::shutdown(pair.far.get(), SHUT_WR);
        UnreliableCalls calls;
        calls.resetAfterReceives = fault == 0 ? 3 : -1;
        const SystemCallsOverride disturbed(calls);
        SocketConnection connection(std::move(pair.near), std::chrono::seconds(1));
        const testing::Raised raised = testing::raisedBy([&] {
            connection.call({Member::Name, ""});
        });
        EXPECT_EQ(raised.number, err::kHostGone) << fault;
        EXPECT_NE(raised.description.find(reasons[fault]), std::string::npos) << fault;
        EXPECT_TRUE(connection.gone()) << fault;
        const int sendsBefore = calls.sends;
        EXPECT_EQ(errorNumberOf([&] { connection.call({Member::Eval, "2*2"}); }), err::kHostGone);
        EXPECT_EQ(calls.sends, sendsBefore) << fault;
    }
}

TEST(file_descriptor, one_moved_in_closes_the_one_held_before) {
    SocketPair pair;
    const int before = pair.near.get();
    pair.near = std::move(pair.far);
    EXPECT_EQ(::fcntl(before, F_GETFD), -1);
}

}  // namespace
}  // namespace veltrano::ipc
