// `backups`: the configurations kept before each write or reset, newest first. Any of them goes
// back to the mouse with `write FILE`.
#include "Commands.h"
#include "Context.h"

#include "model/Backups.h"

#include <nlohmann/json.hpp>

#include <ostream>
#include <sstream>

namespace orlixctl {

using namespace orlix;

int commandBackups(Context& ctx, std::ostream& out, std::ostream& err) {
    const auto folder = ctx.backupFolder();
    if (folder.empty()) {
        err << "orlixctl: no folder for backups (neither XDG_DATA_HOME nor HOME is set)\n";
        return kFileError;
    }
    const auto backups = BackupStore(folder).list();
    if (ctx.options().json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        int n = 0;
        for (const Backup& b : backups) {
            Configuration config(ctx.config().edition);
            config.startUp(ctx.defaultResource(), ctx.texts());
            nlohmann::ordered_json entry{
                {"number", ++n}, {"taken", b.taken}, {"path", b.path.string()}};
            if (const FileResult loaded = config.loadProfile(b.path, ctx.texts()); !loaded) {
                entry["summary"] = nullptr;
                entry["error"] = loaded.error;
            } else {
                std::ostringstream summary;
                writeSummaryLine(summary, config, ctx.texts());
                entry["summary"] = summary.str();
                entry["error"] = nullptr;
            }
            list.push_back(entry);
        }
        out << nlohmann::ordered_json{{"folder", folder.string()}, {"backups", list}}.dump(2)
            << "\n";
        return kOk;
    }
    if (backups.empty()) {
        out << "no backups in " << folder.string()
            << " (one is kept before every write or reset)\n";
        return kOk;
    }
    int n = 0;
    for (const Backup& b : backups) {
        out << ++n << "  " << b.taken << "  " << b.path.string() << "\n     ";
        Configuration config(ctx.config().edition);
        config.startUp(ctx.defaultResource(), ctx.texts());
        if (const FileResult loaded = config.loadProfile(b.path, ctx.texts()); !loaded)
            out << "unreadable: " << loaded.error;
        else
            writeSummaryLine(out, config, ctx.texts());
        out << "\n";
    }
    out << "Write one back with: " << ctx.commandPrefix() << " write FILE\n";
    return kOk;
}

} // namespace orlixctl
