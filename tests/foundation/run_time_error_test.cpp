#include "foundation/run_time_error.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

// What the program shows is "<number>: <description>": no standard number may show bare.
TEST(run_time_error, standard_numbers_have_readable_descriptions) {
    for (auto n :
         {err::kOverflow, err::kSubscriptOutOfRange, err::kDivisionByZero, err::kTypeMismatch,
          err::kNoRunningCopy, err::kHostGone, err::kAutomationFailure}) {
        EXPECT_FALSE(RunTimeError(n).description().empty()) << n;
    }
}

}  // namespace
}  // namespace veltrano
