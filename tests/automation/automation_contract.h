// What every adapter of the host's automation object does alike, written once over a host that
// answers as mbhost does; each platform instantiates it with the adapters it builds.
//
// An adapter fixture gives host(), and endHost() ending the host while the adapter holds it
// where kHostCanEnd (a host in this very process cannot end apart from its caller). The
// constants below are mbhost's answers, for a fixture that replays them.
#pragma once

#include <gtest/gtest.h>

#include "foundation/run_time_error.h"
#include "host/automation.h"
#include "raised.h"

namespace veltrano::testing {

inline constexpr const char* kUnrecognized =
    "line 1, position 1, near 'Inset': Unrecognized command: Inset";
inline constexpr std::int32_t kUnrecognizedCode = 1001;
inline constexpr const char* kNoMenuZero = "Menu command 0 does not exist";
inline constexpr std::int32_t kNoMenuZeroCode = 1006;
inline constexpr const char* kRoadsText = "Дороги № 1 «главные»";

template <class Adapter>
class automation_contract : public ::testing::Test {
protected:
    Adapter adapter;
};

TYPED_TEST_SUITE_P(automation_contract);

TYPED_TEST_P(automation_contract, carries_values_failures_and_properties_as_the_host_gave_them) {
    Automation& host = this->adapter.host();
    EXPECT_EQ(host.Eval("2*2"), "4");
    EXPECT_EQ(host.Eval(std::string("\"") + kRoadsText + "\""), kRoadsText);
    const Raised refused = raisedBy([&] { host.Do("Inset Into t"); });
    EXPECT_EQ(refused.number, err::kAutomationFailure);
    EXPECT_EQ(refused.description, kUnrecognized);
    EXPECT_EQ(host.LastErrorCode(), kUnrecognizedCode);
    EXPECT_EQ(host.LastErrorMessage(), kUnrecognized);
    for (const std::int32_t code : {7, 0}) {
        host.SetLastErrorCode(code);
        EXPECT_EQ(host.LastErrorCode(), code);
    }
    host.RunMenuCommand(616);
    EXPECT_EQ(raisedBy([&] { host.RunMenuCommand(0); }).description, kNoMenuZero);
    EXPECT_EQ(host.Name(), "MapInfo Professional");
    EXPECT_FALSE(host.Version().empty());
    for (const bool visible : {false, true}) {
        host.SetVisible(visible);
        EXPECT_EQ(host.Visible(), visible);
    }
    if constexpr (TypeParam::kHostCanEnd) {
        this->adapter.endHost();
        EXPECT_EQ(errorNumberOf([&] { host.Eval("2*2"); }), err::kHostGone);
        EXPECT_EQ(errorNumberOf([&] { host.LastErrorCode(); }), err::kHostGone);
    }
}

REGISTER_TYPED_TEST_SUITE_P(automation_contract,
                            carries_values_failures_and_properties_as_the_host_gave_them);

}  // namespace veltrano::testing
