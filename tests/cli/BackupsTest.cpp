#include "support/CliHarness.h"

#include "model/Backups.h"
#include "model/ParameterImage.h"
#include "model/ProfileFile.h"
#include "model/SectionBuffers.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <set>
#include <span>

using namespace orlix::test;

namespace {

class Backups : public CliTestWithOwnData {
protected:
    // The simulated mouse's backups, kept apart from the real mice's.
    std::string backupFolder() const {
        return path("data") + "/orlix-editor/simulated-mouse-backups";
    }
    std::string mouseBackupFolder() const { return path("data") + "/orlix-editor/backups"; }
    std::vector<std::string> sim(const std::string& kind) const {
        return {"--simulate=" + kind, "--sim-state", path("m.bin")};
    }
    CliResult ctl(const std::string& kind, std::vector<std::string> args) const {
        auto all = sim(kind);
        all.insert(all.end(), args.begin(), args.end());
        return run(all);
    }
};

} // namespace

TEST_F(Backups, AResetKeepsWhatItReplacedAndWritingTheBackupRestoresTheMouse) {
    for (const std::string kind : {"basic", "macro"}) {
        SCOPED_TRACE(kind);
        fs::remove_all(path("data"));
        fs::remove(path("m.bin"));
        // The user's own configuration: key 5 of the main profile is CPI +.
        ASSERT_EQ(ctl(kind, {"read", "-o", path("mine.bin")}).code, 0);
        auto mine = readAll(path("mine.bin"));
        const std::uint8_t cpiUp[] = {0x09, 0x01, 0x00, 0x00};
        std::copy(std::begin(cpiUp), std::end(cpiUp),
                  mine.begin() + orlix::image::kProfileStart + orlix::profileCodeOffset(0, 4));
        orlix::sealSection(std::span<std::uint8_t>(mine.data() + orlix::image::kProfileStart,
                                                   orlix::image::kProfileSize));
        writeAll(path("mine.bin"), mine);
        ASSERT_EQ(ctl(kind, {"write", path("mine.bin")}).code, 0);
        ASSERT_EQ(ctl(kind, {"read", "-o", path("written.bin")}).code, 0);

        // A reset replaces it; the newest backup holds it.
        ASSERT_EQ(ctl(kind, {"reset"}).code, 0);
        ASSERT_EQ(ctl(kind, {"read", "-o", path("reset.bin")}).code, 0);
        ASSERT_NE(readAll(path("reset.bin")), readAll(path("written.bin")));
        const auto kept = orlix::BackupStore(backupFolder()).list();
        ASSERT_EQ(kept.size(), 2u); // before the write, and before the reset
        const std::string newest = kept.front().path.string();
        EXPECT_EQ(readAll(newest).size(), 34048u);

        const auto listed = ctl(kind, {"backups"});
        ASSERT_EQ(listed.code, 0);
        EXPECT_EQ(listed.out.rfind("1  " + kept.front().taken + "  " + newest + "\n", 0), 0u)
            << listed.out;
        // How to take one back names this mouse, not a real one.
        EXPECT_NE(listed.out.find("Write one back with: orlixctl --simulate=" + kind +
                                  " --sim-state " + path("m.bin") + " write FILE\n"),
                  std::string::npos)
            << listed.out;

        // Taking it back makes the mouse read as it did before the reset.
        ASSERT_EQ(ctl(kind, {"write", newest}).code, 0);
        ASSERT_EQ(ctl(kind, {"read", "-o", path("restored.bin")}).code, 0);
        EXPECT_EQ(readAll(path("restored.bin")), readAll(path("written.bin")));

        // None of it is among a real mouse's backups, nor listed for one.
        EXPECT_TRUE(orlix::BackupStore(mouseBackupFolder()).list().empty());
        EXPECT_NE(run({"backups"}).out.find("no backups"), std::string::npos);
    }
}

TEST_F(Backups, NoWriteHappensWhenTheBackupCannotBeKept) {
    ASSERT_EQ(ctl("macro", {"read", "-o", path("p.bin")}).code, 0);
    writeAll(path("data"), {1, 2, 3}); // a file where the folder should be
    const auto before = readAll(path("m.bin"));
    const auto r = ctl("macro", {"reset"});
    EXPECT_EQ(r.code, orlixctl::kFileError);
    EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
    EXPECT_EQ(readAll(path("m.bin")), before);
}

TEST_F(Backups, ListingIsNewestFirstWithASummary) {
    EXPECT_NE(ctl("macro", {"backups"}).out.find("no backups"), std::string::npos);
    ASSERT_EQ(ctl("macro", {"reset"}).code, 0);
    ASSERT_EQ(ctl("macro", {"reset"}).code, 0);
    const auto r = ctl("macro", {"backups"});
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("1000/1600/2400/4800 CPI, level 1, 500 reports/s"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("2  "), std::string::npos) << r.out;
}

namespace {

std::vector<std::uint8_t> profileOf(std::uint8_t fill) {
    return std::vector<std::uint8_t>(orlix::kProfileFileSize, fill);
}

fs::perms permsOf(const fs::path& p) {
    return fs::status(p).permissions() & fs::perms::mask;
}

} // namespace

// The backup just taken survives whatever the clock does and whatever else is in the folder.
TEST_F(Backups, RotationKeepsTheNewestByTheirSequenceNotByTheClock) {
    using namespace std::chrono;
    const auto noon = system_clock::now();
    struct Case {
        const char* name;
        std::vector<seconds> offsets; // the clock at each save, from noon
    };
    const Case cases[] = {
        {"the clock goes back an hour at every save", {0s, -3600s, -7200s, -10800s, -14400s}},
        {"all in one second", {0s, 0s, 0s, 0s, 0s}},
        {"a clock that jumps forward and back", {0s, 86400s, -86400s, 5s, -5s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = dir / "store";
        fs::remove_all(folder);
        fs::create_directories(folder);
        // Files the store did not write: a later-named old-style name of another size, and
        // other files. None is listed or removed.
        writeAll((folder / "2099-01-01_00-00-00.bin").string(), {1, 2, 3});
        writeAll((folder / "999999_2099-01-01_00-00-00.bin").string(), {4});
        writeAll((folder / "notes.txt").string(), {5});
        orlix::BackupStore store(folder, 3);
        std::vector<fs::path> saved;
        for (std::size_t i = 0; i < c.offsets.size(); ++i) {
            fs::path as;
            ASSERT_TRUE(
                store.save(profileOf(static_cast<std::uint8_t>(i)), noon + c.offsets[i], &as));
            saved.push_back(as);
            const auto kept = store.list();
            ASSERT_FALSE(kept.empty());
            EXPECT_EQ(kept.front().path, as); // the newest is the one just taken
            EXPECT_EQ(readAll(as.string()), profileOf(static_cast<std::uint8_t>(i)));
        }
        const auto kept = store.list();
        ASSERT_EQ(kept.size(), 3u);
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_EQ(kept[k].path, saved[saved.size() - 1 - k]);
        EXPECT_EQ(std::set<fs::path>(saved.begin(), saved.end()).size(), saved.size());
        for (const char* foreign :
             {"2099-01-01_00-00-00.bin", "999999_2099-01-01_00-00-00.bin", "notes.txt"})
            EXPECT_TRUE(fs::exists(folder / foreign)) << foreign;
    }
}

TEST_F(Backups, TwoRunsSavingAtOnceLoseNothing) {
    const fs::path folder = dir / "store";
    const auto when = std::chrono::system_clock::now(); // one second for every save
    constexpr int kEach = 15;
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            orlix::BackupStore store(folder, 100);
            bool ok = true;
            for (int i = 0; i < kEach; ++i)
                ok =
                    store.save(profileOf(static_cast<std::uint8_t>(child * kEach + i)), when) && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::set<std::uint8_t> contents;
    for (const auto& b : orlix::BackupStore(folder, 100).list())
        contents.insert(readAll(b.path.string()).front());
    EXPECT_EQ(contents.size(), 2u * kEach);
}

TEST_F(Backups, FolderAndFilesArePrivateAndKilledRunsLeaveNoDebris) {
    const fs::path folder = dir / "store";
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    // A temporary file of a run that was killed (its process is gone), and one of a run that
    // is still saving (this process).
    pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const fs::path debris =
        folder / ("000001_2026-01-01_00-00-00.bin.tmp-" + std::to_string(gone) + "-7");
    const fs::path running =
        folder / ("000001_2026-01-01_00-00-00.bin.tmp-" + std::to_string(::getpid()) + "-8");
    writeAll(debris.string(), {1});
    writeAll(running.string(), {2});
    ::umask(0);
    fs::path as;
    ASSERT_TRUE(
        orlix::BackupStore(folder).save(profileOf(7), std::chrono::system_clock::now(), &as));
    ::umask(022);
    EXPECT_EQ(permsOf(folder), fs::perms::owner_all);
    EXPECT_EQ(permsOf(as), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(debris));
    EXPECT_TRUE(fs::exists(running));

    // Something that is not a folder in its place is refused with the reason.
    writeAll((dir / "file").string(), {1});
    const auto refused = orlix::BackupStore(dir / "file").save(profileOf(1));
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error.find("not a folder"), std::string::npos) << refused.error;
}

TEST_F(Backups, NoBackupWritesWithoutOneAndSaysSo) {
    ASSERT_EQ(ctl("macro", {"read", "-o", path("p.bin")}).code, 0);
    writeAll(path("data"), {1, 2, 3}); // a file where the folder should be
    const auto refused = ctl("macro", {"write", path("p.bin")});
    EXPECT_EQ(refused.code, orlixctl::kFileError);
    EXPECT_NE(refused.err.find("--no-backup"), std::string::npos) << refused.err;
    const auto r = ctl("macro", {"--no-backup", "write", path("p.bin")});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("not kept"), std::string::npos) << r.err;
    EXPECT_EQ(ctl("macro", {"--no-backup", "show"}).code, orlixctl::kUsage);
}
