#include "Commands.h"
#include "Context.h"

#include "model/HalfWritten.h"
#include "model/ProfileFile.h"
#include "rules/AssignmentEditor.h"

#include <filesystem>
#include <ostream>

namespace orlixctl {

using namespace orlix;
using namespace orlix::device;

namespace {
// Names what the checks of the loaded file repaired, as the mouse will receive it.
void reportLoadedFile(Context& ctx, const std::string& file, std::ostream& err) {
    const SectionRepairs& repairs = ctx.config().lastRepairs;
    if (repairs.any()) err << "orlixctl: " << file << ": repaired: " << repairs.describe() << "\n";
}
} // namespace

int commandList(Context& ctx, std::ostream& out, std::ostream&) {
    const TargetId target = ctx.link().targets()[0];
    std::vector<HidInterfaceInfo> shown;
    for (const HidInterfaceInfo& info : ctx.backend().enumerate()) {
        const bool matches = info.vendorId == target.vendorId && info.productId == target.productId;
        if (matches || ctx.options().all) shown.push_back(info);
    }
    if (shown.empty()) {
        out << "no " << (ctx.options().all ? "HID interfaces" : "interfaces of the mouse")
            << " found\n";
        return kOk;
    }
    // One block per physical device: the interfaces of one mouse belong together, and
    // --device PATH with any of their paths chooses that mouse.
    for (const HidDeviceGroup& group : groupByParent(shown)) {
        out << "device " << (group.parent.empty() ? "(not known)" : group.parent) << "\n";
        for (const HidInterfaceInfo& info : group.interfaces) {
            const bool matches =
                info.vendorId == target.vendorId && info.productId == target.productId;
            out << "  " << info.path << "  " << hexValue(info.vendorId, 4) << ":"
                << hexValue(info.productId, 4) << "  feature report " << info.featureReportLength
                << " bytes" << (matches && info.featureReportLength == 8 ? "  (usable)" : "")
                << "\n";
        }
    }
    return kOk;
}

int commandInfo(Context& ctx, std::ostream& out, std::ostream&) {
    const int code = ctx.openAndIdentify();
    if (!ctx.identification()) return code;
    const Identification& id = *ctx.identification();
    out << "kind: " << kindName(id.kind) << "\n";
    out << "edition tables: " << editionNote(ctx.options()) << "\n";
    out << "data type: " << (id.dataType ? hexValue(*id.dataType, 2) : std::string("none")) << "\n";
    out << "chip code: " << hexValue(id.chipCode, 2) << "\n";
    out << "flash type: " << id.flashType << "\n";
    out << "configuration byte: " << hexValue(id.configuration, 2) << "\n";
    if (id.identity) {
        out << "identity code: " << hexValue((*id.identity)[0], 2) << " "
            << hexValue((*id.identity)[1], 2);
        if (id.fallbackIdentity) {
            out << " at 0x6057, " << hexValue((*id.fallbackIdentity)[0], 2) << " "
                << hexValue((*id.fallbackIdentity)[1], 2) << " at 0x6053";
        }
        if (id.expectedId) {
            out << " (expected " << hexValue((*id.expectedId)[0], 2) << " "
                << hexValue((*id.expectedId)[1], 2) << ")";
        }
        out << "\n";
    }
    if (id.result != IdentifyResult::Accepted) {
        out << "result: rejected\n";
        return code;
    }
    // An accepted mouse is read too: a write cut short leaves ids that pass and contents
    // that do not.
    if (int read = ctx.readIdentified(); read != kOk) {
        out << "result: accepted, but it could not be read\n";
        return read;
    }
    if (ctx.halfWritten() != HalfWrittenSign::None) {
        out << "result: half-written (accepted by its ids): " << describe(ctx.halfWritten())
            << "\n";
        out << "what to do: " << ctx.restoreNewestText() << "\n";
        return kOk;
    }
    out << "result: accepted\n";
    return code;
}

int commandRead(Context& ctx, std::ostream& out, std::ostream& err) {
    std::string file = ctx.options().output;
    if (file.empty() && !ctx.options().operands.empty()) file = ctx.options().operands[0];
    if (file.empty()) return kUsage;
    // A target that cannot be written is refused before the mouse is read.
    if (const FileResult target = checkReplaceable(file); !target) {
        err << "orlixctl: " << target.error << "\n";
        return kFileError;
    }
    if (int code = ctx.openIdentifyRead(ReadScope::Everything); code != kOk) return code;
    const FileResult saved = ctx.config().saveProfile(file, ctx.texts());
    if (!saved) {
        err << "orlixctl: " << saved.error << "\n";
        return kFileError;
    }
    out << "read the mouse into " << file << "\n";
    return kOk;
}

int commandWrite(Context& ctx, std::ostream& out, std::ostream& err) {
    const std::string& file = ctx.options().operands[0];
    // The file is checked before the mouse is touched.
    std::vector<std::uint8_t> json;
    const bool isJson = isJsonConfiguration(file);
    if (isJson) {
        if (int code = readJsonConfiguration(ctx, file, json); code != kOk) return code;
    } else if (const FileResult checked = ctx.config().checkProfile(file, ctx.texts()); !checked) {
        err << "orlixctl: " << checked.error << "\n";
        return kFileError;
    }
    if (int code = ctx.openIdentifyRead(); code != kOk) return code;
    if (isJson) {
        takeProfile(ctx, json);
    } else if (const FileResult loaded = ctx.config().loadProfile(file, ctx.texts()); !loaded) {
        err << "orlixctl: " << loaded.error << "\n";
        return kFileError;
    }
    reportLoadedFile(ctx, file, err);
    const std::string note =
        profileCoverageNote(ctx.config().loadedFileSize, ctx.config().macroDevice);
    if (!note.empty()) err << "orlixctl: note: " << file << " " << note << "\n";
    // A configuration that leaves a profile without Left Key is refused, as set button
    // refuses to make one.
    for (int profile : pages::profilesWithoutLeftKey(ctx.config().assignments)) {
        static constexpr const char* kNames[] = {"main", "alternate", "reset-control"};
        err << "orlixctl: " << file << ": no button of the " << kNames[profile]
            << " profile is Left Key, so the mouse could not click with it";
        if (!ctx.options().has("--force")) {
            err << "; nothing was written (--force writes it all the same)\n";
            return kFileError;
        }
        err << "; --force: writing it all the same\n";
    }
    return ctx.writeMouse(out, file);
}

int commandReset(Context& ctx, std::ostream& out, std::ostream&) {
    if (int code = ctx.openIdentifyRead(); code != kOk) return code;
    if (int code = ctx.keepBackup(); code != kOk) return code;
    const TransferOutcome written = ctx.session().resetToDefaults(
        ctx.defaultResource(), ctx.texts(), ctx.progress("resetting the mouse"), ctx.writeMode());
    if (int code = ctx.transferFailed(written, "resetting the mouse"); code != kOk) return code;
    if (written.nothingToChange)
        out << "nothing to change: the mouse already holds the default configuration\n";
    else
        out << "reset the mouse to the default configuration (" << written.reports << " reports)\n";
    return kOk;
}

int commandShow(Context& ctx, std::ostream& out, std::ostream& err) {
    ReportSource source;
    if (!ctx.options().operands.empty()) {
        // A preview of `write FILE` to a mouse of the start-up data type: the same checks, the
        // same repairs, and the image as the write would assemble it.
        const std::string& file = ctx.options().operands[0];
        Configuration& config = ctx.config();
        config.identifiedDataType = config.readLayout;
        if (isJsonConfiguration(file)) {
            std::vector<std::uint8_t> json;
            if (int code = readJsonConfiguration(ctx, file, json); code != kOk) return code;
            takeProfile(ctx, json);
        } else if (const FileResult loaded = config.loadProfile(file, ctx.texts()); !loaded) {
            err << "orlixctl: " << loaded.error << "\n";
            return kFileError;
        }
        reportLoadedFile(ctx, file, err);
        if (config.loadedFileSize < kProfileFileSize) {
            err << "orlixctl: note: " << file << " holds " << config.loadedFileSize
                << " bytes, a profile file " << kProfileFileSize
                << "; the macros it does not cover are shown empty (a write keeps the mouse's)\n";
        } else if (config.loadedFileSize > kProfileFileSize) {
            err << "orlixctl: note: " << file << " "
                << profileCoverageNote(config.loadedFileSize, true) << "\n";
        }
        config.assembleAsWritten(ctx.texts());
        source.kind = "file";
        source.name = file;
    } else {
        if (int code = ctx.connectBackend(); code != kOk) return code;
        if (int code = ctx.openIdentifyRead(); code != kOk) return code;
        source = ctx.mouseSource();
    }
    source.edition = editionNote(ctx.options());
    source.editionName = traitsOf(ctx.options().edition).programName;
    source.editionFrom = editionSourceName(ctx.options().editionFrom);
    if (ctx.options().json)
        writeJson(out, ctx.config(), ctx.texts(), source);
    else
        writeText(out, ctx.config(), ctx.texts(), source);
    return kOk;
}

} // namespace orlixctl
