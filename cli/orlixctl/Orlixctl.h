#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace orlixctl {

enum ExitCode {
    kOk = 0,
    kUsage = 1,         // bad command line
    kFileError = 2,     // a file could not be read or written
    kNoDevice = 3,      // no mouse found, or it takes no reports
    kRejected = 4,      // the mouse was identified and refused, or identification stopped
    kTransferFailed = 5 // a transfer was refused or interrupted
};

// Runs one command line (without the program name). Everything the user should see goes to
// `out` (results) and `err` (messages); nothing throws out of it. A file named "-" in a
// command that reads one (macro set) is `in`, standard input for the first form.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err);

std::string helpText();

} // namespace orlixctl
