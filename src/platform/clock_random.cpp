#include "platform/clock_random.h"

#include <chrono>
#include <cstring>

namespace veltrano {

double Lcg24Random::next() {
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & kMask;
    return static_cast<double>(state_) / 16777216.0;
}

void Lcg24Random::reseed(double seed) {
    // Fold every bit of the double into the state, so nearby seeds give different sequences.
    std::uint64_t bits = 0;
    std::memcpy(&bits, &seed, sizeof bits);
    const auto folded = static_cast<std::uint32_t>(bits ^ (bits >> 24) ^ (bits >> 48));
    state_ = (state_ ^ folded) & kMask;
}

namespace {
class SystemTimer final : public TimerPort {
public:
    double secondsSinceMidnight() override {
        using namespace std::chrono;
        const auto now = system_clock::now();
        const auto midnight = floor<days>(now);
        return duration<double>(now - midnight).count();
    }
};
}  // namespace

RandomSource& processRandom() {
    static Lcg24Random generator;
    return generator;
}

TimerPort& systemTimer() {
    static SystemTimer timer;
    return timer;
}

}  // namespace veltrano
