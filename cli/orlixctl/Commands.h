#pragma once

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
// operand counts are those after it.
struct Command {
    std::string_view name;
    std::string_view sub;
    std::size_t minOperands;
    std::size_t maxOperands;
    // Connect the HID access (real or simulated mouse) before running. A command that may work
    // on a file instead calls Context::connectBackend itself when it needs the mouse.
    bool needsMouse;
    int (*run)(Context& ctx, std::ostream& out, std::ostream& err);
};

std::span<const Command> commands();

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

} // namespace orlixctl
