#include "model/Backups.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <regex>
#include <system_error>

namespace orlix {

namespace {

namespace fs = std::filesystem;

// "2026-12-09_14-03-27.bin" or "2026-12-09_14-03-27-2.bin"
const std::regex& backupName() {
    static const std::regex re(
        R"((\d{4})-(\d{2})-(\d{2})_(\d{2})-(\d{2})-(\d{2})(?:-(\d{1,4}))?\.bin)");
    return re;
}

struct Parsed {
    std::string stamp; // sortable: "2026-12-09_14-03-27"
    int sequence = 1;
};

bool parseName(const std::string& name, Parsed& parsed) {
    std::smatch m;
    if (!std::regex_match(name, m, backupName())) return false;
    parsed.stamp = name.substr(0, 19);
    parsed.sequence = m[7].matched ? std::atoi(m[7].str().c_str()) : 1;
    return true;
}

std::string stampOf(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", &local);
    return text;
}

} // namespace

BackupStore::BackupStore(std::filesystem::path folder, std::size_t keep)
    : folder_(std::move(folder)), keep_(std::max<std::size_t>(keep, 1)) {}

FileResult BackupStore::save(std::span<const std::uint8_t> profile,
                             std::chrono::system_clock::time_point when) {
    std::error_code ec;
    if (!fs::is_directory(folder_, ec)) {
        fs::create_directories(folder_, ec);
        if (ec)
            return {false,
                    "cannot create the backup folder " + folder_.string() + ": " + ec.message()};
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::replace, ec);
    }
    const std::string stamp = stampOf(when);
    fs::path target = folder_ / (stamp + ".bin");
    for (int n = 2; fs::exists(fs::symlink_status(target, ec)); ++n) {
        if (n > 9999) return {false, "too many backups in one second in " + folder_.string()};
        target = folder_ / (stamp + "-" + std::to_string(n) + ".bin");
    }
    FileResult saved = writeFileAtomically(target, profile);
    if (!saved) return saved;
    const auto all = list();
    for (std::size_t i = keep_; i < all.size(); ++i)
        fs::remove(all[i].path, ec);
    return {};
}

std::vector<Backup> BackupStore::list() const {
    struct Found {
        Parsed parsed;
        Backup backup;
    };
    std::vector<Found> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        Parsed parsed;
        const std::string name = it->path().filename().string();
        if (!parseName(name, parsed)) continue;
        std::string taken = parsed.stamp;
        taken[10] = ' ';
        taken[13] = ':';
        taken[16] = ':';
        found.push_back({parsed, {it->path(), taken}});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.parsed.stamp != b.parsed.stamp) return a.parsed.stamp > b.parsed.stamp;
        return a.parsed.sequence > b.parsed.sequence;
    });
    std::vector<Backup> out;
    out.reserve(found.size());
    for (auto& f : found)
        out.push_back(std::move(f.backup));
    return out;
}

std::filesystem::path defaultBackupFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') return fs::path(data) / "orlix-editor" / "backups";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return fs::path(home) / ".local" / "share" / "orlix-editor" / "backups";
    // Windows sets neither of the above: the user's application data folder.
    const char* appData = std::getenv("APPDATA");
    if (appData != nullptr && fs::path(appData).is_absolute())
        return fs::path(appData) / "orlix-editor" / "backups";
    return {};
}

} // namespace orlix
