#include <sstream>

#include <gtest/gtest.h>

#include "automation/raised.h"
#include "options.h"
#include "statement_runner.h"
#include "support/scripted_automation.h"

namespace mbhost::app {
namespace {

using veltrano::testing::ScriptedAutomation;

// The other options meet the mbhost program itself in two_processes_test.cpp.
TEST(options, a_frame_time_out_takes_fractions_and_wrong_command_lines_say_what_is_wrong) {
    EXPECT_TRUE(parseOptions({"--version"}).version);
    EXPECT_EQ(parseOptions({"--frame-timeout", "0.25"}).frameTimeout,
              std::chrono::milliseconds(250));
    const auto usageError = [](const std::vector<std::string>& arguments) {
        return veltrano::testing::whatOf<UsageError>([&] { parseOptions(arguments); });
    };
    EXPECT_EQ(usageError({"--socket"}), "--socket needs a value");
    EXPECT_EQ(usageError({"--frobnicate"}), "unknown argument --frobnicate");
    EXPECT_EQ(usageError({"--attach"}), "--attach needs at least one -e or -x");
    EXPECT_EQ(usageError({"-e", "1"}), "-e and -x need --attach");
    EXPECT_EQ(usageError({"--attach", "--script", "s.mb", "-e", "1"}),
              "--attach takes only --socket, -e and -x");
    EXPECT_EQ(usageError({"--frame-timeout", "0"}),
              "--frame-timeout needs a number of seconds from 0.001 to 86400, not \"0\"");
}

TEST(statement_of, drops_comments_outside_strings_and_blanks) {
    for (const auto& [line, statement] :
         {std::pair{"  Open Table \"roads.tab\"   ' the roads", "Open Table \"roads.tab\""},
          {"Print \"it's\" ' said", "Print \"it's\""},
          {"Print \"say \"\"hi\"\"\" ' quoted quotes", "Print \"say \"\"hi\"\"\""},
          {"   ' only a comment", ""},
          {"\t\r", ""}}) {
        EXPECT_EQ(statementOf(line), statement);
    }
}

TEST(run_script, runs_each_statement_and_names_the_line_that_fails_or_the_host_gone) {
    ScriptedAutomation host;
    host.fail("Inset Into t", 17, "Unrecognized command: Inset");
    std::istringstream script(
        "' start-up\n"
        "Dim a As Integer\n"
        "\n"
        "Inset Into t   ' a typo\n"
        "Print a\n");
    std::ostringstream errors;
    EXPECT_FALSE(runScript(host, script, "startup.mb", errors, [] { return false; }));
    EXPECT_EQ(errors.str(), "startup.mb, line 4: Error 17: Unrecognized command: Inset\n");
    EXPECT_EQ(host.traffic(), (std::vector<veltrano::testing::Request>{{"Do", "Dim a As Integer"},
                                                                       {"Do", "Inset Into t"}}));
    host.die();
    EXPECT_EQ(runStatement(host, "Print 1"),
              "Error 462: The remote server machine does not exist or is unavailable");
}

}  // namespace
}  // namespace mbhost::app
