#include "shell/Options.h"

namespace orlix::shell {

Options parseOptions(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--simulate" || a == "--simulate=basic") {
            o.simulate = Options::Simulate::Basic;
        } else if (a == "--simulate=macro") {
            o.simulate = Options::Simulate::Macro;
        } else if (a.starts_with("--simulate=")) {
            o.error = "unknown kind of simulated mouse: " + a.substr(11) + " (basic or macro)";
        } else if (a == "--screenshot") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                o.error = "--screenshot needs a folder";
            } else {
                o.screenshotDir = args[++i];
            }
        } else if (a.starts_with("--screenshot=")) {
            o.screenshotDir = a.substr(13);
            if (o.screenshotDir->empty()) o.error = "--screenshot needs a folder";
        } else {
            o.error = "unknown argument: " + a;
        }
        if (!o.error.empty()) break;
    }
    return o;
}

std::string usage(std::string_view program) {
    std::string p(program);
    return "Usage: " + p +
           " [--simulate[=basic|macro]] [--screenshot DIR]\n"
           "\n"
           "  --simulate[=basic|macro]  use the built-in simulated mouse instead of a real one\n"
           "                            (basic: no macro memory, the default; macro: with it)\n"
           "  --screenshot DIR          render every page in every language to PNG files in\n"
           "                            DIR, then end (runs against the simulated mouse when\n"
           "                            --simulate is given)\n";
}

} // namespace orlix::shell
