// SIGINT and SIGTERM during a file run: noted, not obeyed at once, so that the run can stop
// where nothing is half written and leave no output behind. Where the run cannot look (GDAL
// finishing a file), a watching thread abandons the writes not yet decided instead.
#pragma once

#include <atomic>
#include <ostream>
#include <string>
#include <thread>

namespace veltrano::batch {

// Catches both signals for its lifetime; the previous handlers come back after. An
// interruption the run has not answered within half a second ends the process with 130 and
// report said, its undecided writes removed (mbhost's write_interruption.h); once a commit
// has begun, the run is left to finish.
class InterruptionWatch {
public:
    InterruptionWatch(std::ostream& err, std::string report);
    ~InterruptionWatch();
    InterruptionWatch(const InterruptionWatch&) = delete;
    InterruptionWatch& operator=(const InterruptionWatch&) = delete;

    static bool requested();
    // Says report on err unless it was said already.
    void answer() const;

private:
    void watch();

    std::ostream& err_;
    std::string report_;
    std::atomic<bool> ended_{false};
    std::thread watcher_;
};

}  // namespace veltrano::batch
