// `backups`: the configurations kept before each write or reset, newest first. Any of them goes
// back to the mouse with `write FILE`.
#include "Commands.h"
#include "Context.h"

#include "model/Backups.h"

#include <ostream>

namespace orlixctl {

using namespace orlix;

int commandBackups(Context& ctx, std::ostream& out, std::ostream& err) {
    const auto folder = defaultBackupFolder();
    if (folder.empty()) {
        err << "orlixctl: no folder for backups (neither XDG_DATA_HOME nor HOME is set)\n";
        return kFileError;
    }
    const auto backups = BackupStore(folder).list();
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
    out << "Write one back with: orlixctl write FILE\n";
    return kOk;
}

} // namespace orlixctl
