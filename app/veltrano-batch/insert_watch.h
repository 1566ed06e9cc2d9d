// Watches the host requests the dialog's presenter sends, without changing one, to tell how
// the inserts into the output table went, why an attach failed and how long the host took.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "host/automation.h"

namespace veltrano::batch {

// What the watch saw.
struct InsertRecord {
    struct Refusal {
        std::string message;  // the host's own error text
        std::size_t count = 0;
    };
    std::size_t pointInserts = 0;          // point rows the presenter asked the host to insert
    std::size_t refusedPoints = 0;         // of those, the ones the host refused
    std::vector<Refusal> refusals;         // every refused insert (points and labels), by message
    std::string attachFailure;             // why the last attach failed, when it did
    std::chrono::nanoseconds hostTime{0};  // spent inside Do and Eval
};

// Hands out the provider's host objects wrapped so that every insert into outputTable is
// counted in record. Once stop() answers true, every Do and Eval fails as a host gone would,
// so that a long placement ends soon.
class WatchingProvider final : public AutomationProvider {
public:
    WatchingProvider(AutomationProvider& hosts, std::string outputTable, InsertRecord& record,
                     bool (*stop)() = nullptr)
        : hosts_(hosts), outputTable_(std::move(outputTable)), record_(record), stop_(stop) {}

    AutomationPtr attachRunning() override;
    AutomationPtr startNew() override;

private:
    AutomationPtr watched(AutomationPtr host) const;

    AutomationProvider& hosts_;
    std::string outputTable_;
    InsertRecord& record_;
    bool (*stop_)();
};

}  // namespace veltrano::batch
