// Recording fakes of the platform ports.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "foundation/run_time_error.h"
#include "platform/beep.h"
#include "platform/busy_pointer.h"
#include "platform/clock_random.h"
#include "platform/message_box.h"
#include "platform/process_start.h"
#include "platform/registry.h"
#include "platform/window_activation.h"

namespace veltrano::testing {

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
    bool operator==(const ShownMessage&) const = default;
};

class RecordingMessageBox : public MessageBoxPort {
public:
    std::vector<ShownMessage> shown;
    void show(std::string_view text, std::string_view caption, MessageIcon icon) override {
        shown.push_back({std::string(text), std::string(caption), icon});
    }
};

class CountingBeep : public BeepPort {
public:
    int count = 0;
    void beep() override { ++count; }
};

class RecordingBusyPointer : public BusyPointerPort {
public:
    std::vector<bool> changes;
    void setBusy(bool busy) override { changes.push_back(busy); }
};

class FakeRegistry : public RegistryPort {
public:
    // (root, key, value) -> stored value; every read is recorded with its access mask.
    std::map<std::tuple<RegistryRoot, std::string, std::string>, RegistryValue> values;
    std::vector<std::tuple<RegistryRoot, std::string, std::string, std::uint32_t>> reads;
    std::optional<RegistryValue> read(RegistryRoot root, std::string_view key,
                                      std::string_view value, std::uint32_t mask) override {
        reads.emplace_back(root, std::string(key), std::string(value), mask);
        auto it = values.find({root, std::string(key), std::string(value)});
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
};

// With refusing set it starts nothing, as a system would for a path it cannot run.
class FakeProcessStart : public ProcessStartPort {
public:
    std::vector<std::string> existingFiles;
    std::vector<std::string> started;
    bool refusing = false;
    bool fileExists(std::string_view path) override {
        return std::find(existingFiles.begin(), existingFiles.end(), path) != existingFiles.end();
    }
    void start(std::string_view path) override {
        if (refusing) throw RunTimeError(53, "cannot start " + std::string(path));
        started.emplace_back(path);
    }
};

class FixedTimer : public TimerPort {
public:
    double seconds = 43200.5;
    double secondsSinceMidnight() override { return seconds; }
};

// Plays back a list of draws, then repeats the last one; records every reseed.
class ScriptedRandom : public RandomSource {
public:
    std::vector<double> draws;
    std::vector<double> seeds;
    std::size_t position = 0;
    double next() override {
        if (draws.empty()) return 0.5;
        const double v = draws[std::min(position, draws.size() - 1)];
        ++position;
        return v;
    }
    void reseed(double seed) override { seeds.push_back(seed); }
};

// Records every activation; with no window of the wanted title it fails as the system does.
class RecordingWindowActivation : public WindowActivationPort {
public:
    struct Call {
        std::string title;
        bool waitForFocus;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;
    bool windowMissing = false;
    void activate(std::string_view title, bool waitForFocus) override {
        calls.push_back({std::string(title), waitForFocus});
        if (windowMissing) throw RunTimeError(err::kInvalidProcedureCall, {}, "AppActivate");
    }
};

}  // namespace veltrano::testing
