#include "device/SimulatedMouseStateFile.h"

#include "device/SimulatedMouse.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orlix::device {
namespace {

std::string lastError() {
    return std::strerror(errno);
}

#ifdef _WIN32
int openExclusive(const std::filesystem::path& p) {
    return ::_wopen(p.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int writeSome(int fd, const std::uint8_t* data, std::size_t n) {
    return ::_write(fd, data, static_cast<unsigned>(n > 0x10000000 ? 0x10000000 : n));
}
int closeFd(int fd) {
    return ::_close(fd);
}
#else
int writeSome(int fd, const std::uint8_t* data, std::size_t n) {
    return static_cast<int>(::write(fd, data, n));
}
int closeFd(int fd) {
    return ::close(fd);
}
#endif

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const int n = writeSome(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::optional<std::string> replaceFileContents(const std::filesystem::path& file,
                                               std::span<const std::uint8_t> bytes) {
    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    // Built by appending: mingw's g++ 12 gives a false -Wrestrict for "." + string&&.
    std::string stem(1, '.');
    stem += file.filename().string();
    stem += '.';
    std::filesystem::path temp;
    int fd = -1;
#ifdef _WIN32
    std::random_device seed;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder / (stem + std::to_string(seed()));
        fd = openExclusive(temp);
        if (fd < 0 && errno != EEXIST) break;
    }
#else
    std::string pattern = (folder / (stem + "XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd = ::mkstemp(name.data()); // O_CREAT | O_EXCL: never opens what is already there
    temp = name.data();
#endif
    if (fd < 0) return "cannot create a file in " + folder.string() + ": " + lastError();

    bool ok = writeAll(fd, bytes);
    std::string why = ok ? std::string() : lastError();
#ifndef _WIN32
    struct stat existing {};
    if (ok && ::stat(file.c_str(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
    } else if (ok) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        why = lastError();
    }
#endif
    if (closeFd(fd) != 0 && ok) {
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

SimulatedMouseStateFile::~SimulatedMouseStateFile() {
    close();
}

void SimulatedMouseStateFile::close() {
    if (fd_ >= 0) closeFd(fd_); // releases the lock
    fd_ = -1;
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
#ifdef _WIN32
    fd_ = ::_wopen(path_.c_str(), _O_CREAT | _O_RDWR | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd_ < 0) return "cannot open " + path_.string() + ": " + lastError();
    return std::nullopt;
#else
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
#endif
}

std::optional<std::string> SimulatedMouseStateFile::load(SimulatedMouse& mouse) {
    if (fd_ < 0) return "the state file is not open";
    // One byte more than the largest state, so an oversized file shows as such.
    std::vector<std::uint8_t> bytes(SimulatedMouse::kStateSize + 1);
    std::size_t got = 0;
    for (;;) {
#ifdef _WIN32
        const long n = ::_read(fd_, bytes.data() + got, static_cast<unsigned>(bytes.size() - got));
#else
        const long n =
            ::pread(fd_, bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
#endif
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return "cannot read " + path_.string() + ": " + lastError();
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
        if (got == bytes.size()) break;
    }
    if (got == 0) return std::nullopt; // a new file: the mouse stays factory-fresh
    bytes.resize(got);
    return mouse.restoreState(bytes, path_.string());
}

std::optional<std::string> SimulatedMouseStateFile::update(const SimulatedMouse& mouse) {
    if (fd_ < 0) return "the state file is not open";
    const std::vector<std::uint8_t> bytes = mouse.stateBytes();
    std::size_t done = 0;
#ifdef _WIN32
    if (::_lseeki64(fd_, 0, SEEK_SET) != 0)
        return "cannot write " + path_.string() + ": " + lastError();
#endif
    while (done < bytes.size()) {
#ifdef _WIN32
        const int n = writeSome(fd_, bytes.data() + done, bytes.size() - done);
#else
        const long n =
            ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
#endif
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return "cannot write " + path_.string() + ": " + lastError();
        done += static_cast<std::size_t>(n);
    }
    return std::nullopt;
}

std::optional<std::string> SimulatedMouseStateFile::save(const SimulatedMouse& mouse) {
    if (fd_ < 0) return "the state file is not open";
    return replaceFileContents(path_, mouse.stateBytes());
}

} // namespace orlix::device
