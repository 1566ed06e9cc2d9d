// The automation contract over the adapters of this platform: mbhost in this process, and
// mbhost behind the socket.
#include "automation_contract.h"

#include "automation/inprocess/inprocess_automation.h"
#include "automation/socket/socket_automation.h"
#include "automation/socket/socket_connection.h"
#include "host/forwarding_automation.h"
#include "served_host.h"

namespace veltrano::testing {
namespace {

struct InProcess {
    static constexpr bool kHostCanEnd = false;
    Automation& host() { return automation; }
    InProcessAutomation automation;
};

// mbhost served on a socket; once ended, every request meets a host that is gone.
class EndingHost final : public ForwardingAutomation {
public:
    EndingHost() : ForwardingAutomation(std::make_shared<InProcessAutomation>()) {}
    bool ended = false;

private:
    void before(AutomationMember, std::string_view) override {
        if (ended) throw RunTimeError(err::kHostGone);
    }
};

struct OverSocket {
    static constexpr bool kHostCanEnd = true;
    Automation& host() { return client; }
    void endHost() { served.ended = true; }
    EndingHost served;
    ServedHost server{served};
    ipc::SocketAutomation client{ipc::SocketConnection::open(server.socketPath())};
};

using Adapters = ::testing::Types<InProcess, OverSocket>;
INSTANTIATE_TYPED_TEST_SUITE_P(adapters, automation_contract, Adapters);

TEST(inprocess_provider, attaches_only_while_running) {
    auto automation = std::make_shared<InProcessAutomation>();
    InProcessProvider provider(automation, false);
    EXPECT_EQ(errorNumberOf([&] { provider.attachRunning(); }), err::kNoRunningCopy);
    EXPECT_EQ(provider.startNew(), automation);
    EXPECT_EQ(provider.attachRunning(), automation);
}

}  // namespace
}  // namespace veltrano::testing
