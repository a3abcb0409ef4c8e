// The Windows half of the state file: the C runtime's descriptors, temporary names drawn
// until one is free.
#include "device/SimulatedMouseStateFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace orlix::device {
namespace {

std::string lastError() {
    return std::strerror(errno);
}

int openExclusive(const std::filesystem::path& p) {
    return ::_wopen(p.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const int n = ::_write(fd, bytes.data() + done,
                               static_cast<unsigned>(std::min<std::size_t>(left, 0x10000000)));
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
    std::random_device seed;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder / (stem + std::to_string(seed()));
        fd = openExclusive(temp);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return "cannot create a file in " + folder.string() + ": " + lastError();

    bool ok = writeAll(fd, bytes);
    std::string why = ok ? std::string() : lastError();
    if (::_close(fd) != 0 && ok) {
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
    if (fd_ >= 0) ::_close(fd_);
    fd_ = -1;
}

long SimulatedMouseStateFile::readAt(std::uint8_t* data, std::size_t n, std::size_t offset) const {
    if (::_lseeki64(fd_, static_cast<long long>(offset), SEEK_SET) < 0) return -1;
    return ::_read(fd_, data, static_cast<unsigned>(n));
}

long SimulatedMouseStateFile::writeAt(const std::uint8_t* data, std::size_t n, std::size_t offset) {
    if (::_lseeki64(fd_, static_cast<long long>(offset), SEEK_SET) < 0) return -1;
    return ::_write(fd_, data, static_cast<unsigned>(n));
}

std::optional<std::string> SimulatedMouseStateFile::open(const std::filesystem::path& file) {
    close();
    std::error_code ec;
    // The rename must concern the file itself, not a link to it.
    path_ = file;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec))) {
        path_ = std::filesystem::weakly_canonical(file, ec);
        if (ec) return "cannot follow " + file.string() + ": " + ec.message();
    }
    fd_ = ::_wopen(path_.c_str(), _O_CREAT | _O_RDWR | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd_ < 0) return "cannot open " + path_.string() + ": " + lastError();
    return std::nullopt;
}

} // namespace orlix::device
