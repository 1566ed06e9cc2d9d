// The automation interface implemented directly on an mbhost workspace in this process: for
// tests, benchmarks and embedding. A host failure raises RunTimeError(kAutomationFailure)
// with the host's message, and LastErrorCode() then holds the host's number.
#pragma once

#include <memory>

#include "host/automation.h"
#include "mbhost/host.h"

namespace veltrano {

class InProcessAutomation : public Automation {
public:
    // A fresh workspace of its own.
    InProcessAutomation();
    // Shares `host` (a test can set up and inspect the same workspace).
    explicit InProcessAutomation(std::shared_ptr<mbhost::Host> host);

    mbhost::Host& host() { return *host_; }
    const std::shared_ptr<mbhost::Host>& sharedHost() const { return host_; }

    VELTRANO_AUTOMATION_MEMBERS(VELTRANO_AUTOMATION_OVERRIDE)

private:
    std::shared_ptr<mbhost::Host> host_;
};

// Hands out one in-process host: attachRunning answers it while `running` is true (else
// raises err::kNoRunningCopy, as when no host runs), startNew makes it run.
class InProcessProvider : public AutomationProvider {
public:
    explicit InProcessProvider(std::shared_ptr<InProcessAutomation> automation, bool running = true)
        : automation_(std::move(automation)), running_(running) {}
    AutomationPtr attachRunning() override;
    AutomationPtr startNew() override;
    void setRunning(bool running) { running_ = running; }

private:
    std::shared_ptr<InProcessAutomation> automation_;
    bool running_;
};

}  // namespace veltrano
