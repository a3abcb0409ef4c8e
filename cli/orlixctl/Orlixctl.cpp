#include "Orlixctl.h"

#include "Commands.h"
#include "Context.h"
#include "Options.h"
#include "StopSignals.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <ostream>
#include <variant>

namespace orlixctl {

std::string helpText() {
    return R"(orlixctl: configure an Orlix mouse from the command line

Usage: orlixctl [options] <command> [arguments]
       orlixctl help COMMAND      (or orlixctl COMMAND --help): what one command takes

A command refuses an option or operand it does not take, naming it. --json gives the report of
list, info, show, backups, doctor, names, macro list and macro show as one JSON object (see
orlixctl(1) for each shape; fields are only ever added).

Commands:
  list [--all]       interfaces with the mouse's vendor and product id (--all: every HID
                     interface), with their feature report length, grouped by the
                     physical device they belong to
  info               identify the mouse: kind, data type, chip code, flash type,
                     configuration byte, identity code, or why it was refused
  read -o FILE       read the whole mouse into a profile file (34048 bytes)
  write FILE         load a profile file as the editor does and write it to the mouse:
                     only the sectors holding a changed byte are erased and rewritten,
                     every block written is read back, then the reload
  write/reset/set/macro --full  erase and write the whole memory instead, for a mouse
                     whose firmware needs it
  reset              write the default configuration (and an empty macro store)
  write/reset --force  also to a mouse whose ids match but whose identity test fails,
                     as one left half-written by an interrupted transfer; write --force
                     also writes a configuration in which a profile has no Left Key
  write/reset/set/macro --no-backup
                     write without keeping the mouse's configuration in the backup folder
                     first (without it, a backup that cannot be kept stops the write)
  show [FILE]        the decoded configuration of the mouse, or of a profile file;
                     --json for a machine-readable form
  export --json FILE the whole configuration of the mouse, or with --file P of profile
                     file P, as a readable JSON file ("-": standard output); write and
                     show take a FILE whose name ends in .json back
  set lighting MODE [--colour R,G,B] [--steps OFF,RAISE,ON,FALL] [--file F]
                     lighting mode random, colourful or custom; --colour chooses colour
                     mode 1 with red, green, blue in per cent (0 to 100); --steps the
                     four breathing times, 1 to 10 each. Reads the mouse, changes it and
                     writes it as Apply does; with --file a profile file is changed instead
  doctor             whether this user can open the mouse (hidraw nodes, their rights,
                     the udev rule, the session) and what to do if not; exit 0 only
                     when the mouse can be used
  names              every function name the menus of the edition offer (by button),
                     and every key and modifier name a key combination takes, with the
                     other names accepted for them (Escape for Esc, Super for Win, ...)
  backups            the configurations kept before each write or reset (the newest 20,
                     in $XDG_DATA_HOME/orlix-editor/backups; a simulated mouse's in
                     simulated-mouse-backups), newest first; write one back with `write FILE`
  macro list         the 32 macros: number, name, length
  macro show N       the script of macro N (1..32), one line per event, after its
                     delay-mode header ("10", "01" and the delay, "00")
  macro set N FILE   encode a script file in the same line format into macro N ("-":
                     standard input); a line that is no event line, or a macro over
                     1024 bytes, writes nothing
  macro name N TEXT  name macro N (1 to 14 characters)
  macro clear N      empty macro N (its name stays)
  macro export N|all FILE   write one macro (1056 bytes) or all (33792 bytes) to FILE
  macro import N|all FILE   read such a file into macro N or the whole store
                     The macro commands read the mouse and write it back as Apply does;
                     with --file F they edit the macros of profile file F instead.

Changing settings (the mouse is read, changed and written as the editor's Apply does; with
--file FILE a profile file is changed in place instead; invalid values change nothing).
Several settings may follow one set, each with its options after it, in one read and one
write; one refused setting refuses them all:
  orlixctl set rate 1000 cpi 800,1600 --current 800 fire-key 2 --delay 40
  set cpi VALUES [--current VALUE]
                     2 to 4 resolution values as the editor shows them, e.g.
                     600,1000,1600,2400; --current: the one in effect (else it stays,
                     or the lowest)
  set rate 500|1000  reports per second
  set fire-key N [--repeat R] [--delay MS]
                     fire key 1 to 4: repeat count 2 to 15, delay 2 to 2000 ms
  set fire-mode LIST the Fire Mode group, 1 to 3 fire keys, e.g. 1,3 (written into every
                     button set to Fire Mode)
  set button PROFILE KEY FUNCTION
                     PROFILE main or alternate, KEY 1 to 12; FUNCTION a name as the
                     menus show it ("CPI +", "Fire Mode"), a key combination such as
                     Ctrl+C, or an eight-digit code (10800000: macro 1); buttons 1 to 3
                     trade Left, Right and Middle Key among themselves

Options:
  --simulate=basic|macro  use the simulated mouse instead of a real one
  --sim-state FILE        keep the simulated mouse's memory, kind and running report rate
                          in FILE (created when missing; locked while a run uses it)
  --sim-unplug-after N    the simulated mouse vanishes after N reports
  --sim-latency-us N      the simulated mouse takes N microseconds per report
  --sim-fail-at N         report N of the run (from 1, as the trace lines count) fails
                          once; may be given several times
  --sim-signal-at N[:SIG] raise SIGINT (or INT, TERM, KILL) just before report N
  --device PATH           with several mice, the one with an interface at PATH (see list)
  --trace FILE            one line per report: "set" or "get" and the 8 bytes in hex
                          (for "get" as answered; "failed" after a report that failed)
  --edition NAME          orlix-editor (default) or orlix-editor-s: whose resolution values,
                          default image and texts are used (both editions' mice answer
                          alike, so it cannot be told from the mouse); ORLIX_EDITION in the
                          environment sets the default; info and show say which was used
  --language N            texts of language 1 (default), 2 or 3
  --json                  machine-readable output of a report; the format of export
  -h, --help              this text; after a command, that command's help
  --version               the version of orlixctl

SIGINT or SIGTERM during a transfer: the block under way is finished, nothing more is sent,
orlixctl says what the mouse may now hold and prints the command that writes the backup of
this run back, and exits with status 5 (as for an interrupted transfer). A second signal ends
it at once.

)" + std::string(kExitStatusText);
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return run(args, std::cin, out, err);
}

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
    try {
        const char* environmentEdition = std::getenv("ORLIX_EDITION");
        auto parsed = parse(args, environmentEdition != nullptr
                                      ? std::optional<std::string>(environmentEdition)
                                      : std::nullopt);
        if (auto* usage = std::get_if<UsageError>(&parsed)) {
            err << "orlixctl: " << usage->message << "\nTry orlixctl help"
                << (usage->helpTopic.empty() ? "" : " " + usage->helpTopic) << "\n";
            return kUsage;
        }
        if (auto* help = std::get_if<HelpRequest>(&parsed)) {
            out << help->text;
            return kOk;
        }
        const Options& options = std::get<Options>(parsed);
        const Command* command = options.selected;
        if (command->name == "read" && options.output.empty() && options.operands.empty()) {
            err << "orlixctl: read needs the file to write: -o FILE\nTry orlixctl help read\n";
            return kUsage;
        }
        if (command->name == "read" && !options.output.empty() && !options.operands.empty()) {
            err << "orlixctl: read takes one file, -o FILE or FILE, not both\n";
            return kUsage;
        }
        if (!options.simState.empty() && !options.simulate) {
            err << "orlixctl: --sim-state needs --simulate\n";
            return kUsage;
        }
        if (!options.simFailAt.empty() && !options.simulate) {
            err << "orlixctl: --sim-fail-at needs --simulate\n";
            return kUsage;
        }

        Context ctx(options, in, err);
        if (int code = ctx.prepare(); code != kOk) return code;
        const StopSignals stopSignals;
        if (command->needsMouse) {
            if (int code = ctx.connectBackend(); code != kOk) return code;
        }
        int code = command->run(ctx, out, err);
        if (stopSignal() != 0 && code != kOk && !ctx.stopReported()) {
            // Stopped outside a write (identification, the read before it): nothing was sent
            // that changes the mouse.
            err << "orlixctl: stopped by " << stopSignalName()
                << " before anything was written to the mouse\n";
            code = kTransferFailed;
        }
        return ctx.finish(code);
    } catch (const std::exception& e) {
        err << "orlixctl: " << e.what() << "\n";
        return kFileError;
    } catch (...) {
        err << "orlixctl: unexpected failure\n";
        return kFileError;
    }
}

} // namespace orlixctl
