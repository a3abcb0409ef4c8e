#include "model/Configuration.h"
#include "model/ProfileFile.h"
#include "support/DefaultImages.h"
#include "support/Files.h"
#include "support/Language1Texts.h"
#include "support/Scratch.h"

#include "model/TextCodec.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <random>
#include <sys/resource.h>

using namespace orlix;
using test::readAll;
using test::writeAll;
namespace fs = std::filesystem;

namespace {

struct Window {
    MapTextSource texts = test::language1Texts();
    Configuration config{Edition::Editor};
    Window() {
        config.startUp(test::defaultResource(Edition::Editor), texts);
        config.identifiedDataType = kDataType1D;
    }
};

} // namespace

TEST(BinExtension, AppendedOnlyWhenMissing) {
    EXPECT_EQ(withBinExtension("dir/abc"), fs::path("dir/abc.bin"));
    EXPECT_EQ(withBinExtension("dir/a.bin"), fs::path("dir/a.bin"));
    EXPECT_EQ(withBinExtension("dir/A.BIN"), fs::path("dir/A.BIN"));
    EXPECT_EQ(withBinExtension("dir/a.bin.txt"), fs::path("dir/a.bin.txt.bin"));
}

TEST(ProfileFile, SaveOfABasicMouseWritesTheImageThen0xFF) {
    auto dir = test::scratchDir("profile-basic");
    Window w;
    w.config.macros.setName(3, "kept?");
    auto path = withBinExtension(dir / "abc");
    ASSERT_TRUE(w.config.saveProfile(path, w.texts));
    auto data = readAll(dir / "abc.bin");
    ASSERT_EQ(data.size(), kProfileFileSize);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 256, w.config.working.begin()));
    EXPECT_TRUE(std::all_of(data.begin() + 256, data.end(), [](auto b) { return b == 0xFF; }));
}

TEST(ProfileFile, MacroDeviceRoundTripKeepsEverything) {
    auto dir = test::scratchDir("profile-macro");
    Window w;
    w.config.macroDevice = true;
    w.config.macros.setName(4, "Combo");
    w.config.macros.setBodyLength(4, 3);
    w.config.macros.bodies[4] = {};
    w.config.macros.bodies[4][0] = 0xA1;
    ASSERT_TRUE(w.config.setAssignment(1, 2, "10900000"));
    ASSERT_TRUE(w.config.saveProfile(dir / "p.bin", w.texts));

    Window other;
    other.config.macroDevice = true;
    ASSERT_TRUE(other.config.loadProfile(dir / "p.bin", other.texts));
    EXPECT_EQ(other.config.macros.table, w.config.macros.table);
    EXPECT_EQ(other.config.macros.bodies, w.config.macros.bodies);
    EXPECT_EQ(other.config.macroNames[4], "Combo");
    EXPECT_EQ(other.config.assignments[1][2], "10900000");
    EXPECT_EQ(NameForCode("10900000", other.config.codeContext(other.texts)), "Combo");
}

TEST(ProfileFile, AShortFileChangesOnlyWhatItCovers) {
    auto dir = test::scratchDir("profile-short");
    Window w;
    w.config.macros.setName(0, "Stay");
    auto image = test::defaultResource(Edition::Editor);
    image[29] = 1;
    sealSection(std::span(image).subspan(27, 5));
    writeAll(dir / "short.bin", image);
    ASSERT_TRUE(w.config.loadProfile(dir / "short.bin", w.texts));
    EXPECT_EQ(w.config.macroNames[0], "Stay");
    EXPECT_EQ(w.config.page.activeProfile, 1);
}

TEST(ProfileFile, OnAMacroMouseTheFileBringsItsOwnSectionB) {
    auto dir = test::scratchDir("profile-macro-b");
    Window w;
    w.config.macroDevice = true;
    w.config.sections.b = {0, 1, 0, 4, 0}; // as a device read left it (checksum irrelevant)
    auto image = test::defaultResource(Edition::Editor);
    image[27] = 3; // current level 4 of 4
    image[29] = 2; // reset-control profile active
    sealSection(std::span(image).subspan(27, 5));
    writeAll(dir / "b.bin", image);
    ASSERT_TRUE(w.config.loadProfile(dir / "b.bin", w.texts));
    EXPECT_EQ(w.config.sections.b[0], 3);
    EXPECT_EQ(w.config.page.activeProfile, 2);
    EXPECT_EQ(w.config.page.resolution.reportRate, 500);
}

TEST(ProfileFile, ALoadedFileWithABadProfileChecksumShowsTheRepairTable) {
    auto dir = test::scratchDir("profile-bad");
    Window w;
    auto image = test::defaultResource(Edition::Editor);
    image[254] ^= 0xFF;
    writeAll(dir / "bad.bin", image);
    ASSERT_TRUE(w.config.loadProfile(dir / "bad.bin", w.texts));
    for (const auto& profile : w.config.assignments) {
        EXPECT_EQ(profile[3], "09000000");
        EXPECT_EQ(profile[11], "02080700");
    }
}

TEST(ProfileFile, FailuresNameTheFileAndChangeNothing) {
    auto dir = test::scratchDir("profile-fail");
    Window w;
    auto before = w.config.working;
    auto r = w.config.loadProfile(dir / "missing.bin", w.texts);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("missing.bin"), std::string::npos);
    EXPECT_EQ(w.config.working, before);

    auto r2 = saveProfileFile(dir / "no-such-dir" / "x.bin", w.config.working, w.config.macros);
    EXPECT_FALSE(r2);
    EXPECT_NE(r2.error.find("x.bin"), std::string::npos);
}

TEST(ProfileFile, AFailedSaveLeavesTheOldFileAsItWas) {
    auto dir = test::scratchDir("profile-atomic");
    Window w;
    auto target = dir / "good.bin";
    writeAll(target, std::vector<std::uint8_t>(kProfileFileSize, 0x42));
    // Let the file system refuse to grow a file past 1000 bytes: the write fails half-way,
    // as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    auto r = w.config.saveProfile(target, w.texts);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("good.bin"), std::string::npos);
    auto data = readAll(target);
    ASSERT_EQ(data.size(), kProfileFileSize);
    EXPECT_TRUE(std::all_of(data.begin(), data.end(), [](auto b) { return b == 0x42; }));
    for (auto& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename(), "good.bin");
}

TEST(ProfileFile, RandomAndTruncatedDataOfEverySizeLoadsSafely) {
    std::mt19937 rng(1234);
    std::vector<std::uint8_t> noise(40000);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(rng());
    auto texts = test::language1Texts();
    Configuration c(Edition::Editor);
    c.startUp(test::defaultResource(Edition::Editor), texts);
    c.identifiedDataType = kDataType1D;
    for (std::size_t size = 0; size <= noise.size(); ++size) {
        loadProfileBytes(std::span(noise).first(size), c.working, c.macros);
        c.takeLoadedData(texts);
    }
    // Every layout, decoded and assembled again, on a coarser grid of sizes.
    for (std::uint8_t type : {kDataType1D, kDataType3A, std::uint8_t{0x42}}) {
        c.readLayout = type;
        c.identifiedDataType = type;
        for (std::size_t size = 0; size <= noise.size(); size += (size < 300 ? 1 : 397)) {
            loadProfileBytes(std::span(noise).first(size), c.working, c.macros);
            c.takeLoadedData(texts);
            c.assemble(texts, true);
            for (const auto& profile : c.assignments)
                for (const auto& code : profile)
                    ASSERT_EQ(code.size(), 8u);
            for (const auto& name : c.macroNames)
                ASSERT_LE(utf8ToUtf16(name).value_or(u"").size(), 14u);
            ASSERT_TRUE(sectionValid(std::span(c.working).first(27)));
        }
    }
}

TEST(ProfileFile, FilesOfManySizesLoadThroughTheFileSystem) {
    auto dir = test::scratchDir("profile-sizes");
    std::mt19937 rng(99);
    Window w;
    for (std::size_t size :
         {0u, 1u, 255u, 256u, 257u, 1279u, 1280u, 34047u, 34048u, 34049u, 40000u}) {
        std::vector<std::uint8_t> data(size);
        for (auto& b : data)
            b = static_cast<std::uint8_t>(rng());
        writeAll(dir / "f.bin", data);
        auto before = w.config.macros.bodies[31];
        ASSERT_TRUE(w.config.loadProfile(dir / "f.bin", w.texts)) << size;
        if (size <= kProfileFileSize - kMacroBodySize) {
            EXPECT_EQ(w.config.macros.bodies[31], before);
        }
        if (size >= 256) {
            EXPECT_TRUE(std::equal(data.begin(), data.begin() + 256, w.config.working.begin()));
        }
    }
}
