// The MapBasic window: statements typed on standard input, run one per line between the
// requests of socket clients, from the same loop.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "automation/socket/poll_loop.h"
#include "host/automation.h"

namespace mbhost::app {

class Console {
public:
    virtual ~Console() = default;

    // Reads standard input from loop: with line editing when it is a terminal and libedit is
    // there, plainly otherwise. Each statement runs on host; failures print on out as
    // "Error N: message". closed() is called once standard input ends.
    static std::unique_ptr<Console> start(veltrano::ipc::PollLoop& loop, veltrano::Automation& host,
                                          std::ostream& out, std::function<void()> closed);

protected:
    Console(veltrano::Automation& host, std::ostream& out) : host_(host), out_(out) {}
    void handleLine(const std::string& line);

private:
    veltrano::Automation& host_;
    std::ostream& out_;
};

}  // namespace mbhost::app
