// Serves one host object to the clients of a listening socket: each frame a request, each
// request answered in turn, one at a time. A client that breaks the protocol, stalls in the
// middle of a frame, leaves its answers unread or hoards connections is answered with a
// refusal or let go; the others are served on.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "automation/socket/file_descriptor.h"
#include "automation/socket/frame.h"
#include "automation/socket/keep_alive.h"
#include "automation/socket/poll_loop.h"
#include "automation/socket/request_trace.h"
#include "automation/socket/server_limits.h"
#include "automation/socket/unix_socket.h"
#include "host/automation.h"

namespace veltrano::ipc {

class AutomationServer {
public:
    // Read per wake-up, so that one busy client cannot starve the others.
    static constexpr std::size_t kReadChunk = 64 * 1024;

    // Serves host through listener while loop runs. trace may be null. Raises
    // std::runtime_error when the frame timer cannot be made.
    AutomationServer(Automation& host, PollLoop& loop, SocketListener listener,
                     RequestTrace* trace = nullptr, ServerLimits limits = {});
    ~AutomationServer();
    AutomationServer(const AutomationServer&) = delete;
    AutomationServer& operator=(const AutomationServer&) = delete;

    const std::string& path() const { return listener_.path(); }
    std::size_t clientCount() const { return clients_.size(); }
    // Sends what is still queued (waiting at most timeoutMs in all), then lets every client
    // go and removes the socket. Used on the way out, so a last answer is not lost.
    void shutdown(int timeoutMs = 1000);

private:
    using Clock = std::chrono::steady_clock;
    struct Client {
        FileDescriptor fd;
        pid_t pid = 0;
        FrameReader reader;
        std::string outbox;
        std::size_t sent = 0;
        bool closeWhenSent = false;
        Clock::time_point lastActive;
        std::optional<Clock::time_point> frameStarted;  // while a frame is incomplete
        std::optional<Clock::time_point> unreadSince;   // while the socket takes no more
    };

    void acceptClients();
    bool makeRoom(int id, int fd, pid_t pid);  // false: fd was turned away
    std::vector<HeldConnection> held() const;
    void refuseAndDrop(int id, const std::string& reason);
    void dropStalledClients();
    void onClientEvent(int id, short revents);
    bool readFrom(int id, Client& client);  // false: the client has gone
    void serveFrames(int id, Client& client);
    void answer(int id, Client& client, const std::string& payload);
    void queue(Client& client, const Answer& answer, std::string before = {});
    bool flush(int id, Client& client);  // false: the client has gone
    void drop(int id, const std::string& why);

    Automation& host_;
    PollLoop& loop_;
    SocketListener listener_;
    RequestTrace* trace_;
    ServerLimits limits_;
    KeepAlive keepAlive_;
    FileDescriptor frameTimer_;
    std::map<int, Client> clients_;  // by client id, counted from 1
    int lastId_ = 0;
};

}  // namespace veltrano::ipc
