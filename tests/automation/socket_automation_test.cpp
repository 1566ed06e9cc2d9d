#include "automation/socket/socket_automation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <tuple>

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

// What the socket adds to the contract: a trace line a request, and a refusal of an answer it
// cannot carry.
TEST(socket_automation, traces_each_request_and_refuses_an_answer_that_is_not_utf8) {
    ScriptedAutomation scripted;
    scripted.answer("odd", "caf\xE9");
    scripted.fail("Inset Into t", 17, "Unrecognized command: Inset");
    ServedHost served{scripted, true};
    ipc::SocketAutomation host{ipc::SocketConnection::open(served.socketPath())};
    EXPECT_EQ(host.Eval("2*2"), "4");
    EXPECT_EQ(errorNumberOf([&] { host.Do("Inset Into t"); }), err::kAutomationFailure);
    const Raised refused = raisedBy([&] { host.Eval("odd"); });
    EXPECT_EQ(refused.number, err::kAutomationFailure);
    EXPECT_EQ(refused.description, "mbhost refused Eval: the answer is not valid UTF-8");
    served.stop();
    const std::string trace = served.trace();
    EXPECT_EQ(trace.rfind("{\"time\":\"", 0), 0u);
    for (const char* line :
         {"\"client\":1,\"member\":\"Eval\",\"argument\":\"2*2\",\"answer\":\"4\"}",
          "\"member\":\"Do\",\"argument\":\"Inset Into t\",\"error\":{\"number\":-2147352567,"
          "\"code\":17,\"message\":\"Unrecognized command: Inset\"}}"}) {
        EXPECT_NE(trace.find(line), std::string::npos) << trace;
    }
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
    const std::string fallback = "/tmp/mbhost-" + std::to_string(::getuid()) + "/socket";
    for (const auto& [socket, runtime, path] :
         {std::tuple<const char*, const char*, std::string>{"/tmp/a.sock", "/run/u", "/tmp/a.sock"},
          {nullptr, "/run/u", "/run/u/mbhost/socket"},
          {nullptr, nullptr, fallback}}) {
        const ScopedEnvironment chosen("MBHOST_SOCKET", socket),
            runtimeDir("XDG_RUNTIME_DIR", runtime);
        EXPECT_EQ(ipc::defaultSocketPath(), path);
    }
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
