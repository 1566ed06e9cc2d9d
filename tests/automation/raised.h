// What a call raised or threw, so that a test expecting an error states it in one line.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "foundation/run_time_error.h"

namespace veltrano::testing {

struct Raised {
    std::int32_t number = 0;  // 0: the call raised nothing
    std::string description;
    std::string source;
};

inline Raised raisedBy(const std::function<void()>& call) {
    try {
        call();
    } catch (const RunTimeError& e) {
        return {e.number(), e.description(), e.source()};
    }
    return {};
}

inline std::int32_t errorNumberOf(const std::function<void()>& call) {
    return raisedBy(call).number;
}

// What a call threw as E; "done" when it threw nothing.
template <typename E = std::runtime_error>
std::string whatOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return "done";
}

}  // namespace veltrano::testing
