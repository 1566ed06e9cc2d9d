// Serves one host object to the clients of a listening socket: each frame a request, each
// request answered in turn, one at a time. A client that breaks the protocol is answered with
// a refusal or let go; the others are served on.
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "automation/socket/file_descriptor.h"
#include "automation/socket/frame.h"
#include "automation/socket/poll_loop.h"
#include "automation/socket/request_trace.h"
#include "automation/socket/unix_socket.h"
#include "host/automation.h"

namespace veltrano::ipc {

class AutomationServer {
public:
    // Each open client holds a descriptor; past this many, newcomers are turned away at once.
    static constexpr std::size_t kMaxClients = 64;
    // Read per wake-up, so that one busy client cannot starve the others.
    static constexpr std::size_t kReadChunk = 64 * 1024;

    // Serves host through listener while loop runs. trace may be null.
    AutomationServer(Automation& host, PollLoop& loop, SocketListener listener,
                     RequestTrace* trace = nullptr);
    ~AutomationServer();
    AutomationServer(const AutomationServer&) = delete;
    AutomationServer& operator=(const AutomationServer&) = delete;

    const std::string& path() const { return listener_.path(); }
    std::size_t clientCount() const { return clients_.size(); }
    // Sends what is still queued (waiting at most timeoutMs in all), then lets every client
    // go and removes the socket. Used on the way out, so a last answer is not lost.
    void shutdown(int timeoutMs = 1000);

private:
    struct Client {
        FileDescriptor fd;
        FrameReader reader;
        std::string outbox;
        std::size_t sent = 0;
        bool closeWhenSent = false;
    };

    void acceptClients();
    void onClientEvent(int id, short revents);
    bool readFrom(int id, Client& client);  // false: the client has gone
    void serveFrames(int id, Client& client);
    void answer(int id, Client& client, const std::string& payload);
    void queue(Client& client, const Answer& answer);
    bool flush(int id, Client& client);  // false: the client has gone
    void drop(int id, const char* why);

    Automation& host_;
    PollLoop& loop_;
    SocketListener listener_;
    RequestTrace* trace_;
    std::map<int, Client> clients_;  // by client id, counted from 1
    int lastId_ = 0;
};

}  // namespace veltrano::ipc
