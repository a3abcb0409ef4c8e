// orlixctl set lighting MODE [--colour R,G,B] [--steps OFF,RAISE,ON,FALL] [--file F]: the
// Breathing-light page's settings from the command line, through the page's own rules.

#include "Commands.h"
#include "ConfigurationEdit.h"
#include "Context.h"
#include "Settings.h"

#include "model/ProfileFile.h"
#include "rules/LightingRules.h"

#include <array>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace orlixctl {

using namespace orlix;
using pages::LightingRules;

namespace {

// "a,b,c" as exactly `count` whole numbers within [low, high].
std::optional<std::vector<int>> numberList(std::string_view text, std::size_t count, int low,
                                           int high) {
    std::vector<int> values;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const auto piece =
            text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
        const auto n = number(piece);
        if (!n || *n < static_cast<std::uint64_t>(low) || *n > static_cast<std::uint64_t>(high))
            return std::nullopt;
        values.push_back(static_cast<int>(*n));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (values.size() != count) return std::nullopt;
    return values;
}

std::optional<int> modeNamed(std::string_view name) {
    if (name == "random") return 0;
    if (name == "colourful" || name == "colorful") return 1;
    if (name == "custom") return 2;
    return std::nullopt;
}

constexpr std::array<const char*, 3> kModeNames{"random", "colourful", "custom"};

} // namespace

int prepareLighting(Context&, const SettingArgs& options, std::ostream& err, PreparedSetting& p) {
    // Every value is checked before the mouse or the file is touched.
    const std::string& modeText = options.operands[0];
    const auto mode = modeNamed(modeText);
    if (!mode) {
        err << "orlixctl: set lighting: unknown mode \"" << modeText
            << "\"; allowed: random, colourful, custom\n";
        return kUsage;
    }
    std::optional<std::vector<int>> colour;
    if (auto text = options.value("--colour")) {
        colour = numberList(*text, 3, 0, 100);
        if (!colour) {
            err << "orlixctl: set lighting: --colour takes red, green and blue in per cent, "
                   "each 0 to 100 (e.g. 100,50,0), not \""
                << *text << "\"\n";
            return kUsage;
        }
    }
    std::optional<std::vector<int>> steps;
    if (auto text = options.value("--steps")) {
        steps = numberList(*text, 4, 1, 10);
        if (!steps) {
            err << "orlixctl: set lighting: --steps takes the off, rise, on and fall steps, "
                   "each 1 to 10 (e.g. 3,5,3,5), not \""
                << *text << "\"\n";
            return kUsage;
        }
    }

    std::ostringstream what;
    what << "lighting mode " << kModeNames[static_cast<std::size_t>(*mode)];
    if (steps)
        what << ", steps " << (*steps)[0] << "," << (*steps)[1] << "," << (*steps)[2] << ","
             << (*steps)[3];
    if (colour)
        what << ", colour mode 1 at " << (*colour)[0] << "," << (*colour)[1] << "," << (*colour)[2]
             << " %";

    p.what = what.str();
    p.change = [mode, steps, colour](Context& ctx, std::ostream& e) {
        LightingRules rules(ctx.config());
        if (!rules.editable()) {
            e << "orlixctl: set lighting: this configuration has no lighting settings (bit 0 of "
                 "its lighting flags is set); nothing was written\n";
            return static_cast<int>(kUsage);
        }
        rules.chooseMode(*mode);
        if (steps)
            for (std::size_t i = 0; i < LightingRules::kBars.size(); ++i)
                rules.setStep(LightingRules::kBars[i], (*steps)[i]);
        if (colour) {
            rules.chooseColourMode(1);
            for (int c = 0; c < 3; ++c)
                rules.editPercent(c, std::to_string((*colour)[static_cast<std::size_t>(c)]));
        }
        return static_cast<int>(kOk);
    };
    return kOk;
}

} // namespace orlixctl
