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

TEST(replay_trace, reads_answers_and_failures_as_mbhost_writes_them) {
    const auto steps = read(
        R"({"time":"2026-12-06T08:00:00Z","client":3,"member":"Eval","argument":"2*2","answer":"4"})"
        "\n"
        R"({"time":"t","client":3,"member":"Do","argument":"Insert Into x","error":{"number":-2147352567,"code":405,"message":"No table x"}})"
        "\n");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].member, "Eval");
    EXPECT_EQ(steps[0].argument, "2*2");
    EXPECT_EQ(steps[0].answer, "4");
    EXPECT_EQ(steps[0].client, 3);
    EXPECT_FALSE(steps[0].failure);
    ASSERT_TRUE(steps[1].failure);
    EXPECT_EQ(steps[1].failure->number, static_cast<std::int32_t>(0x80020009u));
    EXPECT_EQ(steps[1].failure->code, 405);
    EXPECT_EQ(steps[1].failure->message, "No table x");
    EXPECT_EQ(steps[1].line, 2);
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

ReplayHost hostOf(const std::string& trace) {
    return ReplayHost(read(trace));
}

TEST(replay_host, answers_the_traffic_in_recorded_order_only) {
    auto host = hostOf(
        "{\"member\":\"Eval\",\"argument\":\"WindowId(1)\",\"answer\":\"one\"}\n"
        "{\"member\":\"Do\",\"argument\":\"x\",\"answer\":\"\"}\n");
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

TEST(replay_host, a_failure_sets_the_error_state_and_a_success_clears_it) {
    auto host = hostOf(
        R"({"member":"Do","argument":"bad","error":{"number":-2147352567,"code":311,"message":"Syntax"}})"
        "\n"
        R"({"member":"Eval","argument":"1","answer":"1"})");
    const Reply failure = host.request("Do", "bad");
    EXPECT_EQ(failure.kind, Reply::Kind::HostFailure);
    EXPECT_EQ(failure.text, "Syntax");
    EXPECT_EQ(host.lastErrorCode(), 311);
    EXPECT_EQ(host.lastErrorMessage(), "Syntax");
    host.setLastErrorCode(0);
    EXPECT_EQ(host.lastErrorCode(), 0);
    EXPECT_EQ(host.lastErrorMessage(), "");
    host.request("Eval", "1");
    EXPECT_EQ(host.lastErrorCode(), 0);
}

TEST(replay_host, state_and_descriptive_reads_are_not_traffic) {
    auto host = hostOf(
        "{\"member\":\"LastErrorCode\",\"argument\":\"\",\"answer\":\"0\"}\n"
        "{\"member\":\"Version\",\"argument\":\"\",\"answer\":\"1650\"}\n"
        "{\"member\":\"Eval\",\"argument\":\"1\",\"answer\":\"1\"}\n");
    EXPECT_EQ(host.remaining(), 1u);
    EXPECT_EQ(host.describe("Version").text, "1650");
    EXPECT_EQ(host.describe("Name").kind, Reply::Kind::Value);
    EXPECT_EQ(host.describe("Nonsense").kind, Reply::Kind::Unexpected);
}

}  // namespace
}  // namespace veltrano::replay
