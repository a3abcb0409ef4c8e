#include "model/FileIo.h"
#include "support/Files.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

using namespace orlix;
using test::readAll;
using test::writeAll;
namespace fs = std::filesystem;

namespace {

const std::vector<std::uint8_t> kOld(100, 0x11);
const std::vector<std::uint8_t> kNew(300, 0x22);

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
    return st.st_mode;
}

std::vector<std::string> namesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// Root passes every permission test, so "writable" cannot be asked of access() alone: a file
// that nobody may write is refused for root as well.
TEST(FileIo, AReadOnlyFileIsNotReplaced) {
    auto dir = test::scratchDir("fileio-readonly");
    auto target = dir / "kept.bin";
    writeAll(target, kOld);
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    auto r = writeFileAtomically(target, kNew);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("kept.bin"), std::string::npos);
    EXPECT_EQ(r.error.find("No such file"), std::string::npos) << r.error;
    EXPECT_EQ(readAll(target), kOld);
    EXPECT_EQ(modeOf(target) & 07777, 0444u);
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"kept.bin"});
    const auto checked = checkReplaceable(target);
    EXPECT_FALSE(checked);
    EXPECT_EQ(checked.error, r.error);

    // One write bit is enough for the owner (who is root here or the user).
    ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
    EXPECT_TRUE(checkReplaceable(target));
    EXPECT_TRUE(checkReplaceable(dir / "new.bin"));
    EXPECT_FALSE(checkReplaceable(dir / "no-such-folder" / "new.bin"));
    EXPECT_TRUE(writeFileAtomically(target, kNew));
    EXPECT_EQ(readAll(target), kNew);
}

TEST(FileIo, AnotherUsersFileIsRefusedForAnOrdinaryUser) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write every file with a write bit";
    auto dir = test::scratchDir("fileio-foreign");
    auto target = dir / "f.bin";
    writeAll(target, kOld);
    ASSERT_EQ(::chmod(target.c_str(), 0400), 0);
    auto r = writeFileAtomically(target, kNew);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("Permission denied"), std::string::npos) << r.error;
    EXPECT_EQ(readAll(target), kOld);
}

TEST(FileIo, ASymbolicLinkIsWrittenThroughAndStaysALink) {
    auto dir = test::scratchDir("fileio-link");
    fs::create_directories(dir / "real");
    auto target = dir / "real" / "profile.bin";
    writeAll(target, kOld);
    fs::create_symlink("real/profile.bin", dir / "link.bin");
    fs::create_symlink("link.bin", dir / "link2.bin"); // a chain of links
    ASSERT_TRUE(writeFileAtomically(dir / "link2.bin", kNew));
    EXPECT_TRUE(fs::is_symlink(dir / "link.bin"));
    EXPECT_TRUE(fs::is_symlink(dir / "link2.bin"));
    EXPECT_EQ(readAll(target), kNew);
    EXPECT_EQ(namesIn(dir / "real"), std::vector<std::string>{"profile.bin"});

    // A link to a file that does not exist yet creates that file.
    fs::create_symlink("real/new.bin", dir / "dangling.bin");
    ASSERT_TRUE(writeFileAtomically(dir / "dangling.bin", kNew));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.bin"));
    EXPECT_EQ(readAll(dir / "real" / "new.bin"), kNew);

    // A link to a read-only file is refused like the file itself.
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    EXPECT_FALSE(writeFileAtomically(dir / "link.bin", kOld));
    EXPECT_EQ(readAll(target), kNew);

    // A loop of links is an error, not a hang.
    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    EXPECT_FALSE(writeFileAtomically(dir / "loop-a", kNew));
}

TEST(FileIo, AReplacedFileKeepsItsPermissionsAndANewOneFollowsTheUmask) {
    auto dir = test::scratchDir("fileio-mode");
    auto target = dir / "p.bin";
    writeAll(target, kOld);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileAtomically(target, kNew));
    EXPECT_EQ(modeOf(target) & 07777, 0640u);
    ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
    ASSERT_TRUE(writeFileAtomically(target, kOld));
    EXPECT_EQ(modeOf(target) & 07777, 0604u);

    const mode_t old = ::umask(027);
    auto fresh = dir / "fresh.bin";
    auto r = writeFileAtomically(fresh, kNew);
    ::umask(old);
    ASSERT_TRUE(r);
    EXPECT_EQ(modeOf(fresh) & 07777, 0640u);
}

TEST(FileIo, ErrorsNameTheRealCause) {
    auto dir = test::scratchDir("fileio-errors");
    fs::create_directories(dir / "folder");
    auto r = writeFileAtomically(dir / "folder", kNew);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("Is a directory"), std::string::npos) << r.error;
    EXPECT_TRUE(fs::is_directory(dir / "folder"));

    auto missing = writeFileAtomically(dir / "no-such-folder" / "x.bin", kNew);
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.error.find("x.bin"), std::string::npos);
    EXPECT_NE(missing.error.find("No such file or directory"), std::string::npos);

    // A system file: refused for its own reason, not for the temporary file's.
    auto proc = writeFileAtomically("/proc/version", kNew);
    EXPECT_FALSE(proc);
    EXPECT_EQ(proc.error.find("No such file"), std::string::npos) << proc.error;
    EXPECT_NE(proc.error.find("/proc/version"), std::string::npos);

    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    auto fifo = writeFileAtomically(dir / "fifo", kNew);
    EXPECT_FALSE(fifo);
    EXPECT_NE(fifo.error.find("not a regular file"), std::string::npos) << fifo.error;
    EXPECT_EQ(fs::status(dir / "fifo").type(), fs::file_type::fifo);
}

TEST(FileIo, ReadingRefusesWhatIsNotARegularFileWithoutWaiting) {
    auto dir = test::scratchDir("fileio-read");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::string error;
    EXPECT_FALSE(readFileStart(dir / "fifo", 10, &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_FALSE(readFileStart(dir, 10, &error));
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
    EXPECT_FALSE(readFileStart("/dev/null", 10, &error));

    writeAll(dir / "f.bin", kNew);
    auto start = readFileStart(dir / "f.bin", 256, &error);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->size, 300u);
    EXPECT_EQ(start->data, std::vector<std::uint8_t>(256, 0x22));
    auto all = readFileStart(dir / "f.bin", 1000, &error);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->data, kNew);
}

TEST(FileIo, IdentityTellsOneFileUnderTwoNamesFromTwoFiles) {
    auto dir = test::scratchDir("fileio-identity");
    writeAll(dir / "a.bin", kOld);
    writeAll(dir / "b.bin", kOld);
    fs::create_symlink("a.bin", dir / "link.bin");
    fs::create_hard_link(dir / "a.bin", dir / "hard.bin");
    auto a = fileIdentity(dir / "a.bin");
    ASSERT_TRUE(a);
    EXPECT_EQ(fileIdentity(dir / "link.bin"), a);
    EXPECT_EQ(fileIdentity(dir / "hard.bin"), a);
    EXPECT_EQ(fileIdentity(dir / "." / "a.bin"), a);
    EXPECT_NE(fileIdentity(dir / "b.bin"), a);
    EXPECT_FALSE(fileIdentity(dir / "missing.bin"));
}
