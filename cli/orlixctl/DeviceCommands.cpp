#include "Commands.h"
#include "Context.h"

#include "model/ProfileFile.h"

#include <filesystem>
#include <ostream>

namespace orlixctl {

using namespace orlix;
using namespace orlix::device;

int commandList(Context& ctx, std::ostream& out, std::ostream&) {
    const TargetId target = ctx.link().targets()[0];
    int shown = 0;
    for (const HidInterfaceInfo& info : ctx.backend().enumerate()) {
        const bool matches = info.vendorId == target.vendorId && info.productId == target.productId;
        if (!matches && !ctx.options().all) continue;
        out << info.path << "  " << hexValue(info.vendorId, 4) << ":" << hexValue(info.productId, 4)
            << "  feature report " << info.featureReportLength << " bytes"
            << (matches && info.featureReportLength == 8 ? "  (usable)" : "") << "\n";
        ++shown;
    }
    if (shown == 0) {
        out << "no " << (ctx.options().all ? "HID interfaces" : "interfaces of the mouse")
            << " found\n";
    }
    return kOk;
}

int commandInfo(Context& ctx, std::ostream& out, std::ostream&) {
    const int code = ctx.openAndIdentify();
    if (!ctx.identification()) return code;
    const Identification& id = *ctx.identification();
    out << "kind: " << kindName(id.kind) << "\n";
    out << "data type: " << (id.dataType ? hexValue(*id.dataType, 2) : std::string("none")) << "\n";
    out << "chip code: " << hexValue(id.chipCode, 2) << "\n";
    out << "flash type: " << id.flashType << "\n";
    out << "configuration byte: " << hexValue(id.configuration, 2) << "\n";
    if (id.identity) {
        out << "identity code: " << hexValue((*id.identity)[0], 2) << " "
            << hexValue((*id.identity)[1], 2);
        if (id.expectedId) {
            out << " (expected " << hexValue((*id.expectedId)[0], 2) << " "
                << hexValue((*id.expectedId)[1], 2) << ")";
        }
        out << "\n";
    }
    if (id.result != IdentifyResult::Accepted)
        out << "result: rejected\n";
    else
        out << "result: accepted\n";
    return code;
}

int commandRead(Context& ctx, std::ostream& out, std::ostream& err) {
    std::string file = ctx.options().output;
    if (file.empty() && !ctx.options().operands.empty()) file = ctx.options().operands[0];
    if (file.empty()) return kUsage;
    if (int code = ctx.openIdentifyRead(); code != kOk) return code;
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
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) {
        err << "orlixctl: cannot read " << file << ": " << ec.message() << "\n";
        return kFileError;
    }
    if (size == 0) {
        err << "orlixctl: " << file << " is empty; nothing to write\n";
        return kFileError;
    }
    if (int code = ctx.openIdentifyRead(); code != kOk) return code;
    const FileResult loaded = ctx.config().loadProfile(file, ctx.texts());
    if (!loaded) {
        err << "orlixctl: " << loaded.error << "\n";
        return kFileError;
    }
    if (size != kProfileFileSize) {
        err << "orlixctl: note: " << file << " holds " << size << " bytes, a profile file "
            << kProfileFileSize << "; "
            << (size < kProfileFileSize ? "the rest keeps what the mouse holds"
                                        : "the bytes after it are ignored")
            << "\n";
    }
    const TransferOutcome written = ctx.session().writeAll(ctx.texts());
    if (int code = ctx.transferFailed(written, "writing the mouse"); code != kOk) return code;
    out << "wrote " << file << " to the mouse (" << written.reports << " reports)\n";
    return kOk;
}

int commandReset(Context& ctx, std::ostream& out, std::ostream&) {
    if (int code = ctx.openIdentifyRead(); code != kOk) return code;
    const TransferOutcome written =
        ctx.session().resetToDefaults(ctx.defaultResource(), ctx.texts());
    if (int code = ctx.transferFailed(written, "resetting the mouse"); code != kOk) return code;
    out << "reset the mouse to the default configuration (" << written.reports << " reports)\n";
    return kOk;
}

int commandShow(Context& ctx, std::ostream& out, std::ostream& err) {
    ReportSource source;
    if (!ctx.options().operands.empty()) {
        const std::string& file = ctx.options().operands[0];
        const FileResult loaded = ctx.config().loadProfile(file, ctx.texts());
        if (!loaded) {
            err << "orlixctl: " << loaded.error << "\n";
            return kFileError;
        }
        source.kind = "file";
        source.name = file;
    } else {
        if (int code = ctx.connectBackend(); code != kOk) return code;
        if (int code = ctx.openIdentifyRead(); code != kOk) return code;
        source = ctx.mouseSource();
    }
    if (ctx.options().json)
        writeJson(out, ctx.config(), ctx.texts(), source);
    else
        writeText(out, ctx.config(), ctx.texts(), source);
    return kOk;
}

} // namespace orlixctl
