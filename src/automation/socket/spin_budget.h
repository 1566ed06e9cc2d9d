// How long each end of the socket keeps looking for its peer's next frame before it sleeps.
#pragma once

#include <sched.h>

#include <chrono>

namespace veltrano::ipc {

// Waking a sleeping peer on another core costs 50-60 µs a round trip, several times the work
// of a typical request, and most answers (and a client's next request) follow within a few
// tens of µs. Looking, while yielding the core, for this long after sending (the client) or
// after serving (the host) catches them without the sleep; past it an idle end sleeps in poll
// and uses no CPU. Kept well under 100 µs so that a quiet host costs nothing measurable.
inline constexpr std::chrono::microseconds kSpinBudget{50};

// Lets another thread on this core run (the peer, when both share one) between two looks.
inline void yieldCore() noexcept {
    ::sched_yield();
}

}  // namespace veltrano::ipc
