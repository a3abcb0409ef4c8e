#include "support/CliHarness.h"

#include "model/Backups.h"
#include "model/ParameterImage.h"

#include <algorithm>
#include <cstdlib>
#include <span>

using namespace orlix::test;

namespace {

class Backups : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        ::setenv("XDG_DATA_HOME", path("data").c_str(), 1);
    }
    std::string backupFolder() const { return path("data") + "/orlix-editor/backups"; }
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
        std::copy(std::begin(cpiUp), std::end(cpiUp), mine.begin() + 110 + 16);
        orlix::sealSection(std::span<std::uint8_t>(mine.data() + 110, 145));
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

        const auto listed = run({"backups"});
        ASSERT_EQ(listed.code, 0);
        EXPECT_EQ(listed.out.rfind("1  " + kept.front().taken + "  " + newest + "\n", 0), 0u)
            << listed.out;

        // Taking it back makes the mouse read as it did before the reset.
        ASSERT_EQ(ctl(kind, {"write", newest}).code, 0);
        ASSERT_EQ(ctl(kind, {"read", "-o", path("restored.bin")}).code, 0);
        EXPECT_EQ(readAll(path("restored.bin")), readAll(path("written.bin")));
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
    EXPECT_NE(run({"backups"}).out.find("no backups"), std::string::npos);
    ASSERT_EQ(ctl("macro", {"reset"}).code, 0);
    ASSERT_EQ(ctl("macro", {"reset"}).code, 0);
    const auto r = run({"backups"});
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("1000/1600/2400/4800 CPI, level 1, 500 reports/s"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("2  "), std::string::npos) << r.out;
}
