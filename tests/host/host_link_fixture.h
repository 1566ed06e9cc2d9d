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

// One table as a scripted host describes it.
struct ScriptedTable {
    std::string name = "roads";
    std::string columns = "4";
    std::string rows = "3";
    std::string path = "/data/roads.tab";
    std::string mappable = "T";
    std::string coordSys = "CoordSys Earth Projection 1, 104";
    std::string readOnly = "F";
    std::string temporary = "F";
    std::string minX = "10.5", minY = "20.25", maxX = "30.75", maxY = "40.125";
    std::string type = "1";
};

// One window as a scripted host describes it; number is the window number of the census.
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
    explicit HostLinkFixture(FixedRegionalSettings settings = FixedRegionalSettings::pointLocale())
        : regional(settings) {
        LastError::clear();
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

    // Answers NumTables() and every attribute of tables 1 to n.
    void answerTables(const std::vector<ScriptedTable>& tables) {
        host->answer("NumTables()", std::to_string(tables.size()));
        for (std::size_t k = 0; k < tables.size(); ++k) {
            const auto& t = tables[k];
            const std::string i = std::to_string(k + 1);
            const auto attr = [&](int code, const std::string& value) {
                host->answer("TableInfo(" + i + "," + std::to_string(code) + ") ", value);
            };
            attr(1, t.name);
            attr(2, i);
            attr(3, t.type);
            attr(4, t.columns);
            attr(5, t.mappable);
            attr(6, t.readOnly);
            attr(7, t.temporary);
            attr(8, t.rows);
            attr(19, t.path);
            attr(25, t.minX);
            attr(26, t.minY);
            attr(27, t.maxX);
            attr(28, t.maxY);
            attr(29, t.coordSys);
        }
    }

    // Answers the census questions: the count of document windows, the given windows (those
    // with negative numbers are the extra windows), the front window and every attribute.
    void answerWindows(int documents, const std::vector<ScriptedWindow>& windows, int front = 1) {
        int extras = 0;
        for (const auto& w : windows) extras += w.number < 0 ? 1 : 0;
        host->answer("NumWindows()", std::to_string(documents));
        host->answer("NumAllWindows()", std::to_string(documents + extras));
        host->answer("FrontWindow()", std::to_string(front));
        // The census also asks for window number 0, which names no window.
        host->answer("WindowId(0)", "0");
        for (const auto& w : windows) {
            const std::string n = std::to_string(w.number);
            host->answer("WindowId(" + n + ")", std::to_string(w.id));
            const auto attr = [&](int code, const std::string& value) {
                host->answer("WindowInfo(" + n + "," + std::to_string(code) + ")", value);
            };
            attr(1, w.title);
            attr(3, w.type);
            attr(4, w.width);
            attr(5, w.height);
            attr(6, w.left);
            attr(9, w.status);
            attr(12, w.handle);
            const std::string id = std::to_string(w.id);
            host->answer("MapperInfo(" + id + ",2)", w.scale);
            host->answer("MapperInfo(" + id + ",3)", w.centerX);
            host->answer("MapperInfo(" + id + ",4)", w.centerY);
        }
    }

    // Whether any request of this member carried this text.
    bool sent(const std::string& member, const std::string& argument) const {
        for (const auto& r : host->requests()) {
            if (r.member == member && r.argument == argument) return true;
        }
        return false;
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
