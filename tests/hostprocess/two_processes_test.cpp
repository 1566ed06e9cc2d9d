// mbhost and its clients as separate processes.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "automation/socket/socket_automation_provider.h"
#include "mbhost_process.h"
#include "served_host.h"

namespace mbhost::testing {
namespace {

using veltrano::ipc::SocketAutomationProvider;
using veltrano::testing::RawClient;
using veltrano::testing::TempDir;

TEST(two_processes, clients_in_turn_or_fifty_at_once_share_one_workspace_and_its_trace) {
    TempDir dir;
    const std::string socket = dir.file("socket");
    MbhostProcess host({"--socket", socket, "--trace", dir.file("trace.jsonl")});
    ASSERT_TRUE(host.listensAt(socket));
    SocketAutomationProvider provider(socket, "/bin/false");
    auto first = provider.attachRunning();
    auto second = provider.attachRunning();
    first->Do("Dim shared As Integer");
    second->Do("shared = 41");
    EXPECT_EQ(first->Eval("shared + 1"), "42");
    std::vector<pid_t> clients;
    for (int id = 1; id <= 50; ++id) {
        if (const pid_t pid = ::fork()) {
            clients.push_back(pid);
            continue;
        }
        // Asks what only it knows the answer to; every fifth then dies, a request on its way.
        auto client = provider.attachRunning();
        int wrong = 0;
        for (int n = id * 1000; n < id * 1000 + 40; ++n) {
            wrong += client->Eval(std::to_string(n) + " - shared + 41") != std::to_string(n);
        }
        if (id % 5 == 0) RawClient(socket).sendRequest({veltrano::ipc::Member::Eval, "2*2"});
        ::_exit(wrong);
    }
    for (int status = -1; const pid_t pid : clients) {
        EXPECT_TRUE(::waitpid(pid, &status, 0) == pid && status == 0);
    }

    host.signal(SIGTERM);
    EXPECT_EQ(host.wait().status, 0);
    EXPECT_FALSE(std::filesystem::exists(socket));
    const std::string trace = readFile(dir.file("trace.jsonl"));
    EXPECT_NE(trace.find("\"argument\":\"shared = 41\",\"answer\":\"\""), std::string::npos);
}

TEST(two_processes, attach_reports_values_and_failures_past_a_hoarder_and_start_new_launches_one) {
    TempDir dir;
    const std::string socket = dir.file("socket");
    MbhostProcess host({"--socket", socket, "--frame-timeout", "1"});
    ASSERT_TRUE(host.listensAt(socket));
    const Finished second = runMbhost({"--socket", socket});
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err,
              "mbhost: cannot listen on " + socket + ": another mbhost is serving it\n");

    // This process hoards stalled connections; the one that attaches next is not held up.
    std::vector<std::unique_ptr<RawClient>> stalled;
    for (int i = 0; i < 64; ++i) {
        stalled.push_back(std::make_unique<RawClient>(socket));
        if (i < 32) stalled.back()->send(std::string("\x00\x00\x00\x10\x01\x04Ev", 8));
    }
    EXPECT_EQ(stalled[32]->receive(),
              veltrano::ipc::Answer::refused("too many connections from this process (32)"));
    const Finished done = runMbhost({"--attach", "--socket", socket, "-x", "Dim n As Integer", "-x",
                                     "n = 7", "-e", "n * 6", "-e", "Str$(n) + \"!\""});
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.out, "42\n7!\n");
    EXPECT_EQ(stalled[0]->receive(),
              veltrano::ipc::Answer::refused("a frame stayed incomplete for 1 s"));

    const Finished failed =
        runMbhost({"--attach", "--socket", socket, "-e", "n", "-x", "Inset n", "-e", "n"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "7\n");
    EXPECT_NE(failed.err.find("Error "), std::string::npos);
    EXPECT_NE(failed.err.find("Inset"), std::string::npos) << failed.err;

    const Finished ended = runMbhost({"--attach", "--socket", socket, "-x", "End MapInfo"});
    EXPECT_EQ(ended.status, 0);
    EXPECT_EQ(host.wait().status, 0);
    EXPECT_FALSE(std::filesystem::exists(socket));

    const Finished nobody = runMbhost({"--attach", "--socket", socket, "-e", "1"});
    EXPECT_EQ(nobody.status, 1);
    EXPECT_EQ(nobody.err.rfind("Error 429: no mbhost is running at " + socket, 0), 0u)
        << nobody.err;

    SocketAutomationProvider provider(socket, MBHOST_PROGRAM_PATH);  // in the background
    auto started = provider.startNew();
    EXPECT_EQ(started->Eval("2*2"), "4");
    EXPECT_EQ(provider.attachRunning()->Eval("5-1"), "4");
    started->Do("End MapInfo");
    for (int i = 0; i < 500 && std::filesystem::exists(socket); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(std::filesystem::exists(socket));
}

TEST(two_processes, script_and_console_print_stop_or_go_on_after_a_failing_line_and_end_the_host) {
    TempDir dir;
    const std::string bad = dir.file("bad.mb");
    std::ofstream(bad) << "' set up\nPrint 6*7\n\nPrint \"x\" +\nPrint \"never\"\n";
    const Finished failed = runMbhost({"--socket", dir.file("s1"), "--script", bad});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "42\n");
    EXPECT_EQ(failed.err.rfind(bad + ", line 4: Error ", 0), 0u) << failed.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("s1")));

    const std::string good = dir.file("good.mb");
    std::ofstream(good) << "Print \"Дорога\"\nEnd MapInfo\nPrint \"never\"\n";
    const Finished ended = runMbhost({"--socket", dir.file("s2"), "--script", good});
    EXPECT_EQ(ended.status, 0) << ended.err;
    EXPECT_EQ(ended.out, "Дорога\n");

    const Finished missing = runMbhost({"--socket", dir.file("s3"), "--script", dir.file("no.mb")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read the script"), std::string::npos);

    const Finished typed = runMbhost({"--socket", dir.file("s4"), "--console"},
                                     "Dim a As Float\na = 1.5\nPrint a * 2\nPrnt a\nPrint a\n");
    EXPECT_EQ(typed.status, 0);
    EXPECT_EQ(typed.out.substr(0, 2), "3\n");
    EXPECT_NE(typed.out.find("\nError "), std::string::npos) << typed.out;
    EXPECT_EQ(typed.out.substr(typed.out.size() - 4), "1.5\n");
}

}  // namespace
}  // namespace mbhost::testing
