#include "Commands.h"

#include <array>

namespace orlixctl {

namespace {

// One command a line; each command group adds its own lines.
// clang-format off
constexpr std::array kCommands = {
    Command{"list", "", 0, 0, true, commandList},
    Command{"info", "", 0, 0, true, commandInfo},
    Command{"read", "", 0, 1, true, commandRead},
    Command{"write", "", 1, 1, true, commandWrite},
    Command{"reset", "", 0, 0, true, commandReset},
    Command{"show", "", 0, 1, false, commandShow},
    Command{"backups", "", 0, 0, false, commandBackups},
    Command{"macro", "list", 0, 0, false, commandMacroList},
    Command{"macro", "show", 1, 1, false, commandMacroShow},
    Command{"macro", "set", 2, 2, false, commandMacroSet},
    Command{"macro", "name", 2, 2, false, commandMacroName},
    Command{"macro", "clear", 1, 1, false, commandMacroClear},
    Command{"macro", "export", 2, 2, false, commandMacroExport},
    Command{"macro", "import", 2, 2, false, commandMacroImport},
    Command{"set", "cpi", 1, 1, false, commandSetCpi},
    Command{"set", "rate", 1, 1, false, commandSetRate},
    Command{"set", "fire-key", 1, 1, false, commandSetFireKey},
    Command{"set", "fire-mode", 1, 1, false, commandSetFireMode},
    Command{"set", "button", 3, 3, false, commandSetButton},
    Command{"set", "lighting", 1, 1, false, commandSetLighting},
    Command{"doctor", "", 0, 0, false, commandDoctor},
};
// clang-format on

} // namespace

std::span<const Command> commands() {
    return kCommands;
}

} // namespace orlixctl
