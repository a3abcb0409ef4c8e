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
    std::string error; // not empty: the command line was not understood
};

// `args` without the program name. Qt's own options (-platform ...) are taken out by
// QApplication before this sees them.
Options parseOptions(const std::vector<std::string>& args);
std::string usage(std::string_view program);

} // namespace orlix::shell
