#pragma once

namespace orlixctl {

// SIGINT and SIGTERM while a command runs. The first one only asks the transfer to stop: the
// block under way is finished, nothing more is sent, and the command says what the mouse
// now holds. A second one ends the program at once, as without this.
class StopSignals {
public:
    StopSignals();  // installs the handlers and clears an earlier request
    ~StopSignals(); // puts the previous handlers back
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
};

// The signal that asked to stop (SIGINT, SIGTERM), or 0.
int stopSignal();
// "SIGINT", "SIGTERM", or "a signal".
const char* stopSignalName();

} // namespace orlixctl
