#pragma once

#include "device/posix/HidrawAccess.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orlixctl {

class Context;

// One command of orlixctl. `set` and `macro` have sub-commands: the entry names it, and the
// operands are those after it.
struct Command {
    std::string_view name;
    std::string_view sub;
    // The operands by the names the help shows, in order; "[FILE]" may be left out.
    std::string_view operands;
    // The options this command takes besides those every command takes, e.g. "--json --file";
    // anything else on its command line is refused.
    std::string_view options;
    // Connect the HID access (real or simulated mouse) before running. A command that may work
    // on a file instead calls Context::connectBackend itself when it needs the mouse.
    bool needsMouse;
    int (*run)(Context& ctx, std::ostream& out, std::ostream& err);
    // What it does, for `orlixctl help COMMAND`.
    std::string_view summary;
};

std::span<const Command> commands();
// "set cpi", "list"
std::string commandName(const Command& command);

// The device transfers and reports (DeviceCommands.cpp).
int commandList(Context& ctx, std::ostream& out, std::ostream& err);
int commandInfo(Context& ctx, std::ostream& out, std::ostream& err);
int commandRead(Context& ctx, std::ostream& out, std::ostream& err);
int commandWrite(Context& ctx, std::ostream& out, std::ostream& err);
int commandReset(Context& ctx, std::ostream& out, std::ostream& err);
int commandShow(Context& ctx, std::ostream& out, std::ostream& err);
// The configurations kept before writes and resets (BackupCommands.cpp).
int commandBackups(Context& ctx, std::ostream& out, std::ostream& err);
// Whether this user can reach the mouse, and what to do if not (DoctorCommand.cpp).
int commandDoctor(Context& ctx, std::ostream& out, std::ostream& err);
// Where doctor looks: the system's folders; tests point it at a device tree of their own.
orlix::device::HidrawRoots& doctorRoots();
// The function names the edition's menus offer and the key names (NamesCommand.cpp).
int commandNames(Context& ctx, std::ostream& out, std::ostream& err);

// The readable configuration file (ExportCommand.cpp). `write` and `show` take a file whose
// name ends in ".json" (any case) as one; readJsonConfiguration refuses, with its message on
// standard error, anything that is not a whole configuration for this mouse.
int commandExport(Context& ctx, std::ostream& out, std::ostream& err);
bool isJsonConfiguration(const std::string& file);
int readJsonConfiguration(Context& ctx, const std::string& file,
                          std::vector<std::uint8_t>& profile);
// Takes a whole profile into the configuration as loading a profile file does.
void takeProfile(Context& ctx, const std::vector<std::uint8_t>& profile);

// The macro store (MacroCommands.cpp).
int commandMacroList(Context& ctx, std::ostream& out, std::ostream& err);
int commandMacroShow(Context& ctx, std::ostream& out, std::ostream& err);
int commandMacroSet(Context& ctx, std::ostream& out, std::ostream& err);
int commandMacroName(Context& ctx, std::ostream& out, std::ostream& err);
int commandMacroClear(Context& ctx, std::ostream& out, std::ostream& err);
int commandMacroExport(Context& ctx, std::ostream& out, std::ostream& err);
int commandMacroImport(Context& ctx, std::ostream& out, std::ostream& err);
// `set`: one or more settings of the Advanced, button and Breathing-light pages in one run,
// with one read and one write (SetCommands.cpp, SetLighting.cpp).
int commandSet(Context& ctx, std::ostream& out, std::ostream& err);
// The function names the menus offer button `key` (1 to 12), as `set button` takes them.
std::vector<std::string> offeredFunctionNames(Context& ctx, int key);

} // namespace orlixctl
