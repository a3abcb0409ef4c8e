// orlixctl export --json: the whole configuration as a readable file, and the reading of such
// a file for `write` and `show`.

#include "Commands.h"
#include "ConfigJson.h"
#include "Context.h"

#include "model/FileIo.h"
#include "model/ProfileFile.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace orlixctl {

using namespace orlix;

namespace {

// Far more than any configuration file needs (an export is about 60 KiB), little enough to
// read whole.
constexpr std::size_t kMaxJsonSize = 4u << 20;

ConfigJsonContext jsonContext(Context& ctx) {
    return {ctx.options().edition, ctx.config().defaults[image::kDataType], ctx.texts().table(1)};
}

} // namespace

bool isJsonConfiguration(const std::string& file) {
    std::string ext = std::filesystem::path(file).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".json";
}

int readJsonConfiguration(Context& ctx, const std::string& file,
                          std::vector<std::uint8_t>& profile) {
    std::string error;
    auto start = readFileStart(file, kMaxJsonSize + 1, &error);
    if (!start) {
        ctx.err() << "orlixctl: " << error << "\n";
        return kFileError;
    }
    if (start->size > kMaxJsonSize) {
        ctx.err() << "orlixctl: " << file << " holds " << start->size
                  << " bytes, too many for a configuration file; nothing was loaded\n";
        return kFileError;
    }
    const std::string text(start->data.begin(), start->data.end());
    ConfigJsonResult read = configurationFromJson(text, jsonContext(ctx));
    if (!read.ok()) {
        ctx.err() << "orlixctl: " << file << ": " << read.message() << "\nnothing was loaded\n";
        return kFileError;
    }
    // The same checks as for a profile file: a file for another mouse is never taken.
    const ProfileCheck check = checkProfileData(read.profile, ctx.config().defaults);
    if (!check) {
        const int digits = check.fault == ProfileFault::DataType ? 2 : 4;
        const auto hex = [digits](unsigned v) {
            std::string t;
            for (int i = digits - 1; i >= 0; --i)
                t += "0123456789ABCDEF"[(v >> (4 * i)) & 0xF];
            return "0x" + t;
        };
        ctx.err() << "orlixctl: " << file << ": this configuration is for another mouse: its "
                  << profileFieldName(check.fault) << " is " << hex(check.found)
                  << ", this mouse's is " << hex(check.expected) << "\nnothing was loaded\n";
        return kFileError;
    }
    profile = std::move(read.profile);
    return kOk;
}

void takeProfile(Context& ctx, const std::vector<std::uint8_t>& profile) {
    Configuration& config = ctx.config();
    loadProfileBytes(profile, config.working, config.macros);
    config.loadedFileSize = profile.size();
    config.takeLoadedData(ctx.texts());
}

int commandExport(Context& ctx, std::ostream& out, std::ostream& err) {
    if (!ctx.options().json) {
        err << "orlixctl: export writes the JSON form only: give --json\nTry orlixctl --help\n";
        return kUsage;
    }
    const std::string& target = ctx.options().operands[0];
    Configuration& config = ctx.config();
    std::string source;
    std::vector<std::uint8_t> profile;
    if (auto file = ctx.options().value("--file"); file && isJsonConfiguration(*file)) {
        // A configuration file again: checked and written anew in the current form.
        if (int code = readJsonConfiguration(ctx, *file, profile); code != kOk) return code;
        source = *file;
    } else if (file) {
        // The file as a load takes it: what it does not cover keeps the start-up contents.
        if (const FileResult loaded = config.loadProfile(*file, ctx.texts()); !loaded) {
            err << "orlixctl: " << loaded.error << "\n";
            return kFileError;
        }
        source = *file;
    } else {
        if (int code = ctx.connectBackend(); code != kOk) return code;
        if (int code = ctx.openIdentifyRead(device::ReadScope::Everything); code != kOk)
            return code;
        // What `read` would save.
        config.assemble(ctx.texts(), false);
        if (!config.macroDevice) config.macros.fill(0xFF);
        source = "the mouse";
    }
    if (profile.empty()) profile = profileBytes(config.working, config.macros);
    const auto json = configurationToJson(profile, jsonContext(ctx));
    if (!json) {
        err << "orlixctl: the configuration of " << source
            << " has a data type whose layout is not known; nothing was exported\n";
        return kFileError;
    }
    if (target == "-") {
        out << *json;
        return kOk;
    }
    const std::vector<std::uint8_t> bytes(json->begin(), json->end());
    if (const FileResult written = writeFileAtomically(target, bytes); !written) {
        err << "orlixctl: " << written.error << "\n";
        return kFileError;
    }
    out << "exported the configuration of " << source << " to " << target << "\n";
    return kOk;
}

} // namespace orlixctl
