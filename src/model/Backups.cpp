#include "model/Backups.h"

#include "model/HalfWritten.h"
#include "model/ProfileFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <random>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orlix {

namespace {

namespace fs = std::filesystem;

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "2026-12-09_14-03-27"
bool isStamp(std::string_view text) {
    static constexpr std::string_view kShape = "dddd-dd-dd_dd-dd-dd";
    if (text.size() != kShape.size()) return false;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == 'd' ? !digit : text[i] != kShape[i]) return false;
    }
    return true;
}

// The process of a temporary name "<backup name>.bin.tmp-<pid>-<random>"; nullopt for
// other names.
std::optional<int> temporaryOwner(std::string_view name) {
    const auto at = name.find(".bin.tmp-");
    if (at == std::string_view::npos || at == 0) return std::nullopt;
    const std::string_view rest = name.substr(at + 9);
    const auto dash = rest.find('-');
    if (dash == std::string_view::npos || !allDigits(rest.substr(0, dash)) ||
        !allDigits(rest.substr(dash + 1)) || dash > 9)
        return std::nullopt;
    return std::atoi(std::string(rest.substr(0, dash)).c_str());
}

// A temporary file of a run that is still going must stay; one whose process is gone (or
// that is old enough for any save to have ended) is debris of a killed run.
constexpr auto kTemporaryLifetime = std::chrono::minutes(10);

struct Parsed {
    std::uint64_t sequence = 0; // 0: an older version's name
    std::string stamp;          // "2026-12-09_14-03-27"
    int older = 0;              // the "-2" of an older name
};

// "000042_2026-12-09_14-03-27.bin"; older versions wrote "2026-12-09_14-03-27[-2].bin".
bool parseName(std::string_view name, Parsed& parsed) {
    if (name.size() < 4 || name.substr(name.size() - 4) != ".bin") return false;
    name.remove_suffix(4);
    if (const auto underscore = name.find('_'); underscore >= 6 && underscore <= 12 &&
                                                allDigits(name.substr(0, underscore)) &&
                                                isStamp(name.substr(underscore + 1))) {
        parsed.sequence =
            std::strtoull(std::string(name.substr(0, underscore)).c_str(), nullptr, 10);
        parsed.stamp = std::string(name.substr(underscore + 1));
        return parsed.sequence != 0;
    }
    if (name.size() < 19 || !isStamp(name.substr(0, 19))) return false;
    parsed.stamp = std::string(name.substr(0, 19));
    const std::string_view suffix = name.substr(19);
    if (suffix.empty()) {
        parsed.older = 1;
        return true;
    }
    if (suffix[0] != '-' || suffix.size() > 5 || !allDigits(suffix.substr(1))) return false;
    parsed.older = std::atoi(std::string(suffix.substr(1)).c_str());
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

std::string sequenceText(std::uint64_t sequence) {
    std::string digits = std::to_string(sequence);
    if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
    return digits;
}

int currentProcess() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

bool processGone(int pid) {
#ifdef _WIN32
    (void)pid;
    return false; // only the age tells
#else
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
#endif
}

FileResult failure(const std::string& what, const fs::path& path, int err) {
    return {false, what + " \"" + path.string() + "\": " + std::strerror(err)};
}

// The content into a new private file of its own name; the caller renames it into place.
FileResult writeTemporary(const fs::path& temp, std::span<const std::uint8_t> content) {
#ifdef _WIN32
    const int fd =
        ::_wopen(temp.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
#endif
    if (fd < 0) return failure("Cannot write file", temp, errno);
    int err = 0;
#ifndef _WIN32
    if (::fchmod(fd, 0600) != 0) err = errno; // whatever the umask left
#endif
    std::size_t done = 0;
    while (err == 0 && done < content.size()) {
#ifdef _WIN32
        const int n =
            ::_write(fd, content.data() + done, static_cast<unsigned>(content.size() - done));
#else
        const auto n = ::write(fd, content.data() + done, content.size() - done);
#endif
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
#ifdef _WIN32
    if (::_close(fd) != 0 && err == 0) err = errno;
#else
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
#endif
    if (err != 0) {
        std::error_code ec;
        fs::remove(temp, ec);
        return failure("Cannot write file", temp, err);
    }
    return {};
}

// Gives the finished temporary file its backup name unless that name is taken. 0, EEXIST,
// or another error number.
int claimName(const fs::path& temp, const fs::path& target) {
#ifdef _WIN32
    // The C runtime's rename never replaces an existing file.
    if (::_wrename(temp.c_str(), target.c_str()) == 0) return 0;
    std::error_code ec;
    if (fs::exists(target, ec)) return EEXIST;
    return errno != 0 ? errno : EIO;
#else
    // link() fails with EEXIST where rename() would replace.
    if (::link(temp.c_str(), target.c_str()) == 0) {
        ::unlink(temp.c_str());
        return 0;
    }
    return errno;
#endif
}

} // namespace

BackupStore::BackupStore(std::filesystem::path folder, std::size_t keep)
    : folder_(std::move(folder)), keep_(std::max<std::size_t>(keep, 1)) {}

FileResult BackupStore::prepareFolder() const {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(folder_, ec);
    if (fs::exists(status) && !fs::is_directory(status)) {
        return {false, "the backup folder " + folder_.string() + " is " +
                           (fs::is_symlink(status) ? "a symbolic link" : "not a folder") +
                           "; move it away so backups can be kept"};
    }
    if (!fs::exists(status)) {
        fs::create_directories(folder_, ec);
        if (ec)
            return {false,
                    "cannot create the backup folder " + folder_.string() + ": " + ec.message()};
    }
#ifndef _WIN32
    // Backups hold the user's whole configuration: nobody else may list or read them.
    struct stat st {};
    if (::lstat(folder_.c_str(), &st) != 0) return failure("Cannot use folder", folder_, errno);
    if (st.st_uid != ::geteuid())
        return {false, "the backup folder " + folder_.string() +
                           " belongs to another user; backups are kept only in a folder of "
                           "one's own"};
    if ((st.st_mode & 077) != 0 && ::chmod(folder_.c_str(), 0700) != 0)
        return {false,
                "the backup folder " + folder_.string() +
                    " is open to other users and cannot be made private: " + std::strerror(errno)};
#endif
    return {};
}

void BackupStore::removeStaleTemporaries() const {
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        bool stale = false;
        std::error_code timeError;
        const auto written = fs::last_write_time(it->path(), timeError);
        const bool old = !timeError && now - written > kTemporaryLifetime;
        if (const auto owner = temporaryOwner(name)) {
            stale = old || processGone(*owner);
        } else if (name.find(".bin.tmp-") != std::string::npos) {
            stale = old; // older versions' temporary names carry no process
        }
        std::error_code removeError;
        if (stale && it->is_regular_file(removeError)) fs::remove(it->path(), removeError);
    }
}

FileResult BackupStore::save(std::span<const std::uint8_t> profile,
                             std::chrono::system_clock::time_point when,
                             std::filesystem::path* savedAs) {
    if (FileResult ready = prepareFolder(); !ready) return ready;
    removeStaleTemporaries();

    const std::string stamp = stampOf(when);
    static std::random_device seed;
    const fs::path temp = folder_ / (stamp + ".bin.tmp-" + std::to_string(currentProcess()) + "-" +
                                     std::to_string(seed() % 1000000000u));
    if (FileResult written = writeTemporary(temp, profile); !written) return written;

    std::uint64_t sequence = 1;
    for (const Backup& b : list())
        sequence = std::max(sequence, b.sequence + 1);
    fs::path target;
    int err = EEXIST;
    // Another run may take the same number at the same moment: then the next one is tried.
    for (int attempt = 0; attempt < 1000 && err == EEXIST; ++attempt, ++sequence) {
        target = folder_ / (sequenceText(sequence) + "_" + stamp + ".bin");
        err = claimName(temp, target);
    }
    if (err != 0) {
        std::error_code ec;
        fs::remove(temp, ec);
        return failure("Cannot write file", target, err);
    }
    if (savedAs) *savedAs = target;

    const auto all = list();
    std::size_t kept = 0;
    for (const Backup& b : all) {
        std::error_code ec;
        if (b.path == target || fs::equivalent(b.path, target, ec)) continue;
        if (++kept >= keep_) fs::remove(b.path, ec);
    }
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
        std::error_code fileError;
        if (!it->is_regular_file(fileError) || it->is_symlink(fileError)) continue;
        // Only whole profile files are backups; anything else is not this store's.
        if (it->file_size(fileError) != kProfileFileSize || fileError) continue;
        Parsed parsed;
        const std::string name = it->path().filename().string();
        if (!parseName(name, parsed)) continue;
        std::string taken = parsed.stamp;
        taken[10] = ' ';
        taken[13] = ':';
        taken[16] = ':';
        found.push_back({parsed, {it->path(), taken, parsed.sequence}});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.parsed.sequence != b.parsed.sequence) return a.parsed.sequence > b.parsed.sequence;
        if (a.parsed.stamp != b.parsed.stamp) return a.parsed.stamp > b.parsed.stamp;
        return a.parsed.older > b.parsed.older;
    });
    std::vector<Backup> out;
    out.reserve(found.size());
    for (auto& f : found)
        out.push_back(std::move(f.backup));
    return out;
}

std::optional<Backup> BackupStore::newestSound(std::uint8_t layout) const {
    for (const Backup& b : list()) {
        std::string error;
        const auto start = readFilePrefix(b.path, kImageSize, &error);
        if (!start || start->size() != kImageSize) continue;
        const std::span<const std::uint8_t, kImageSize> image(start->data(), kImageSize);
        if (halfWrittenSign(image, layout, nullptr) == HalfWrittenSign::None) return b;
    }
    return std::nullopt;
}

std::filesystem::path defaultBackupFolder(BackupsOf whose) {
    const char* name = whose == BackupsOf::Mouse ? "backups" : "simulated-mouse-backups";
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') return fs::path(data) / "orlix-editor" / name;
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return fs::path(home) / ".local" / "share" / "orlix-editor" / name;
    // Windows sets neither of the above: the user's application data folder.
    const char* appData = std::getenv("APPDATA");
    if (appData != nullptr && fs::path(appData).is_absolute())
        return fs::path(appData) / "orlix-editor" / name;
    return {};
}

} // namespace orlix
