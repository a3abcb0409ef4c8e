#include "StopSignals.h"

#include <csignal>

namespace orlixctl {

namespace {

volatile std::sig_atomic_t requested = 0;

using Handler = void (*)(int);
Handler previousInt = SIG_DFL;
Handler previousTerm = SIG_DFL;

extern "C" void onStopSignal(int sig) {
    requested = sig;
    // The next one of this signal takes its default course.
    std::signal(sig, SIG_DFL);
}

} // namespace

StopSignals::StopSignals() {
    requested = 0;
    previousInt = std::signal(SIGINT, onStopSignal);
    previousTerm = std::signal(SIGTERM, onStopSignal);
}

StopSignals::~StopSignals() {
    std::signal(SIGINT, previousInt == SIG_ERR ? SIG_DFL : previousInt);
    std::signal(SIGTERM, previousTerm == SIG_ERR ? SIG_DFL : previousTerm);
}

int stopSignal() {
    return static_cast<int>(requested);
}

const char* stopSignalName() {
    switch (stopSignal()) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    default:
        return "a signal";
    }
}

} // namespace orlixctl
