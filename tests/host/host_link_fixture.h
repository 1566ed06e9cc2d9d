// A host connection object wired to a scripted host, recording message boxes and window
// activations, under the regional settings a test chooses.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/miProObj.h"
#include "platform/fixed_regional_settings.h"
#include "support/fake_ports.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {

class HostLinkFixture {
public:
    explicit HostLinkFixture(FixedRegionalSettings settings = FixedRegionalSettings::pointLocale())
        : regional(settings) {
        provider.running = host;
        obj = std::make_unique<miProObj>(provider, messages, regional, activation);
    }

    // The answers a host without windows or tables gives while connecting.
    void answerEmptyHost() {
        host->answer("SystemInfo(17)", "1500");
        host->answer("SystemInfo(9)", "4242");
        host->answer("NumWindows()", "0");
        host->answer("NumAllWindows()", "0");
        host->answer("NumTables()", "0");
    }

    // Connects to a host without windows or tables and forgets the traffic so far.
    void connectEmptyHost() {
        answerEmptyHost();
        ASSERT_EQ(obj->connect2MiPro(), 1500);
        ASSERT_EQ(obj->state(), miProObj::State::Connected);
        host->clearRequests();
    }

    // The MapBasic texts sent with Eval, without the liveness probes.
    std::vector<std::string> evals() const {
        std::vector<std::string> out;
        for (const auto& r : host->traffic()) {
            if (r.member == "Eval" && r.argument != "2*2") out.push_back(r.argument);
        }
        return out;
    }
    // The statements sent with Do or RunCommand, in order.
    std::vector<std::string> statements() const {
        std::vector<std::string> out;
        for (const auto& r : host->traffic()) {
            if (r.member == "Do" || r.member == "RunCommand") out.push_back(r.argument);
        }
        return out;
    }

    std::shared_ptr<ScriptedAutomation> host = std::make_shared<ScriptedAutomation>();
    ScriptedProvider provider;
    RecordingMessageBox messages;
    FixedRegionalSettings regional;
    RecordingWindowActivation activation;
    std::unique_ptr<miProObj> obj;
};

}  // namespace veltrano::testing
