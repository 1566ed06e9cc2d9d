// A host connection object wired to a scripted host, recording message boxes and window
// activations, under the regional settings a test chooses.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "automation/raised.h"
#include "host/miProObj.h"
#include "platform/fixed_regional_settings.h"
#include "support/fake_ports.h"
#include "support/scripted_automation.h"

namespace veltrano::testing {

// number is the window number of the census; negative numbers are the extra windows.
struct ScriptedWindow {
    int number = 1;
    int id = 77;
    std::string title = "roads Map";
    std::string type = "1";
    std::string width = "6.5", height = "4.25", left = "12", status = "1", handle = "5000";
    std::string centerX = "37.6", centerY = "55.4", scale = "50000.5";
};

class HostLinkFixture {
public:
    explicit HostLinkFixture(FixedRegionalSettings settings = FixedRegionalSettings::pointLocale(),
                             std::shared_ptr<ScriptedAutomation> scripted = nullptr)
        : host(scripted ? std::move(scripted) : std::make_shared<ScriptedAutomation>()),
          regional(settings) {
        LastError::clear();
        provider.running = host;
        obj = std::make_unique<miProObj>(provider, messages, regional, activation);
    }

    // Connects to a host without windows or tables and forgets the traffic so far.
    void connectEmptyHost() {
        answerEmptyHost(*host);
        ASSERT_EQ(obj->connect2MiPro(), 1500);
        ASSERT_EQ(obj->state(), miProObj::State::Connected);
        host->clearRequests();
    }

    // The census asks the counts, the front window, window number 0 (which names no window)
    // and every attribute of the given windows.
    void answerWindows(int documents, const std::vector<ScriptedWindow>& windows, int front = 1) {
        int extras = 0;
        for (const auto& w : windows) extras += w.number < 0 ? 1 : 0;
        host->answer("NumWindows()", std::to_string(documents));
        host->answer("NumAllWindows()", std::to_string(documents + extras));
        host->answer("FrontWindow()", std::to_string(front));
        host->answer("WindowId(0)", "0");
        for (const auto& w : windows) {
            const std::string n = std::to_string(w.number), id = std::to_string(w.id);
            host->answer("WindowId(" + n + ")", id);
            const std::pair<int, std::string> attributes[] = {
                {1, w.title}, {3, w.type},   {4, w.width},  {5, w.height},
                {6, w.left},  {9, w.status}, {12, w.handle}};
            for (const auto& [code, value] : attributes) {
                host->answer("WindowInfo(" + n + "," + std::to_string(code) + ")", value);
            }
            host->answer("MapperInfo(" + id + ",2)", w.scale);
            host->answer("MapperInfo(" + id + ",3)", w.centerX);
            host->answer("MapperInfo(" + id + ",4)", w.centerY);
        }
    }

    bool sent(const std::string& member, const std::string& argument) const {
        return std::ranges::count(host->requests(), Request{member, argument}) > 0;
    }

    // One field of every message box shown, e.g. shown(&ShownMessage::caption).
    std::vector<std::string> shown(std::string ShownMessage::*field = &ShownMessage::text) const {
        std::vector<std::string> out;
        for (const auto& m : messages.shown) out.push_back(m.*field);
        return out;
    }

    std::shared_ptr<ScriptedAutomation> host;
    ScriptedProvider provider;
    RecordingMessageBox messages;
    FixedRegionalSettings regional;
    RecordingWindowActivation activation;
    std::unique_ptr<miProObj> obj;
};

// Connected to a host without windows or tables, the traffic so far forgotten.
struct ConnectedLink : HostLinkFixture {
    explicit ConnectedLink(FixedRegionalSettings settings = FixedRegionalSettings::pointLocale())
        : HostLinkFixture(settings) {
        connectEmptyHost();
    }
};

using Strings = std::vector<std::string>;

}  // namespace veltrano::testing
