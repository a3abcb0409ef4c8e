// The POSIX half of the state file: a lock held with flock for the run, temporary files from
// mkstemp, permission bits kept.
#include "device/SimulatedMouseStateFile.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlix::device {
namespace {

std::string lastError() {
    return std::strerror(errno);
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A new file keeps the bits of the one it replaces, or gets what the umask leaves.
void takePermissions(int fd, const std::filesystem::path& file) {
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
}

} // namespace

std::optional<std::string> replaceFileContents(const std::filesystem::path& file,
                                               std::span<const std::uint8_t> bytes) {
    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::string stem(1, '.');
    stem += file.filename().string();
    stem += ".XXXXXX";
    std::string pattern = (folder / stem).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data()); // O_CREAT | O_EXCL: never opens what is already there
    const std::filesystem::path temp = name.data();
    if (fd < 0) return "cannot create a file in " + folder.string() + ": " + lastError();

    bool ok = writeAll(fd, bytes);
    std::string why = ok ? std::string() : lastError();
    if (ok) takePermissions(fd, file);
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        why = lastError();
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        why = lastError();
    }
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(temp, file, ec);
        if (!ec) return std::nullopt;
        why = ec.message();
    }
    std::filesystem::remove(temp, ec);
    return "cannot write " + file.string() + ": " + why;
}

void SimulatedMouseStateFile::close() {
    if (fd_ >= 0) ::close(fd_); // releases the lock
    fd_ = -1;
}

long SimulatedMouseStateFile::readAt(std::uint8_t* data, std::size_t n, std::size_t offset) const {
    return static_cast<long>(::pread(fd_, data, n, static_cast<off_t>(offset)));
}

long SimulatedMouseStateFile::writeAt(const std::uint8_t* data, std::size_t n, std::size_t offset) {
    return static_cast<long>(::pwrite(fd_, data, n, static_cast<off_t>(offset)));
}

std::optional<std::string> SimulatedMouseStateFile::open(const std::filesystem::path& file) {
    close();
    std::error_code ec;
    // The lock and the rename must concern the file itself, not a link to it.
    path_ = file;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec))) {
        path_ = std::filesystem::weakly_canonical(file, ec);
        if (ec) return "cannot follow " + file.string() + ": " + ec.message();
    }
    for (;;) {
        // O_NONBLOCK: a FIFO planted under the name must not hold the run.
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
        if (fd < 0) return "cannot open " + path_.string() + ": " + lastError();
        struct stat held {};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            return path_.string() + " is not a regular file";
        }
        int locked = 0;
        do {
            locked = ::flock(fd, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            const std::string why = lastError();
            ::close(fd);
            return "cannot lock " + path_.string() + ": " + why;
        }
        // Another run may have renamed a new state over the name while this one waited: then
        // the lock is on the old file, and the new one is what to take.
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(path_.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            fd_ = fd;
            return std::nullopt;
        }
        ::close(fd);
    }
}

} // namespace orlix::device
