// A host object served on a temporary socket by a server running on its own thread, and a
// raw client that can send any bytes at all.
#pragma once

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "automation/socket/automation_server.h"
#include "automation/socket/file_descriptor.h"
#include "automation/socket/frame.h"
#include "automation/socket/message.h"
#include "automation/socket/poll_loop.h"
#include "host/automation.h"
#include "raised.h"
#include "support/temp_dir.h"

namespace veltrano::testing {

// Sets an environment variable (unsets it for nullptr) for its lifetime.
struct ScopedEnvironment {
    ScopedEnvironment(const char* name, const char* value);
    ~ScopedEnvironment();
    std::string name;
    std::optional<std::string> saved;
};

class ServedHost {
public:
    explicit ServedHost(Automation& host, bool traced = false, ipc::ServerLimits limits = {});
    ~ServedHost();  // stops the server thread
    const std::string& socketPath() const { return socketPath_; }
    // The trace lines written so far; read after stop().
    std::string trace() const { return trace_.str(); }
    void stop();

private:
    TempDir dir_;
    std::string socketPath_;
    std::ostringstream trace_;
    std::unique_ptr<ipc::JsonLinesTrace> traceSink_;
    ipc::PollLoop loop_;
    std::unique_ptr<ipc::AutomationServer> server_;
    std::thread thread_;
};

class RawClient {
public:
    explicit RawClient(const std::string& socketPath);  // fails the test when it cannot connect
    void send(std::string_view bytes);
    void sendRequest(const ipc::Request& request);
    // The next answer; nothing when the server closed the connection. Fails the test when
    // neither comes in 5 s.
    std::optional<ipc::Answer> receive();

private:
    ipc::FileDescriptor fd_;
    ipc::FrameReader reader_;
};

}  // namespace veltrano::testing
