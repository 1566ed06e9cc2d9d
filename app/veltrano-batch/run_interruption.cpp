#include "run_interruption.h"

#include <signal.h>

namespace veltrano::batch {

namespace {
volatile sig_atomic_t interrupted = 0;
struct sigaction previousInt {
}, previousTerm{};

extern "C" void noteInterruption(int) {
    interrupted = 1;
}
}  // namespace

InterruptionWatch::InterruptionWatch() {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = noteInterruption;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previousInt);
    ::sigaction(SIGTERM, &action, &previousTerm);
}

InterruptionWatch::~InterruptionWatch() {
    ::sigaction(SIGINT, &previousInt, nullptr);
    ::sigaction(SIGTERM, &previousTerm, nullptr);
}

bool InterruptionWatch::requested() {
    return interrupted != 0;
}

}  // namespace veltrano::batch
