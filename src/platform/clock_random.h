// Ports: the system timer and the random source, with the process's own adapters.
#pragma once

#include <cstdint>

namespace veltrano {

// The system timer: seconds since midnight, with a fraction.
class TimerPort {
public:
    virtual ~TimerPort() = default;
    virtual double secondsSinceMidnight() = 0;
};

// A uniform generator of single-precision resolution: draws lie in [0, 1) and are
// multiples of 2^-24. Re-seeding from a number makes the following draws depend on it.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;
    virtual void reseed(double seed) = 0;
};

// The classic 24-bit linear congruential generator of desktop BASICs.
class Lcg24Random final : public RandomSource {
public:
    explicit Lcg24Random(std::uint32_t state = 0x50000u) : state_(state & kMask) {}
    double next() override;
    void reseed(double seed) override;

private:
    static constexpr std::uint32_t kMask = 0xFFFFFFu;
    std::uint32_t state_;
};

// The process's own generator and the real clock.
RandomSource& processRandom();
TimerPort& systemTimer();

}  // namespace veltrano
