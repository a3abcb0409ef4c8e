#include "Commands.h"

#include <array>
#include <string>

namespace orlixctl {

namespace {

// One command a line; each command group adds its own lines. The operand names and options
// are what the parser accepts, so a command never silently ignores part of its command line.
// clang-format off
constexpr std::array kCommands = {
    Command{"list", "", "", "--all --json", true, commandList,
            "The HID interfaces with the mouse's vendor and product id (--all: every HID "
            "interface), with their feature report length, grouped by the physical device they "
            "belong to."},
    Command{"info", "", "", "--json", true, commandInfo,
            "Identify the mouse: kind, data type, chip code, flash type, configuration byte, "
            "identity code, or why it was refused."},
    Command{"read", "", "[FILE]", "-o", true, commandRead,
            "Read the whole mouse into a profile file (34048 bytes), named by -o FILE or as "
            "the operand."},
    Command{"write", "", "FILE", "--force --full --no-backup", true, commandWrite,
            "Load a profile file (or a configuration file ending in .json) as the editor does "
            "and write it to the mouse: erase, image, macros, read-back, reload."},
    Command{"reset", "", "", "--force --full --no-backup", true, commandReset,
            "Write the default configuration and an empty macro store."},
    Command{"show", "", "[FILE]", "--json", false, commandShow,
            "The decoded configuration of the mouse, or of a profile or configuration file."},
    Command{"export", "", "FILE", "--json --file", false, commandExport,
            "The whole configuration of the mouse, or with --file of a profile file, as a "
            "readable JSON file (\"-\": standard output)."},
    Command{"backups", "", "", "--json", false, commandBackups,
            "The configurations kept before each write or reset, newest first."},
    Command{"doctor", "", "", "--json", false, commandDoctor,
            "Whether this user can open the mouse (hidraw nodes, their rights, the udev rule "
            "and whether it applied, the session) and what to do if not; exit 0 only when the "
            "mouse can be used."},
    Command{"names", "", "", "--json", false, commandNames,
            "Every function name the menus of the edition offer a button, and every key and "
            "modifier name a key combination takes, with the other names accepted for them."},
    Command{"macro", "list", "", "--file --json", false, commandMacroList,
            "The 32 macros: number, name, length."},
    Command{"macro", "show", "N", "--file --json", false, commandMacroShow,
            "The script of macro N (1 to 32), one line per event, after its delay-mode header."},
    Command{"macro", "set", "N FILE", "--file --full --no-backup", false, commandMacroSet,
            "Encode a script file in the line format of macro show into macro N (FILE \"-\": "
            "standard input)."},
    Command{"macro", "name", "N TEXT", "--file --full --no-backup", false, commandMacroName,
            "Name macro N (1 to 14 characters)."},
    Command{"macro", "clear", "N", "--file --full --no-backup", false, commandMacroClear,
            "Empty macro N (its name stays)."},
    Command{"macro", "export", "WHICH FILE", "--file", false, commandMacroExport,
            "Write one macro (WHICH: 1 to 32, 1056 bytes) or all of them (WHICH: all, 33792 bytes) to FILE."},
    Command{"macro", "import", "WHICH FILE", "--file --full --no-backup", false, commandMacroImport,
            "Read such a file into macro N or the whole store."},
    Command{"set", "", "SETTING...", "--current --repeat --delay --colour --steps --file --full --no-backup", false, commandSet,
            "One or more settings, read, changed and written in one run: cpi VALUES "
            "[--current VALUE], rate 500|1000, fire-key N [--repeat R] [--delay MS], fire-mode "
            "LIST, button PROFILE KEY FUNCTION, lighting MODE [--colour R,G,B] [--steps "
            "OFF,RAISE,ON,FALL]; an option follows the setting it belongs to. FUNCTION is a "
            "name as the menus show it, a key combination such as Ctrl+C, or an eight-digit "
            "code (see orlixctl names)."},
};
// clang-format on

} // namespace

std::span<const Command> commands() {
    return kCommands;
}

std::string commandName(const Command& command) {
    std::string name(command.name);
    if (!command.sub.empty()) name += " " + std::string(command.sub);
    return name;
}

} // namespace orlixctl
