// A sample host with short helpers: ask (eval that must succeed), run (execute that must
// succeed), refuse (a text that must fail, giving the host's message).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mbhost/host.h"
#include "sample_workspace.h"

namespace mbhost::testing {

class Session {
public:
    Session() : host_(makeSampleHost()) {}

    Host& host() { return *host_; }

    std::string ask(std::string_view text) { return call(text, false, true); }
    // Runs a script: a step without an answer is a statement to run; one with an answer an
    // expression to ask, or with kRefused a statement the host must refuse.
    static constexpr const char* kRefused = "<refused>";
    struct Step {
        std::string text;
        std::optional<std::string> answer = std::nullopt;
    };
    void play(const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            if (!step.answer) {
                run(step.text);
            } else if (*step.answer == kRefused) {
                EXPECT_NE(refuseDo(step.text), "");
            } else {
                EXPECT_EQ(ask(step.text), *step.answer) << "Eval of " << step.text;
            }
        }
    }
    double askNumber(std::string_view text) { return std::strtod(ask(text).c_str(), nullptr); }
    void run(std::string_view text) { call(text, true, true); }
    // The failure's message; empty (and a test failure) when the text did not fail.
    std::string refuseEval(std::string_view text) { return call(text, false, false); }
    std::string refuseDo(std::string_view text) { return call(text, true, false); }

private:
    std::string call(std::string_view text, bool statement, bool mustSucceed) {
        try {
            std::string answer;
            if (statement) {
                host_->execute(text);
            } else {
                answer = host_->eval(text);
            }
            if (!mustSucceed) ADD_FAILURE() << "[" << text << "] did not fail";
            return mustSucceed ? answer : std::string();
        } catch (const HostFailure& f) {
            if (mustSucceed) ADD_FAILURE() << "[" << text << "] failed: " << f.what();
            EXPECT_EQ(f.code(), host_->lastErrorCode());
            EXPECT_EQ(std::string(f.what()), host_->lastErrorMessage());
            return mustSucceed ? "<failed>" : f.what();
        }
    }

    std::unique_ptr<Host> host_;
};

}  // namespace mbhost::testing
