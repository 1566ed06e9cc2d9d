// The replay server's own logic: reading mbhost traces and playing them back strictly.
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "replay/replay_host.h"
#include "support/trace/trace.h"

namespace veltrano::replay {
namespace {

std::vector<TraceStep> read(const std::string& text, std::optional<int> client = std::nullopt) {
    std::istringstream in(text);
    return readTrace(in, "t.jsonl", client);
}

std::string readError(const std::string& text) {
    try {
        read(text);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no error";
}

TEST(replay_trace, skips_events_refused_frames_blank_lines_and_other_clients) {
    const auto steps = read(
        "{\"client\":1,\"event\":\"connected\"}\n\n   \r\n"
        "{\"client\":1,\"member\":\"??\",\"argument\":\"\",\"refused\":\"malformed frame\"}\n"
        "{\"client\":2,\"member\":\"Eval\",\"argument\":\"1\",\"answer\":\"1\"}\n"
        "{\"client\":1,\"member\":\"Eval\",\"argument\":\"2\",\"answer\":\"2\"}\n",
        1);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].argument, "2");
    EXPECT_EQ(steps[0].line, 6);
}

TEST(replay_trace, refuses_malformed_lines_naming_file_and_line) {
    const std::pair<const char*, const char*> rows[] = {
        {"{\"member\":\"Eval\",\"answer\":\"1\"}\n{\"member\":", "t.jsonl line 2: "},
        {"{\"argument\":\"1\"}", "t.jsonl line 1: no \"member\""},
        {R"({"member":"Do","answer":"","error":{}})",
         "t.jsonl line 1: both \"answer\" and \"error\""},
        {"[1,2]", "t.jsonl line 1: not a JSON object"},
        {R"({"member":"Do","error":{"code":1.5}})",
         "t.jsonl line 1: error code is not a 32-bit whole number"},
        {R"({"member":"Do","client":"1"})", "t.jsonl line 1: client is not a 32-bit whole number"},
    };
    for (const auto& [line, error] : rows) EXPECT_EQ(readError(line).rfind(error, 0), 0u) << line;
}

TEST(replay_host, answers_the_traffic_in_recorded_order_only) {
    ReplayHost host(
        read("{\"member\":\"Eval\",\"argument\":\"WindowId(1)\",\"answer\":\"one\"}\n"
             "{\"member\":\"Do\",\"argument\":\"x\",\"answer\":\"\"}\n"));
    const Reply wrongOrder = host.request("Do", "x");
    EXPECT_EQ(wrongOrder.kind, Reply::Kind::Unexpected);
    EXPECT_EQ(wrongOrder.text,
              "unexpected request Do(\"x\"); trace line 1 expects Eval(\"WindowId(1)\")");
    EXPECT_EQ(host.request("Eval", "WindowId(1) ").kind, Reply::Kind::Unexpected);
    EXPECT_EQ(host.request("Eval", "windowid(1)").kind, Reply::Kind::Unexpected);
    EXPECT_EQ(host.request("Eval", "WindowId(1)").text, "one");
    EXPECT_EQ(host.request("Do", "x").kind, Reply::Kind::Value);
    EXPECT_TRUE(host.finished());
    EXPECT_EQ(host.request("Eval", "1").kind, Reply::Kind::Unexpected);
    EXPECT_TRUE(host.sawUnexpected());
    EXPECT_EQ(host.firstProblem(), wrongOrder.text);
}

}  // namespace
}  // namespace veltrano::replay
