#include "ConfigurationEdit.h"

#include "Context.h"

#include "model/ProfileFile.h"

#include <filesystem>

#include <ostream>

namespace orlixctl {

using namespace orlix;

int editConfiguration(Context& ctx, std::ostream& out, std::ostream& err, std::string_view what,
                      const ConfigurationChange& change) {
    if (const auto file = ctx.options().value("--file")) {
        Configuration& config = ctx.config();
        // Only a whole profile file is changed in place: a shorter one would come back filled
        // up with defaults.
        std::error_code ec;
        const auto size = std::filesystem::file_size(*file, ec);
        if (!ec && size != kProfileFileSize) {
            err << "orlixctl: " << *file << " holds " << size << " bytes, not a profile file ("
                << kProfileFileSize << " bytes); it was not changed\n";
            return kFileError;
        }
        if (const FileResult loaded = config.loadProfile(*file, ctx.texts()); !loaded) {
            err << "orlixctl: " << loaded.error << "\n";
            return kFileError;
        }
        if (int code = change(ctx, err); code != kOk) return code;
        // The file's macro store goes back as it came; saving for a mouse without macro
        // memory would blank it.
        config.macroDevice = true;
        if (const FileResult saved = config.saveProfile(*file, ctx.texts()); !saved) {
            err << "orlixctl: " << saved.error << "\n";
            return kFileError;
        }
        out << "changed the " << what << " in " << *file << "\n";
        return kOk;
    }
    if (int code = ctx.connectBackend(); code != kOk) return code;
    if (int code = ctx.openIdentifyRead(); code != kOk) return code;
    if (int code = change(ctx, err); code != kOk) return code;
    return ctx.writeMouse(out, "the " + std::string(what));
}

} // namespace orlixctl
