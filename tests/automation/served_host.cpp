#include "served_host.h"

#include <sys/socket.h>
#include <sys/time.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "automation/socket/frame.h"
#include "automation/socket/unix_socket.h"

namespace veltrano::testing {

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name(name) {
    if (const char* old = std::getenv(name)) saved = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment() {
    saved ? ::setenv(name.c_str(), saved->c_str(), 1) : ::unsetenv(name.c_str());
}

ServedHost::ServedHost(Automation& host, bool traced, ipc::ServerLimits limits)
    : socketPath_(dir_.file("socket")) {
    if (traced) traceSink_ = std::make_unique<ipc::JsonLinesTrace>(trace_);
    server_ = std::make_unique<ipc::AutomationServer>(
        host, loop_, ipc::SocketListener::listenAt(socketPath_), traceSink_.get(), limits);
    thread_ = std::thread([this] { loop_.run(); });
}

ServedHost::~ServedHost() {
    stop();
}

void ServedHost::stop() {
    if (!thread_.joinable()) return;
    loop_.stop();
    thread_.join();
    // Events already in the kernel (a client that has just gone) are handled before the end,
    // now on this thread.
    loop_.reset();
    for (int round = 0; round < 3; ++round) loop_.runOnce(20);
    server_.reset();
}

RawClient::RawClient(const std::string& socketPath) : fd_(ipc::connectTo(socketPath)) {
    EXPECT_FALSE(fd_.empty()) << "cannot connect to " << socketPath;
    timeval limit{5, 0};
    ::setsockopt(fd_.get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
}

void RawClient::send(std::string_view bytes) {
    ASSERT_EQ(::send(fd_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
}

void RawClient::sendRequest(const ipc::Request& request) {
    send(ipc::encodeFrame(ipc::encodeRequest(request)));
}

std::optional<ipc::Answer> RawClient::receive() {
    char buffer[4096];
    for (;;) {
        if (auto payload = reader_.next()) return ipc::decodeAnswer(*payload);
        const ssize_t got = ::recv(fd_.get(), buffer, sizeof(buffer), 0);
        if (got == 0 || (got < 0 && errno == ECONNRESET)) return std::nullopt;
        if (got < 0) {
            ADD_FAILURE() << "the server neither answered nor closed the connection in 5 s";
            return std::nullopt;
        }
        reader_.append(std::string_view(buffer, static_cast<std::size_t>(got)));
    }
}

}  // namespace veltrano::testing
