// A sample host with short helpers: ask (eval that must succeed), run (execute that must
// succeed), refuse (a text that must fail, giving the host's message).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "mbhost/host.h"
#include "sample_workspace.h"

namespace mbhost::testing {

class Session {
public:
    Session() : host_(makeSampleHost()) {}

    Host& host() { return *host_; }

    std::string ask(std::string_view text) {
        try {
            return host_->eval(text);
        } catch (const HostFailure& f) {
            ADD_FAILURE() << "Eval of [" << text << "] failed: " << f.what();
            return "<failed>";
        }
    }
    double askNumber(std::string_view text) { return std::strtod(ask(text).c_str(), nullptr); }

    void run(std::string_view text) {
        try {
            host_->execute(text);
        } catch (const HostFailure& f) {
            ADD_FAILURE() << "Do of [" << text << "] failed: " << f.what();
        }
    }

    // The failure's message; empty (and a test failure) when the text did not fail.
    std::string refuseEval(std::string_view text) {
        return refused([&] { host_->eval(text); }, text);
    }
    std::string refuseDo(std::string_view text) {
        return refused([&] { host_->execute(text); }, text);
    }

private:
    template <class Call>
    std::string refused(Call call, std::string_view text) {
        try {
            call();
        } catch (const HostFailure& f) {
            EXPECT_EQ(f.code(), host_->lastErrorCode());
            EXPECT_EQ(std::string(f.what()), host_->lastErrorMessage());
            return f.what();
        }
        ADD_FAILURE() << "[" << text << "] did not fail";
        return {};
    }

    std::unique_ptr<Host> host_;
};

}  // namespace mbhost::testing
