// Which cores the bench and the host processes it starts run on (the cost of a round trip
// depends above all on whether the two ends share a core), and which host program it starts.
#pragma once

#include <sched.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace veltrano::bench {

// The cores this process may run on, as the machine and any outer limit allow.
inline std::vector<int> allowedCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    std::vector<int> cores;
    if (::sched_getaffinity(0, sizeof(set), &set) != 0) return cores;
    for (int core = 0; core < CPU_SETSIZE; ++core) {
        if (CPU_ISSET(core, &set)) cores.push_back(core);
    }
    return cores;
}

// Binds the calling thread, and every process it starts from now on, to one core.
inline bool pinTo(int core) {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(core, &set);
    return ::sched_setaffinity(0, sizeof(set), &set) == 0;
}

// Runs start() with the calling thread on core, so that the process it starts inherits the
// core, and returns to home afterwards.
template <typename Start>
auto startOnCore(int core, int home, Start start) {
    pinTo(core);
    struct Home {
        int core;
        ~Home() { pinTo(core); }
    } back{home};
    return start();
}

// The mbhost program to measure: VELTRANO_BENCH_MBHOST when set (to set another build's host
// against this one), else the one built beside the bench.
inline std::string benchedMbhost(const char* built) {
    const char* chosen = std::getenv("VELTRANO_BENCH_MBHOST");
    return chosen && *chosen ? chosen : built;
}

}  // namespace veltrano::bench
