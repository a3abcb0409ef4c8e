// orlixctl macro: list, show, set, name, clear, export and import the macros of the mouse or
// of a profile file, with the codec and files the macro page uses.

#include "Commands.h"
#include "Context.h"

#include "macro/MacroCodec.h"
#include "macro/MacroFiles.h"
#include "model/ProfileFile.h"
#include "model/TextCodec.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace orlixctl {

using namespace orlix;

namespace {

// The macro store being worked on: the mouse's (read as the window reads it) or a profile
// file's (its bytes, changed only in the macro part).
struct MacroSource {
    bool fromFile = false;
    std::string file;
    ImageBytes fileImage{}; // a profile file's image, written back as it was
    MacroStore store;
    MacroNames names;
};

int load(Context& ctx, MacroSource& src) {
    if (auto file = ctx.options().value("--file")) {
        src.fromFile = true;
        src.file = *file;
        std::string error;
        auto data = readFilePrefix(src.file, kProfileFileSize + 1, &error);
        if (!data) {
            ctx.err() << "orlixctl: " << error << "\n";
            return kFileError;
        }
        if (data->size() != kProfileFileSize) {
            ctx.err() << "orlixctl: " << src.file << " is not a profile file: it holds "
                      << (data->size() > kProfileFileSize ? "more than " : "")
                      << std::min(data->size(), kProfileFileSize) << " bytes instead of "
                      << kProfileFileSize << "\n";
            return kFileError;
        }
        loadProfileBytes(*data, src.fileImage, src.store);
        src.names = RefreshMacroName(src.store);
        return kOk;
    }
    if (int code = ctx.connectBackend(); code != kOk) return code;
    // An exported file is kept by the user: it holds every body as the mouse has it.
    const auto& ops = ctx.options().operands;
    const bool exporting = !ops.empty() && ops[0] == "export";
    if (int code = ctx.openIdentifyRead(exporting ? device::ReadScope::Everything
                                                  : device::ReadScope::InUse);
        code != kOk)
        return code;
    if (!ctx.config().macroDevice) {
        ctx.err() << "orlixctl: this mouse has no macro store (it is the basic kind); macros "
                     "need the macro kind of the mouse\n";
        return kRejected;
    }
    src.store = ctx.config().macros;
    src.names = ctx.config().macroNames;
    return kOk;
}

// Writes the changed store back: into the profile file (atomically, nothing else changed) or
// to the mouse, as Apply does.
int save(Context& ctx, MacroSource& src, std::ostream& out) {
    if (src.fromFile) {
        const FileResult written =
            writeFileAtomically(src.file, profileBytes(src.fileImage, src.store));
        if (!written) {
            ctx.err() << "orlixctl: " << written.error << "\n";
            return kFileError;
        }
        out << "saved " << src.file << "\n";
        return kOk;
    }
    ctx.config().macros = src.store;
    ctx.config().macroNames = src.names;
    return ctx.writeMouse(out, "the macros");
}

// The operand after the sub-command: a macro number 1..32, as index 0..31.
std::optional<std::size_t> macroIndex(Context& ctx, const std::string& text) {
    auto n = number(text);
    if (!n || *n < 1 || *n > kMacroCount) {
        ctx.err() << "orlixctl: macros are numbered 1 to " << kMacroCount << ", not \"" << text
                  << "\"\n";
        return std::nullopt;
    }
    return static_cast<std::size_t>(*n - 1);
}

const std::string& operand(Context& ctx, std::size_t i) {
    return ctx.options().operands[i + 1]; // operands[0] is the sub-command
}

std::size_t characters(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string lengthText(std::uint16_t length) {
    if (length == 0) return "empty";
    if (length > kMacroBodySize) return "unusable length " + std::to_string(length);
    return std::to_string(length) + " bytes";
}

} // namespace

int commandMacroList(Context& ctx, std::ostream& out, std::ostream&) {
    MacroSource src;
    if (int code = load(ctx, src); code != kOk) return code;
    if (ctx.options().json) {
        nlohmann::ordered_json macros = nlohmann::ordered_json::array();
        for (std::size_t n = 0; n < kMacroCount; ++n) {
            const std::uint16_t length = src.store.bodyLength(n);
            macros.push_back({{"number", n + 1},
                              {"name", src.names[n]},
                              {"length", length},
                              {"usable", length <= kMacroBodySize}});
        }
        out << nlohmann::ordered_json{{"source", src.fromFile ? "file" : "mouse"},
                                      {"path", src.fromFile ? nlohmann::ordered_json(src.file)
                                                            : nlohmann::ordered_json(nullptr)},
                                      {"macros", macros}}
                   .dump(2)
            << "\n";
        return kOk;
    }
    for (std::size_t n = 0; n < kMacroCount; ++n) {
        const std::string& name = src.names[n];
        std::string number = std::to_string(n + 1);
        out << std::string(2 - number.size(), ' ') << number << "  " << name
            << std::string(kMacroNameMaxChars + 2 - std::min(characters(name), kMacroNameMaxChars),
                           ' ')
            << lengthText(src.store.bodyLength(n)) << "\n";
    }
    return kOk;
}

int commandMacroShow(Context& ctx, std::ostream& out, std::ostream& err) {
    auto n = macroIndex(ctx, operand(ctx, 0));
    if (!n) return kUsage;
    MacroSource src;
    if (int code = load(ctx, src); code != kOk) return code;
    const DecodedBody decoded = MacroBodyToScript(src.store, *n);
    if (ctx.options().json) {
        // Empty macros give an empty script rather than a message, so scripts need no case.
        nlohmann::ordered_json lines = nlohmann::ordered_json::array();
        if (!decoded.empty)
            for (const std::string& line : decoded.script.lines())
                lines.push_back(line);
        out << nlohmann::ordered_json{{"number", *n + 1},
                                      {"name", src.names[*n]},
                                      {"empty", decoded.empty},
                                      {"lines", lines},
                                      {"skippedCodes", decoded.skippedCodes},
                                      {"truncated", decoded.truncated}}
                   .dump(2)
            << "\n";
        return kOk;
    }
    if (decoded.empty) {
        err << "orlixctl: macro " << *n + 1 << " is empty\n";
        return kOk;
    }
    for (const std::string& line : decoded.script.lines())
        out << line << "\n";
    if (decoded.skippedCodes > 0)
        err << "orlixctl: note: " << decoded.skippedCodes
            << " codes of the mouse's own have no line and are not shown\n";
    if (decoded.truncated)
        err << "orlixctl: note: the body holds a byte that is no event code; the events after "
               "it are not shown\n";
    return kOk;
}

int commandMacroSet(Context& ctx, std::ostream& out, std::ostream& err) {
    auto n = macroIndex(ctx, operand(ctx, 0));
    if (!n) return kUsage;
    const std::string& file = operand(ctx, 1);
    // Only a regular file of a sane size is read: a folder, a FIFO or a device would give
    // nothing, hang, or grow without end. 1 MB holds any script that can fit 1024 bytes.
    constexpr std::size_t kMaxScriptSize = 1024 * 1024;
    std::string text;
    bool tooLarge = false;
    if (file == "-") {
        // Standard input, read up to one byte past the limit.
        std::vector<char> buffer(kMaxScriptSize + 1);
        ctx.input().read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        text.assign(buffer.data(), static_cast<std::size_t>(ctx.input().gcount()));
        tooLarge = text.size() > kMaxScriptSize;
        if (ctx.input().bad()) {
            err << "orlixctl: standard input could not be read\nnothing was written\n";
            return kFileError;
        }
    } else {
        std::string error;
        const auto start = readFileStart(file, kMaxScriptSize + 1, &error);
        if (!start) {
            err << "orlixctl: " << error << "\nnothing was written\n";
            return kFileError;
        }
        text.assign(start->data.begin(), start->data.end());
        tooLarge = text.size() > kMaxScriptSize || start->size > kMaxScriptSize;
    }
    if (tooLarge) {
        err << "orlixctl: " << (file == "-" ? std::string("standard input") : file)
            << " holds more than " << kMaxScriptSize
            << " bytes, too much for a macro script\nnothing was written\n";
        return kFileError;
    }
    std::istringstream in(text);
    // The script: an optional delay-mode header, then one event line per line. Blank lines
    // are allowed; the line numbers of the file are kept for the messages.
    MacroScript script;
    std::vector<std::size_t> lineOf;
    std::size_t lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Editors on Windows may start the file with a byte-order mark.
        if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (script.header.empty() && script.events.empty() && isHeaderLine(line)) {
            script.header = line;
            continue;
        }
        if (!parseEventLine(line)) {
            err << "orlixctl: " << file << ":" << lineNumber << ": not an event line: \"" << line
                << "\"\nnothing was written\n";
            return kFileError;
        }
        script.events.push_back(line);
        lineOf.push_back(lineNumber);
    }
    const EncodedBody encoded = encodeScript(script);
    if (!encoded.ok()) {
        const std::size_t at = lineOf[*encoded.badEntry];
        err << "orlixctl: " << file << ":" << at
            << ": the macro does not fit its 1024 bytes from this line on\nnothing was written\n";
        return kFileError;
    }
    MacroSource src;
    if (int code = load(ctx, src); code != kOk) return code;
    const StoreResult stored = ScriptToMacroBody(script, src.store, *n);
    if (!stored.ok) return kFileError; // encodeScript accepted the same script
    out << "macro " << *n + 1 << ": " << script.events.size() << " events, " << stored.length
        << " bytes\n";
    return save(ctx, src, out);
}

int commandMacroName(Context& ctx, std::ostream& out, std::ostream& err) {
    auto n = macroIndex(ctx, operand(ctx, 0));
    if (!n) return kUsage;
    const std::string& name = operand(ctx, 1);
    const auto units = utf8ToUtf16(name);
    if (!units || units->empty() || units->size() > kMacroNameMaxChars) {
        err << "orlixctl: a macro name has 1 to " << kMacroNameMaxChars << " characters\n";
        return kUsage;
    }
    MacroSource src;
    if (int code = load(ctx, src); code != kOk) return code;
    src.names[*n] = name;
    src.store.setName(*n, name); // a file gets only this entry's name bytes changed
    out << "macro " << *n + 1 << " is named " << name << "\n";
    return save(ctx, src, out);
}

int commandMacroClear(Context& ctx, std::ostream& out, std::ostream&) {
    auto n = macroIndex(ctx, operand(ctx, 0));
    if (!n) return kUsage;
    MacroSource src;
    if (int code = load(ctx, src); code != kOk) return code;
    src.store.clear(*n);
    out << "macro " << *n + 1 << " cleared\n";
    return save(ctx, src, out);
}

int commandMacroExport(Context& ctx, std::ostream& out, std::ostream& err) {
    const std::string& which = operand(ctx, 0);
    std::optional<std::size_t> n;
    if (which != "all") {
        n = macroIndex(ctx, which);
        if (!n) return kUsage;
    }
    MacroSource src;
    if (int code = load(ctx, src); code != kOk) return code;
    const std::string& file = operand(ctx, 1);
    const FileResult written =
        n ? exportOneMacro(file, src.store, *n) : exportAllMacros(file, src.store);
    if (!written) {
        err << "orlixctl: " << written.error << "\n";
        return kFileError;
    }
    out << "exported " << (n ? "macro " + std::to_string(*n + 1) : std::string("all macros"))
        << " to " << file << "\n";
    return kOk;
}

int commandMacroImport(Context& ctx, std::ostream& out, std::ostream& err) {
    const std::string& which = operand(ctx, 0);
    std::optional<std::size_t> n;
    if (which != "all") {
        n = macroIndex(ctx, which);
        if (!n) return kUsage;
    }
    const std::string& file = operand(ctx, 1);
    // The file is checked before the mouse is read, so a bad file costs no transfer.
    MacroStore probe;
    const FileResult valid = n ? importOneMacro(file, probe, 0) : importAllMacros(file, probe);
    if (!valid) {
        err << "orlixctl: " << valid.error << "\nnothing was written\n";
        return kFileError;
    }
    MacroSource src;
    if (int code = load(ctx, src); code != kOk) return code;
    const FileResult imported =
        n ? importOneMacro(file, src.store, *n) : importAllMacros(file, src.store);
    if (!imported) {
        err << "orlixctl: " << imported.error << "\nnothing was written\n";
        return kFileError;
    }
    // An import brings its names with it.
    src.names = RefreshMacroName(src.store);
    out << "imported " << file << " into "
        << (n ? "macro " + std::to_string(*n + 1) : std::string("all macros")) << "\n";
    return save(ctx, src, out);
}

} // namespace orlixctl
