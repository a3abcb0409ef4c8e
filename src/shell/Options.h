#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::shell {

// The command line of the two programs.
struct Options {
    enum class Simulate { Off, Basic, Macro };
    Simulate simulate = Simulate::Off;
    std::optional<std::string> screenshotDir; // render every page there, then end
    bool help = false;
    bool version = false;
    std::string error; // not empty: the command line was not understood
};

// `args` without the program name. Read before the Qt application exists, so that --help,
// --version and a refused command line need no display: Qt's own options (-platform xcb,
// -style ...) are let through here for QApplication to take.
// A bare --simulate means the macro mouse, as it does for orlixctl; the kind may follow as
// --simulate=basic or as the next argument (--simulate basic).
Options parseOptions(const std::vector<std::string>& args);
std::string usage(std::string_view program);
std::string versionText(std::string_view program);

} // namespace orlix::shell
