// Random digits for the names of temporary host variables.
#pragma once

#include <string>
#include <string_view>

#include "platform/clock_random.h"

namespace veltrano {

// At least 12 decimal digits, drawn from random; random is seeded from the timer first and
// re-seeded twice, so every call changes what later users of the generator see.
std::string getRandomDigits(RandomSource& random, TimerPort& timer);
// The same on the process's generator and the system timer.
std::string getRandomDigits();

// "qzv" followed by digits' second to seventh characters (fewer for a text of 8 or less).
std::string temporaryVariableName(std::string_view digits);

}  // namespace veltrano
