#include <sys/socket.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "automation/socket/frame.h"
#include "automation/socket/socket_automation.h"
#include "automation/socket/socket_connection.h"
#include "automation/socket/socket_path.h"
#include "automation/socket/unix_socket.h"
#include "foundation/run_time_error.h"
#include "served_host.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {
namespace {

using ipc::Answer;
using ipc::Member;

ipc::SocketAutomation attach(const std::string& path) {
    return ipc::SocketAutomation(ipc::SocketConnection::open(path));
}

TEST(automation_server, garbage_is_refused_and_a_huge_length_disconnected_while_others_go_on) {
    ScriptedAutomation host;
    ServedHost served(host);
    RawClient rogue(served.socketPath()), huge(served.socketPath());
    huge.send(std::string("\xFF\xFF\xFF\xF0", 4));
    EXPECT_EQ(huge.receive(),
              Answer::refused("a frame of 4294967280 bytes exceeds the limit of 1048576"));
    EXPECT_EQ(huge.receive(), std::nullopt);
    // Pipelined: both frames in one write, answered in order.
    rogue.send(ipc::encodeFrame("\x01\x05Shout now") +
               ipc::encodeFrame(ipc::encodeRequest({Member::Eval, "2*2"})));
    EXPECT_EQ(rogue.receive(), Answer::refused("malformed request: unknown member \"Shout\""));
    EXPECT_EQ(rogue.receive(), Answer::value("4"));
}

TEST(automation_server, half_a_frame_or_an_unread_answer_holds_up_nobody_and_goes_in_time) {
    ScriptedAutomation host;
    ipc::ServerLimits limits;
    limits.frameTimeout = std::chrono::milliseconds(300);
    host.answer("big", std::string(900000, 'x'));
    ServedHost served(host, true, limits);
    auto good = attach(served.socketPath());
    RawClient deaf(served.socketPath());  // never reads: the answer fills its socket
    deaf.sendRequest({Member::Eval, "big"});
    RawClient lingering(served.socketPath());
    lingering.send(ipc::encodeFrame(ipc::encodeRequest({Member::Eval, "2*2"})).substr(0, 7));
    {
        RawClient stalled(served.socketPath());
        stalled.send(ipc::encodeFrame(ipc::encodeRequest({Member::Eval, "2*2"})).substr(0, 7));
        EXPECT_EQ(good.Eval("2*2"), "4");
    }
    EXPECT_EQ(lingering.receive(), Answer::refused("a frame stayed incomplete for 300 ms"));
    EXPECT_EQ(lingering.receive(), std::nullopt);
    EXPECT_EQ(deaf.receive(), std::nullopt);
    EXPECT_EQ(good.Eval("2*2"), "4");
    served.stop();
    EXPECT_NE(served.trace().find("\"event\":\"disconnected in the middle of a frame\""),
              std::string::npos)
        << served.trace();
    EXPECT_EQ(host.traffic().size(), 3u);
}

TEST(automation_server, hoarders_are_turned_away_and_at_the_cap_the_oldest_idle_goes) {
    struct Row {
        std::size_t maxClients, maxPerProcess, refused;  // refused: which of four, made in turn
        const char* heard;
    };
    for (const Row row : {Row{64, 3, 3, "too many connections from this process (3)"},
                          Row{3, 10, 0, "too many connections to this host (3)"}}) {
        ScriptedAutomation host;
        ipc::ServerLimits limits;
        limits.maxClients = row.maxClients;
        limits.maxPerProcess = row.maxPerProcess;
        ServedHost served(host, false, limits);
        std::vector<std::unique_ptr<RawClient>> clients;
        for (std::size_t i = 0; i < 4; ++i) {
            clients.push_back(std::make_unique<RawClient>(served.socketPath()));
            if (i == 3) break;
            clients[i]->sendRequest({Member::Eval, "2*2"});
            EXPECT_EQ(clients[i]->receive(), Answer::value("4"));
        }
        EXPECT_EQ(clients[row.refused]->receive(), Answer::refused(row.heard));
        EXPECT_EQ(clients[row.refused]->receive(), std::nullopt);
        for (std::size_t i = 0; i < 4; ++i) {
            if (i == row.refused) continue;
            clients[i]->sendRequest({Member::Eval, "2*2"});
            EXPECT_EQ(clients[i]->receive(), Answer::value("4")) << "client " << i;
        }
    }
}

TEST(server_limits, at_the_cap_the_busiest_process_makes_room_its_deaf_ones_only_for_others) {
    const auto held = [](pid_t pid, bool answering, int since) {
        const auto at = std::chrono::steady_clock::time_point(std::chrono::seconds(since));
        return ipc::HeldConnection{pid * 10 + since, pid, answering, at};
    };
    ipc::ServerLimits limits;
    limits.maxClients = 3;
    struct Row {
        bool answering;  // the newer connection of process 7
        pid_t newcomer;
        int closed;  // 0: the newcomer is turned away
    };
    for (const Row row : {Row{false, 9, 75}, Row{true, 9, 71}, Row{true, 7, 0}}) {
        const std::vector<ipc::HeldConnection> now{held(7, row.answering, 5), held(7, true, 1),
                                                   held(8, false, 0)};
        const ipc::Admission got = ipc::admit(now, row.newcomer, limits);
        EXPECT_EQ(got.closeFirst, row.closed);
        EXPECT_EQ(got.taken, row.closed != 0);
        EXPECT_EQ(got.reason, "too many connections to this host (3)");
    }
}

// Past MBHOST_TIMEOUT a host still at work says so; one that says nothing at all is gone.
TEST(automation_server, a_long_request_is_kept_alive_past_the_client_time_limit_and_silence_not) {
    ScriptedAutomation host;
    host.answerWith([](const std::string&) -> std::optional<std::string> {
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        return "committed";
    });
    ServedHost served(host);
    const ScopedEnvironment limit("MBHOST_TIMEOUT", "1");
    EXPECT_EQ(attach(served.socketPath()).Eval("Commit Table big"), "committed");
    TempDir dir;
    const auto silent = ipc::SocketListener::listenAt(dir.file("socket"));  // accepts nobody
    auto automation = attach(dir.file("socket"));
    const Raised raised = raisedBy([&] { automation.Eval("2*2"); });
    EXPECT_EQ(raised.number, err::kHostGone);
    EXPECT_NE(raised.description.find("(no answer in 1 s)"), std::string::npos)
        << raised.description;
}

// A live socket is refused where mbhost meets it (two_processes_test.cpp).
TEST(automation_server, a_listener_takes_over_a_stale_socket_but_no_other_file) {
    TempDir dir;
    const std::string stale = dir.file("socket");
    {
        // What a killed host leaves: the socket file, with nobody listening.
        const sockaddr_un address = ipc::socketAddress(stale);
        ipc::FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM, 0));
        ASSERT_EQ(::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)),
                  0);
    }
    auto listener = ipc::SocketListener::listenAt(stale);
    EXPECT_FALSE(ipc::connectTo(stale).empty());
    listener.close();
    EXPECT_FALSE(std::filesystem::exists(stale));
    const std::string notes = dir.file("notes.txt");
    { std::ofstream(notes) << "keep me"; }
    EXPECT_NE(whatOf([&] { ipc::SocketListener::listenAt(notes); }), "done");
    EXPECT_TRUE(std::filesystem::exists(notes));
}

}  // namespace
}  // namespace veltrano::testing
