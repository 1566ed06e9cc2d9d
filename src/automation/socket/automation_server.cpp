#include "automation/socket/automation_server.h"

#include <poll.h>

#include <cerrno>
#include <chrono>

#include "automation/socket/dispatch.h"
#include "automation/socket/message.h"
#include "automation/socket/system_calls.h"

namespace veltrano::ipc {

AutomationServer::AutomationServer(Automation& host, PollLoop& loop, SocketListener listener,
                                   RequestTrace* trace)
    : host_(host), loop_(loop), listener_(std::move(listener)), trace_(trace) {
    loop_.watch(listener_.fd(), POLLIN, [this](short) { acceptClients(); });
}

AutomationServer::~AutomationServer() {
    shutdown(0);
}

void AutomationServer::acceptClients() {
    for (;;) {
        FileDescriptor fd(systemCalls().accept(listener_.fd()));
        if (fd.empty()) {
            if (errno == EINTR) continue;
            return;  // EAGAIN: none waiting; anything else: try again at the next wake-up
        }
        const int id = ++lastId_;
        if (clients_.size() >= kMaxClients) {
            if (trace_) trace_->event(id, "turned away: too many clients");
            continue;
        }
        const int raw = fd.get();
        clients_[id].fd = std::move(fd);
        loop_.watch(raw, POLLIN, [this, id](short revents) { onClientEvent(id, revents); });
        if (trace_) trace_->event(id, "connected");
    }
}

void AutomationServer::onClientEvent(int id, short revents) {
    auto it = clients_.find(id);
    if (it == clients_.end()) return;
    Client& client = it->second;
    if (!client.outbox.empty()) {
        // Requests wait while an answer is still on its way: one at a time, in order.
        if ((revents & (POLLOUT | POLLERR | POLLHUP)) && flush(id, client)) {
            serveFrames(id, client);
        }
        return;
    }
    if (readFrom(id, client)) serveFrames(id, client);
}

bool AutomationServer::readFrom(int id, Client& client) {
    char buffer[kReadChunk];
    ssize_t got;
    do {
        got = systemCalls().recv(client.fd.get(), buffer, sizeof(buffer));
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        client.reader.append(std::string_view(buffer, static_cast<std::size_t>(got)));
        return true;
    }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    if (got == 0 && client.reader.pending() > 0) {
        drop(id, "disconnected in the middle of a frame");
    } else {
        drop(id, got == 0 ? "disconnected" : "connection failed");
    }
    return false;
}

void AutomationServer::serveFrames(int id, Client& client) {
    while (client.outbox.empty()) {
        if (auto payload = client.reader.next()) {
            answer(id, client, *payload);
            if (!flush(id, client)) return;
            continue;
        }
        if (client.reader.oversized()) {
            const std::string reason =
                "a frame of " + std::to_string(client.reader.announcedLength()) +
                " bytes exceeds the limit of " + std::to_string(kMaxFrameSize);
            if (trace_) trace_->event(id, "turned away: " + reason);
            queue(client, Answer::refused(reason));
            client.closeWhenSent = true;
            flush(id, client);
        }
        return;
    }
}

void AutomationServer::answer(int id, Client& client, const std::string& payload) {
    Answer reply;
    std::string member;
    std::string argument;
    try {
        const Request request = decodeRequest(payload);
        member = memberName(request.member);
        argument = request.argument;
        reply = dispatch(host_, request);
    } catch (const ProtocolError& error) {
        reply = Answer::refused(std::string("malformed request: ") + error.what());
    }
    if (trace_) trace_->record(id, member, argument, reply);
    queue(client, reply);
}

void AutomationServer::queue(Client& client, const Answer& answer) {
    client.outbox = encodeFrame(encodeAnswer(answer));
    client.sent = 0;
}

bool AutomationServer::flush(int id, Client& client) {
    while (client.sent < client.outbox.size()) {
        const ssize_t put = systemCalls().send(client.fd.get(), client.outbox.data() + client.sent,
                                               client.outbox.size() - client.sent);
        if (put > 0) {
            client.sent += static_cast<std::size_t>(put);
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            loop_.setEvents(client.fd.get(), POLLOUT);  // the rest when the client reads
            return true;
        } else {
            drop(id, "connection failed while answering");
            return false;
        }
    }
    client.outbox.clear();
    client.sent = 0;
    if (client.closeWhenSent) {
        drop(id, "disconnected by the host");
        return false;
    }
    loop_.setEvents(client.fd.get(), POLLIN);
    return true;
}

void AutomationServer::drop(int id, const char* why) {
    auto it = clients_.find(id);
    if (it == clients_.end()) return;
    loop_.unwatch(it->second.fd.get());
    clients_.erase(it);
    if (trace_) trace_->event(id, why);
}

void AutomationServer::shutdown(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (auto it = clients_.begin(); it != clients_.end();) {
        Client& client = it->second;
        const int id = it->first;
        ++it;  // flush may drop this client
        while (!client.outbox.empty() && std::chrono::steady_clock::now() < deadline) {
            pollfd ready{client.fd.get(), POLLOUT, 0};
            if (systemCalls().poll(&ready, 1, 50) > 0 && !flush(id, client)) break;
        }
    }
    for (auto& [id, client] : clients_) loop_.unwatch(client.fd.get());
    clients_.clear();
    if (!listener_.empty()) {
        loop_.unwatch(listener_.fd());
        listener_.close();
    }
}

}  // namespace veltrano::ipc
