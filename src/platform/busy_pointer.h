// Port: the busy (hourglass) mouse pointer.
#pragma once

namespace veltrano {

// The hourglass mouse pointer over the application.
class BusyPointerPort {
public:
    virtual ~BusyPointerPort() = default;
    virtual void setBusy(bool busy) = 0;
};

// Shows the hourglass for the life of the scope, restoring the pointer on every path.
class BusyScope {
public:
    explicit BusyScope(BusyPointerPort& port) : port_(port) { port_.setBusy(true); }
    ~BusyScope() { port_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    BusyPointerPort& port_;
};

}  // namespace veltrano
