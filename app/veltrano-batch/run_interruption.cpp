#include "run_interruption.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>

#include "exit_status.h"
#include "mbhost/storage/write_interruption.h"

namespace veltrano::batch {

namespace {
volatile sig_atomic_t interrupted = 0;
std::atomic<bool> answered{false};
struct sigaction previousInt {
}, previousTerm{};

extern "C" void noteInterruption(int) {
    interrupted = 1;
}

constexpr auto kPoll = std::chrono::milliseconds(50);
constexpr int kPollsBeforeAbandoning = 10;
}  // namespace

InterruptionWatch::InterruptionWatch(std::ostream& err, std::string report)
    : err_(err), report_(std::move(report)) {
    interrupted = 0;
    answered = false;
    struct sigaction action {};
    action.sa_handler = noteInterruption;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previousInt);
    ::sigaction(SIGTERM, &action, &previousTerm);
    watcher_ = std::thread([this] { watch(); });
}

InterruptionWatch::~InterruptionWatch() {
    ended_ = true;
    watcher_.join();
    ::sigaction(SIGINT, &previousInt, nullptr);
    ::sigaction(SIGTERM, &previousTerm, nullptr);
}

bool InterruptionWatch::requested() {
    return interrupted != 0;
}

void InterruptionWatch::answer() const {
    if (!answered.exchange(true)) err_ << report_ << std::endl;
}

void InterruptionWatch::watch() {
    for (int pending = 0; !ended_; std::this_thread::sleep_for(kPoll)) {
        pending = requested() ? pending + 1 : 0;
        if (pending < kPollsBeforeAbandoning) continue;
        if (!mbhost::gdal::abandonUndecidedWrites()) return;  // committing: the run finishes
        answer();
        ::_exit(kInterrupted);
    }
}

}  // namespace veltrano::batch
