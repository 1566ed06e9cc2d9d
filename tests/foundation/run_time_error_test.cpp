#include "foundation/run_time_error.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(run_time_error, standard_numbers_have_readable_descriptions_and_the_pending_one_clears) {
    for (auto n :
         {err::kOverflow, err::kSubscriptOutOfRange, err::kDivisionByZero, err::kTypeMismatch,
          err::kNoRunningCopy, err::kHostGone, err::kAutomationFailure}) {
        EXPECT_FALSE(RunTimeError(n).description().empty()) << n;
    }
    EXPECT_EQ(RunTimeError(err::kHostGone, "gone", "src").description(), "gone");
    LastError::set(RunTimeError(err::kTypeMismatch, {}, "Form1"));
    ASSERT_TRUE(LastError::current());
    EXPECT_EQ(LastError::current()->number(), err::kTypeMismatch);
    EXPECT_EQ(LastError::current()->source(), "Form1");
    LastError::clear();
    EXPECT_FALSE(LastError::current());
}

}  // namespace
}  // namespace veltrano
