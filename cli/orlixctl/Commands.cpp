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
    Command{"doctor", "", 0, 0, false, commandDoctor},
};
// clang-format on

} // namespace

std::span<const Command> commands() {
    return kCommands;
}

} // namespace orlixctl
