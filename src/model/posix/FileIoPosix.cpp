// The POSIX half of FileIo: links followed, owner and permissions kept, and the checks done on
// the file the path finally names.
#include "model/FileIo.h"
#include "model/FileIoShared.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlix {

namespace fs = std::filesystem;
using fileio::describe;
using fileio::failure;
using fileio::temporaryNameFor;

namespace {

// Follows symbolic links to the file they finally name; a name that does not exist (also the
// end of a dangling link) is the file to create.
bool resolveLinks(fs::path& p, int& err) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::error_code ec;
        fs::path next = fs::read_symlink(p, ec);
        if (ec) {
            err = ec.value();
            return false;
        }
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    err = ELOOP;
    return false;
}

bool writeAll(int fd, std::span<const std::uint8_t> content, int& err) {
    std::size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Where a write of `path` goes (links followed) and whether that file may be replaced.
FileResult inspectTarget(const fs::path& path, fs::path& target, struct stat& existing,
                         bool& exists) {
    target = path;
    int err = 0;
    if (!resolveLinks(target, err)) return failure(path, "Cannot write file", err);
    exists = false;
    if (::stat(target.c_str(), &existing) == 0) {
        exists = true;
        if (S_ISDIR(existing.st_mode)) return failure(path, "Cannot write file", EISDIR);
        if (!S_ISREG(existing.st_mode))
            return {false, "Cannot write file \"" + path.string() + "\": it is not a regular file"};
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return failure(path, "Cannot write file", errno);
        // Root passes every permission test; a file nobody may write is still not replaced.
        if (::geteuid() == 0 && (existing.st_mode & 0222) == 0)
            return {false, "Cannot write file \"" + path.string() + "\": the file is read-only"};
    } else if (errno != ENOENT) {
        return failure(path, "Cannot write file", errno);
    }
    return {};
}

} // namespace

FileResult checkReplaceable(const fs::path& path) {
    fs::path target;
    struct stat existing {};
    bool exists = false;
    FileResult result = inspectTarget(path, target, existing, exists);
    if (!result) return result;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // The new file is made in the folder and renamed there.
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return failure(path, "Cannot write file", errno);
    return {};
}

FileResult writeFileAtomically(const fs::path& path, std::span<const std::uint8_t> content) {
    fs::path target;
    struct stat existing {};
    bool exists = false;
    if (FileResult checked = inspectTarget(path, target, existing, exists); !checked)
        return checked;

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::path tmp;
    int fd = -1;
    for (unsigned attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tmp = folder / temporaryNameFor(target, attempt);
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return failure(path, "Cannot write file", errno);

    int err = 0;
    bool ok = true;
    if (exists) {
        // The replacement keeps the owner where allowed, and the permissions.
        if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) {
            if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
                // Not the owner's to give away: the file becomes the user's, as a copy would.
            }
        }
        if (::fchmod(fd, existing.st_mode & 07777) != 0) {
            err = errno;
            ok = false;
        }
    }
    if (ok) ok = writeAll(fd, content, err);
    if (ok && ::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        return failure(path, "Cannot write file", err);
    }
    return {};
}

std::optional<FileStart> readFileStart(const fs::path& path, std::size_t maxBytes,
                                       std::string* error) {
    const auto fail = [&](const std::string& message) -> std::optional<FileStart> {
        if (error) *error = message;
        return std::nullopt;
    };
    // Non-blocking, so a FIFO without a writer cannot hang the open.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(describe(path, "Cannot open file", errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        return fail(describe(path, "Cannot open file", err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        if (S_ISDIR(st.st_mode)) return fail(describe(path, "Cannot open file", EISDIR));
        return fail("Cannot open file \"" + path.string() + "\": it is not a regular file");
    }
    FileStart out;
    out.size = static_cast<std::uint64_t>(st.st_size);
    out.data.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        ssize_t n = ::read(fd, out.data.data() + got, maxBytes - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            return fail(describe(path, "Cannot read file", err));
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    out.data.resize(got);
    return out;
}

std::optional<FileIdentity> fileIdentity(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev),
                        static_cast<std::uint64_t>(st.st_ino)};
}

} // namespace orlix
