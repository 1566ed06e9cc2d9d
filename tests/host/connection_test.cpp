// The host connection object's states and the transitions between them.
#include <gtest/gtest.h>

#include "host/detail/mi_app.h"
#include "host_link_fixture.h"

namespace veltrano::testing {
namespace {

using State = miProObj::State;

TEST(connection_state, connect_without_a_running_host_gives_zero_and_shows_nothing) {
    HostLinkFixture f;
    f.provider.running.reset();
    EXPECT_EQ(f.obj->connect2MiPro(), 0);
    EXPECT_EQ(f.obj->state(), State::Idle);
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(f.provider.attachCalls, 1);
}

TEST(connection_state, connect_reads_version_and_main_window_then_builds_the_census) {
    HostLinkFixture f;
    f.answerEmptyHost();
    EXPECT_EQ(f.obj->connect2MiPro(), 1500);
    EXPECT_EQ(f.obj->state(), State::Connected);
    EXPECT_EQ(f.obj->hwnd(), 4242);
    EXPECT_EQ(detail::GetMiApp(*f.obj), f.host);
    EXPECT_TRUE(f.messages.shown.empty());
}

}  // namespace
}  // namespace veltrano::testing
