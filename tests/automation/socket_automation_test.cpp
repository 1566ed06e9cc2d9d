#include "automation/socket/socket_automation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include <gtest/gtest.h>

#include "automation/socket/answer_time_limit.h"
#include "automation/socket/socket_automation_provider.h"
#include "automation/socket/socket_connection.h"
#include "automation/socket/socket_path.h"
#include "automation/socket/unix_socket.h"
#include "foundation/run_time_error.h"
#include "served_host.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {
namespace {

// A scripted host reached through a socket: whatever the socket adds must not change what a
// caller sees.
struct OverSocket {
    ScriptedAutomation host;
    ServedHost served{host, true};
    ipc::SocketAutomation client{ipc::SocketConnection::open(served.socketPath())};
};

TEST(automation_contract, values_failures_and_refusals_come_back_as_the_host_gave_them) {
    OverSocket setup;
    setup.host.answer("Str$(\"Дорога\")", "Дорога");
    setup.host.answer("odd", "caf\xE9");
    setup.host.version = "1500";
    setup.host.fail("Inset Into t", 17, "Unrecognized command: Inset");
    Automation& host = setup.client;
    EXPECT_EQ(host.Eval("2*2"), "4");
    EXPECT_EQ(host.Eval("Str$(\"Дорога\")"), "Дорога");
    EXPECT_EQ(host.Version(), "1500");
    EXPECT_EQ(host.Name(), "MapInfo Professional");
    EXPECT_EQ(host.Application(), "MapInfo Professional");
    EXPECT_FALSE(host.Visible());
    host.SetVisible(true);
    EXPECT_TRUE(host.Visible());
    const Raised raised = raisedBy([&] { host.Do("Inset Into t"); });
    EXPECT_EQ(raised.number, err::kAutomationFailure);
    EXPECT_EQ(raised.description, "Unrecognized command: Inset");
    EXPECT_EQ(host.LastErrorCode(), 17);
    EXPECT_EQ(host.LastErrorMessage(), "Unrecognized command: Inset");
    host.SetLastErrorCode(3);
    EXPECT_EQ(host.LastErrorCode(), 3);
    host.RunMenuCommand(102);
    EXPECT_EQ(setup.host.traffic().back(), (Request{"RunMenuCommand", "102"}));
    const Raised refused = raisedBy([&] { host.Eval("odd"); });
    EXPECT_EQ(refused.number, err::kAutomationFailure);
    EXPECT_EQ(refused.description, "mbhost refused Eval: the answer is not valid UTF-8");
    // The trace holds one JSON line a request, with its answer or the host's error.
    setup.served.stop();
    const std::string trace = setup.served.trace();
    EXPECT_EQ(trace.rfind("{\"time\":\"", 0), 0u);
    for (const char* line :
         {"\"client\":1,\"member\":\"Eval\",\"argument\":\"2*2\",\"answer\":\"4\"}",
          "\"member\":\"Do\",\"argument\":\"Inset Into t\",\"error\":{\"number\":-2147352567,"
          "\"code\":17,\"message\":\"Unrecognized command: Inset\"}}"}) {
        EXPECT_NE(trace.find(line), std::string::npos) << trace;
    }
}

TEST(automation_contract, a_host_that_dies_raises_462_on_every_member) {
    OverSocket setup;
    Automation& host = setup.client;
    EXPECT_EQ(host.Eval("2*2"), "4");
    setup.host.die();
    EXPECT_EQ(errorNumberOf([&] { host.Eval("2*2"); }), err::kHostGone);
    EXPECT_EQ(errorNumberOf([&] { host.LastErrorCode(); }), err::kHostGone);
}

TEST(socket_automation_provider, a_path_too_long_or_a_program_that_cannot_start_is_429) {
    TempDir empty;
    ipc::SocketAutomationProvider tooLong(empty.file(std::string(200, 'x')), "/bin/false");
    EXPECT_EQ(errorNumberOf([&] { tooLong.attachRunning(); }), err::kNoRunningCopy);
    ipc::SocketAutomationProvider provider(empty.file("socket"), empty.file("no-such-mbhost"));
    const Raised raised = raisedBy([&] { provider.startNew(); });
    EXPECT_EQ(raised.number, err::kNoRunningCopy);
    EXPECT_EQ(raised.description,
              "cannot start " + empty.file("no-such-mbhost") + ": No such file or directory");
    ipc::SocketAutomationProvider silent(empty.file("socket"), "/bin/true");
    silent.startTimeout = std::chrono::milliseconds(200);
    EXPECT_EQ(errorNumberOf([&] { silent.startNew(); }), err::kNoRunningCopy);
}

TEST(socket_path, the_default_follows_the_environment) {
    {
        const ScopedEnvironment chosen("MBHOST_SOCKET", "/tmp/chosen.sock");
        EXPECT_EQ(ipc::defaultSocketPath(), "/tmp/chosen.sock");
    }
    const ScopedEnvironment unnamed("MBHOST_SOCKET", nullptr);
    {
        const ScopedEnvironment runtime("XDG_RUNTIME_DIR", "/run/user/1000");
        EXPECT_EQ(ipc::defaultSocketPath(), "/run/user/1000/mbhost/socket");
    }
    const ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", nullptr);
    EXPECT_EQ(ipc::defaultSocketPath(), "/tmp/mbhost-" + std::to_string(::getuid()) + "/socket");
}

TEST(socket_path, a_private_directory_is_made_0700_and_one_open_to_others_is_refused) {
    TempDir dir;
    const std::string mine = dir.file("mbhost");
    ipc::preparePrivateDirectory(mine);
    EXPECT_EQ(std::filesystem::status(mine).permissions(), std::filesystem::perms::owner_all);
    EXPECT_NO_THROW(ipc::preparePrivateDirectory(mine));
    std::filesystem::permissions(mine, std::filesystem::perms::others_all,
                                 std::filesystem::perm_options::add);
    EXPECT_THROW(ipc::preparePrivateDirectory(mine), std::runtime_error);
}

TEST(socket_client, refuses_a_default_folder_or_a_server_that_belongs_to_another_user) {
    if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
    constexpr uid_t kNobody = 65534;
    TempDir dir;
    const ScopedEnvironment runtime("XDG_RUNTIME_DIR", dir.path().c_str());
    const ScopedEnvironment unnamed("MBHOST_SOCKET", nullptr);
    const std::string spoofed = dir.file("mbhost");
    ASSERT_EQ(::mkdir(spoofed.c_str(), 0700), 0);
    ASSERT_EQ(::chown(spoofed.c_str(), kNobody, kNobody), 0);

    // Any path: a listener of another user, who could read every request.
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const std::string foreign = dir.file("socket");
    ASSERT_EQ(::seteuid(kNobody), 0);
    std::optional<ipc::SocketListener> listener;
    EXPECT_NO_THROW(listener = ipc::SocketListener::listenAt(foreign));
    ASSERT_EQ(::seteuid(0), 0);
    for (const std::string& path : {std::string(), foreign}) {
        const Raised raised =
            raisedBy([&] { ipc::SocketAutomationProvider(path, "/bin/false").attachRunning(); });
        const std::string& text = raised.description;
        EXPECT_EQ(raised.number, err::kNoRunningCopy) << text;
        EXPECT_NE(text.find(path.empty() ? spoofed + "/socket" : path), std::string::npos) << text;
        EXPECT_NE(text.find("nobody (uid 65534)"), std::string::npos) << text;
    }
}

TEST(socket_client, time_limit_is_whole_seconds_and_anything_else_is_a_clear_error) {
    for (const auto& [text, seconds] : {std::pair{"", 30}, {"0", 0}, {"2", 2}}) {
        EXPECT_EQ(ipc::parseAnswerTimeLimit(text).count(), seconds);
    }
    for (const char* bad : {"soon", "-1", "1.5", " 2", "99999999999"}) {
        EXPECT_THROW(ipc::parseAnswerTimeLimit(bad), std::runtime_error) << bad;
    }
}

}  // namespace
}  // namespace veltrano::testing
