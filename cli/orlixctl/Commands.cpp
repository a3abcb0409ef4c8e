#include "Commands.h"

#include <array>
#include <limits>

namespace orlixctl {

namespace {

// `set` takes several settings one after another; it counts their words itself.
constexpr std::size_t kSettingWords = std::numeric_limits<std::size_t>::max();

// One command a line; each command group adds its own lines.
// clang-format off
constexpr std::array kCommands = {
    Command{"list", "", 0, 0, true, commandList},
    Command{"info", "", 0, 0, true, commandInfo},
    Command{"read", "", 0, 1, true, commandRead},
    Command{"write", "", 1, 1, true, commandWrite},
    Command{"reset", "", 0, 0, true, commandReset},
    Command{"show", "", 0, 1, false, commandShow},
    Command{"export", "", 1, 1, false, commandExport},
    Command{"backups", "", 0, 0, false, commandBackups},
    Command{"macro", "list", 0, 0, false, commandMacroList},
    Command{"macro", "show", 1, 1, false, commandMacroShow},
    Command{"macro", "set", 2, 2, false, commandMacroSet},
    Command{"macro", "name", 2, 2, false, commandMacroName},
    Command{"macro", "clear", 1, 1, false, commandMacroClear},
    Command{"macro", "export", 2, 2, false, commandMacroExport},
    Command{"macro", "import", 2, 2, false, commandMacroImport},
    Command{"set", "cpi", 1, kSettingWords, false, commandSet},
    Command{"set", "rate", 1, kSettingWords, false, commandSet},
    Command{"set", "fire-key", 1, kSettingWords, false, commandSet},
    Command{"set", "fire-mode", 1, kSettingWords, false, commandSet},
    Command{"set", "button", 3, kSettingWords, false, commandSet},
    Command{"set", "lighting", 1, kSettingWords, false, commandSet},
    Command{"doctor", "", 0, 0, false, commandDoctor},
};
// clang-format on

} // namespace

std::span<const Command> commands() {
    return kCommands;
}

} // namespace orlixctl
