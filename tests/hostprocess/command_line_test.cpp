#include <sstream>

#include <gtest/gtest.h>

#include "attach_command.h"
#include "options.h"
#include "statement_runner.h"
#include "support/scripted_automation.h"

namespace mbhost::app {
namespace {

using veltrano::testing::ScriptedAutomation;

std::string usageError(const std::vector<std::string>& arguments) {
    try {
        parseOptions(arguments);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "accepted";
}

TEST(options, host_and_attach_forms) {
    const Options host =
        parseOptions({"--socket", "/tmp/s", "--trace", "t.jsonl", "--script", "demo/generate.mb",
                      "--script", "demo/startup.mb", "--console", "--frame-timeout", "0.25"});
    EXPECT_EQ(host.socketPath, "/tmp/s");
    EXPECT_EQ(host.frameTimeout, std::chrono::milliseconds(250));
    EXPECT_EQ(host.traceFile, "t.jsonl");
    EXPECT_EQ(host.scriptFiles, (std::vector<std::string>{"demo/generate.mb", "demo/startup.mb"}));
    EXPECT_TRUE(host.console);
    EXPECT_FALSE(host.attach);

    const Options attach = parseOptions({"--attach", "-x", "Dim a As Integer", "-e", "a + 1"});
    EXPECT_TRUE(attach.attach);
    EXPECT_EQ(attach.steps,
              (std::vector<AttachStep>{{AttachStep::Kind::Execute, "Dim a As Integer"},
                                       {AttachStep::Kind::Evaluate, "a + 1"}}));
}

TEST(options, wrong_command_lines_say_what_is_wrong) {
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

TEST(run_script, runs_each_statement_and_names_the_line_that_fails) {
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
}

TEST(run_script, stops_once_the_host_has_ended) {
    ScriptedAutomation host;
    bool ended = false;
    host.failWhen(
        [&](const veltrano::testing::Request& r) {
            if (r.argument == "End MapInfo") ended = true;
            return false;
        },
        0, "");
    std::istringstream script("Print 1\nEnd MapInfo\nPrint 2\n");
    std::ostringstream errors;
    EXPECT_TRUE(runScript(host, script, "s.mb", errors, [&] { return ended; }));
    EXPECT_EQ(host.traffic().size(), 2u);
    EXPECT_EQ(errors.str(), "");
}

TEST(run_statement, a_host_that_has_gone_is_reported_with_its_number) {
    ScriptedAutomation host;
    host.die();
    EXPECT_EQ(runStatement(host, "Print 1"),
              "Error 462: The remote server machine does not exist or is unavailable");
}

TEST(attach_command, with_no_host_running_fails_with_429) {
    Options options = parseOptions({"--attach", "--socket", "/nonexistent/dir/socket", "-e", "1"});
    std::ostringstream out, errors;
    EXPECT_EQ(runAttach(options, out, errors), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(errors.str().rfind("Error 429: no mbhost is running at /nonexistent/dir/socket", 0),
              0u)
        << errors.str();
}

}  // namespace
}  // namespace mbhost::app
