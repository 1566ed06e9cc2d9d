#include "batch_options.h"

#include <gtest/gtest.h>

namespace veltrano::batch {
namespace {

// points|output|file|flags (e: from the end, h: help, v: version), or the error.
std::string shown(const ParsedOptions& parsed) {
    if (!parsed.options) return "error: " + parsed.error;
    const Options& o = *parsed.options;
    return o.points + "|" + o.outputTable + "|" + o.pointsFile.value_or("") + "|" +
           (o.fromTheEnd ? "e" : "") + (o.help ? "h" : "") + (o.version ? "v" : "");
}

TEST(batch_options, values_joined_or_apart_flags_and_refusals_with_a_reason) {
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"--points", "100;250.5", "--output", "Placed", "--from-end"}, "100;250.5|Placed||e"},
        {{"--output=Placed", "--points=10"}, "10|Placed||"},
        {{"--points-file", "-", "--output", "T"}, "|T|-|"},
        {{"--points", "", "--output", ""}, "|||"},  // left for the dialog to refuse
        {{"--help"}, "|||h"},
        {{"--version"}, "|||v"},
        {{"--points", "10"}, "error: --output is missing"},
        {{"--output", "T"}, "error: --points or --points-file is missing"},
        {{"--points=1", "--points-file=-", "--output=T"},
         "error: --points and --points-file exclude each other"},
        {{"--points"}, "error: --points needs a value"},
        {{"--points", "1", "--output", "T", "-x"}, "error: unknown option -x"},
        {{"--evry", "1000"}, "error: unknown option --evry; did you mean --every?"},
        {{"--output=T", "--point=5"}, "error: unknown option --point; did you mean --points?"},
        {{"--fromend"}, "error: unknown option --fromend; did you mean --from-end?"},
        {{"--points", "1", "T"}, "error: unexpected argument T"},
    };
    for (const auto& [arguments, expected] : rows) {
        EXPECT_EQ(shown(parseOptions(arguments)), expected) << arguments.front();
    }
}

}  // namespace
}  // namespace veltrano::batch
