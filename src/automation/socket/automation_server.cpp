#include "automation/socket/automation_server.h"

#include <poll.h>
#include <sys/timerfd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "automation/socket/dispatch.h"
#include "automation/socket/message.h"
#include "automation/socket/peer_credentials.h"
#include "automation/socket/system_calls.h"

namespace veltrano::ipc {
namespace {

using std::chrono::milliseconds;

// Looks often enough that a stalled frame or an unread answer outlives its time by a quarter
// at most.
FileDescriptor startFrameTimer(milliseconds frameTimeout) {
    const milliseconds period = std::clamp(frameTimeout / 4, milliseconds(10), milliseconds(1000));
    FileDescriptor timer(systemCalls().timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC));
    itimerspec ticks{};
    ticks.it_interval.tv_sec = static_cast<time_t>(period.count() / 1000);
    ticks.it_interval.tv_nsec = static_cast<long>(period.count() % 1000) * 1000000L;
    ticks.it_value = ticks.it_interval;
    if (timer.empty() || systemCalls().timerfd_settime(timer.get(), &ticks) != 0) {
        throw std::runtime_error(std::string("cannot make the frame timer: ") +
                                 std::strerror(errno));
    }
    return timer;
}

std::string durationText(milliseconds duration) {
    if (duration.count() % 1000 == 0) return std::to_string(duration.count() / 1000) + " s";
    return std::to_string(duration.count()) + " ms";
}

// Said once, without waiting: the socket is new or idle, so a few bytes always fit.
void sendRefusal(int fd, const std::string& reason) {
    const std::string frame = encodeFrame(encodeAnswer(Answer::refused(reason)));
    [[maybe_unused]] const ssize_t put = systemCalls().send(fd, frame.data(), frame.size());
}

// Keeps a client posted while its request runs; collects what must precede the answer.
class KeptAlive {
public:
    KeptAlive(KeepAlive& keepAlive, int fd, std::string& tail)
        : keepAlive_(keepAlive), tail_(tail) {
        keepAlive_.start(fd);
    }
    ~KeptAlive() { tail_ = keepAlive_.finish(); }
    KeptAlive(const KeptAlive&) = delete;
    KeptAlive& operator=(const KeptAlive&) = delete;

private:
    KeepAlive& keepAlive_;
    std::string& tail_;
};

}  // namespace

AutomationServer::AutomationServer(Automation& host, PollLoop& loop, SocketListener listener,
                                   RequestTrace* trace, ServerLimits limits)
    : host_(host),
      loop_(loop),
      listener_(std::move(listener)),
      trace_(trace),
      limits_(limits),
      keepAlive_(limits.keepAliveInterval),
      frameTimer_(startFrameTimer(limits.frameTimeout)) {
    loop_.watch(listener_.fd(), POLLIN, [this](short) { acceptClients(); });
    loop_.watch(frameTimer_.get(), POLLIN, [this](short) { dropStalledClients(); });
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
        const auto peer = peerCredentials(fd.get());
        const pid_t pid = peer ? peer->pid : 0;
        if (!makeRoom(id, fd.get(), pid)) continue;
        const int raw = fd.get();
        Client& client = clients_[id];
        client.fd = std::move(fd);
        client.pid = pid;
        client.lastActive = Clock::now();
        loop_.watch(raw, POLLIN, [this, id](short revents) { onClientEvent(id, revents); });
        if (trace_) trace_->event(id, "connected");
    }
}

bool AutomationServer::makeRoom(int id, int fd, pid_t pid) {
    const Admission admission = admit(held(), pid, limits_);
    if (admission.closeFirst != 0) refuseAndDrop(admission.closeFirst, admission.reason);
    if (admission.taken) return true;
    sendRefusal(fd, admission.reason);
    if (trace_) trace_->event(id, "turned away: " + admission.reason);
    return false;
}

std::vector<HeldConnection> AutomationServer::held() const {
    std::vector<HeldConnection> connections;
    connections.reserve(clients_.size());
    for (const auto& [id, client] : clients_) {
        connections.push_back({id, client.pid, !client.outbox.empty(), client.lastActive});
    }
    return connections;
}

void AutomationServer::refuseAndDrop(int id, const std::string& reason) {
    const Client& client = clients_.at(id);
    if (client.outbox.empty()) sendRefusal(client.fd.get(), reason);
    drop(id, "closed: " + reason);
}

void AutomationServer::dropStalledClients() {
    std::uint64_t expirations = 0;
    [[maybe_unused]] const ssize_t got =
        systemCalls().read(frameTimer_.get(), &expirations, sizeof(expirations));
    const auto now = Clock::now();
    const auto expired = [&](const std::optional<Clock::time_point>& since) {
        return since && now - *since >= limits_.frameTimeout;
    };
    const std::string timeout = durationText(limits_.frameTimeout);
    std::vector<std::pair<int, std::string>> stalled;
    for (const auto& [id, client] : clients_) {
        if (client.outbox.empty() && expired(client.frameStarted)) {
            stalled.emplace_back(id, "a frame stayed incomplete for " + timeout);
        } else if (!client.outbox.empty() && expired(client.unreadSince)) {
            stalled.emplace_back(id, "an answer stayed unread for " + timeout);
        }
    }
    for (const auto& [id, why] : stalled) refuseAndDrop(id, why);
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
        client.lastActive = Clock::now();
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
            client.frameStarted.reset();
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
            return;
        }
        if (client.reader.pending() > 0 && !client.frameStarted) client.frameStarted = Clock::now();
        return;
    }
}

void AutomationServer::answer(int id, Client& client, const std::string& payload) {
    Answer reply;
    std::string member;
    std::string argument;
    std::string keepAliveTail;
    try {
        const Request request = decodeRequest(payload);
        member = memberName(request.member);
        argument = request.argument;
        const KeptAlive posted(keepAlive_, client.fd.get(), keepAliveTail);
        reply = dispatch(host_, request);
    } catch (const ProtocolError& error) {
        reply = Answer::refused(std::string("malformed request: ") + error.what());
    }
    if (trace_) trace_->record(id, member, argument, reply);
    queue(client, reply, std::move(keepAliveTail));
    client.lastActive = Clock::now();
}

void AutomationServer::queue(Client& client, const Answer& answer, std::string before) {
    client.outbox = std::move(before) + encodeFrame(encodeAnswer(answer));
    client.sent = 0;
}

bool AutomationServer::flush(int id, Client& client) {
    while (client.sent < client.outbox.size()) {
        const ssize_t put = systemCalls().send(client.fd.get(), client.outbox.data() + client.sent,
                                               client.outbox.size() - client.sent);
        if (put > 0) {
            client.sent += static_cast<std::size_t>(put);
            client.lastActive = Clock::now();
            client.unreadSince.reset();  // a slow reader is not a deaf one
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!client.unreadSince) client.unreadSince = Clock::now();
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

void AutomationServer::drop(int id, const std::string& why) {
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
    loop_.unwatch(frameTimer_.get());
    if (!listener_.empty()) {
        loop_.unwatch(listener_.fd());
        listener_.close();
    }
}

}  // namespace veltrano::ipc
