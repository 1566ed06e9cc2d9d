// How long, and when, each end of the socket keeps looking for its peer's next frame before
// it sleeps.
#pragma once

#include <chrono>

namespace veltrano::ipc {

// Waking a sleeping peer on another core costs 50-60 µs a round trip, several times the work
// of a typical request, and most answers (and a client's next request) follow within a few
// tens of µs. Looking for this long after sending (the client) or after serving (the host)
// catches them without the sleep; past it an idle end sleeps in poll and uses no CPU. Kept
// well under 100 µs so that a quiet host costs nothing measurable.
inline constexpr std::chrono::microseconds kSpinBudget{50};

// Looking pays only while the peer runs on another core: on the same core it keeps the peer
// from running until the budget is spent. So each end notes whether its looks catch anything
// and, once several in a row have not, looks only now and then, to learn whether it would
// pay again (the scheduler may have moved one end). Yielding the core instead would let any
// busy process on it run a whole time slice before the answer is read.
class SpinPolicy {
public:
    bool worthLooking() { return trust_ > 0 || ++sinceProbe_ % kProbeEvery == 0; }
    void looked(bool caught) { trust_ = caught ? kTrust : (trust_ > 0 ? trust_ - 1 : 0); }

private:
    static constexpr int kTrust = 8;             // misses in a row before looking stops
    static constexpr unsigned kProbeEvery = 64;  // a look now and then costs under 1 µs a wait
    int trust_ = kTrust;
    unsigned sinceProbe_ = 0;
};

}  // namespace veltrano::ipc
