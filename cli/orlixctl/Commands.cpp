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
    Command{"set", "lighting", 1, 1, false, commandSetLighting},
};

} // namespace

std::span<const Command> commands() {
    return kCommands;
}

} // namespace orlixctl
