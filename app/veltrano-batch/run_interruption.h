// SIGINT and SIGTERM during a file run: noted, not obeyed at once, so that the run can stop
// where nothing is half written and leave no output behind.
#pragma once

namespace veltrano::batch {

// Catches both signals for its lifetime; the previous handlers come back after.
class InterruptionWatch {
public:
    InterruptionWatch();
    ~InterruptionWatch();
    InterruptionWatch(const InterruptionWatch&) = delete;
    InterruptionWatch& operator=(const InterruptionWatch&) = delete;

    static bool requested();
};

}  // namespace veltrano::batch
