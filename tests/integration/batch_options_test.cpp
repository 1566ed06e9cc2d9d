#include "batch_options.h"

#include <gtest/gtest.h>

namespace veltrano::batch {
namespace {

TEST(batch_options, points_output_and_from_end) {
    const auto parsed = parseOptions({"--points", "100;250.5", "--output", "Placed", "--from-end"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->points, "100;250.5");
    EXPECT_EQ(parsed.options->outputTable, "Placed");
    EXPECT_TRUE(parsed.options->fromTheEnd);

    const auto joined = parseOptions({"--output=Placed", "--points=10"});
    ASSERT_TRUE(joined.options) << joined.error;
    EXPECT_EQ(joined.options->points, "10");
    EXPECT_FALSE(joined.options->fromTheEnd);
}

TEST(batch_options, empty_values_are_passed_on_for_the_dialog_to_refuse) {
    const auto parsed = parseOptions({"--points", "", "--output", ""});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->points, "");
}

TEST(batch_options, missing_or_unknown_arguments_are_refused_with_a_reason) {
    EXPECT_EQ(parseOptions({"--points", "10"}).error, "--output is missing");
    EXPECT_EQ(parseOptions({"--output", "T"}).error, "--points or --points-file is missing");
    EXPECT_EQ(parseOptions({"--points=1", "--points-file=-", "--output=T"}).error,
              "--points and --points-file exclude each other");
    EXPECT_EQ(parseOptions({"--points"}).error, "--points needs a value");
    EXPECT_EQ(parseOptions({"--points", "1", "--output", "T", "-x"}).error, "unknown argument: -x");
    EXPECT_TRUE(parseOptions({"--help"}).options->help);
    EXPECT_TRUE(parseOptions({"--version"}).options->version);
}

}  // namespace
}  // namespace veltrano::batch
