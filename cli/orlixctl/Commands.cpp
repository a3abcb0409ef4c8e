#include "Commands.h"

#include <array>

namespace orlixctl {

namespace {

constexpr std::array kCommands = {
    Command{"list", "", 0, 0, true, commandList},
    Command{"info", "", 0, 0, true, commandInfo},
    Command{"read", "", 0, 1, true, commandRead},
    Command{"write", "", 1, 1, true, commandWrite},
    Command{"reset", "", 0, 0, true, commandReset},
    Command{"show", "", 0, 1, false, commandShow},
    Command{"macro", "list", 0, 0, false, commandMacroList},
    Command{"macro", "show", 1, 1, false, commandMacroShow},
    Command{"macro", "set", 2, 2, false, commandMacroSet},
    Command{"macro", "name", 2, 2, false, commandMacroName},
    Command{"macro", "clear", 1, 1, false, commandMacroClear},
    Command{"macro", "export", 2, 2, false, commandMacroExport},
    Command{"macro", "import", 2, 2, false, commandMacroImport},
};

} // namespace

std::span<const Command> commands() {
    return kCommands;
}

} // namespace orlixctl
