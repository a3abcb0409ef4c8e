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
#include <map>
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
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + kImageSize, w.config.working.begin()));
    EXPECT_TRUE(
        std::all_of(data.begin() + kImageSize, data.end(), [](auto b) { return b == 0xFF; }));
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
    image[image::kSectionBStart + image::kActiveProfile] = 1;
    sealSection(std::span(image).subspan(image::kSectionBStart, image::kSectionBSize));
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
    image[image::kSectionBStart + image::kCurrentCpiLevel] = 3; // current level 4 of 4
    image[image::kSectionBStart + image::kActiveProfile] = 2;   // reset-control profile active
    sealSection(std::span(image).subspan(image::kSectionBStart, image::kSectionBSize));
    writeAll(dir / "b.bin", image);
    ASSERT_TRUE(w.config.loadProfile(dir / "b.bin", w.texts));
    EXPECT_EQ(w.config.sections.b[image::kCurrentCpiLevel], 3);
    EXPECT_EQ(w.config.page.activeProfile, 2);
    EXPECT_EQ(w.config.page.resolution.reportRate, 500);
}

TEST(ProfileFile, ALoadedFileWithABadProfileChecksumShowsTheRepairTable) {
    auto dir = test::scratchDir("profile-bad");
    Window w;
    auto image = test::defaultResource(Edition::Editor);
    image[image::kProfileStart + image::kProfileSize - 1] ^= 0xFF;
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
            ASSERT_TRUE(sectionValid(std::span(c.working).first(image::kSectionASize)));
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
        // Random contents, but made for this mouse where the file is long enough.
        for (std::size_t i = 1; i < 6 && i < size; ++i)
            data[i] = w.config.defaults[i];
        writeAll(dir / "f.bin", data);
        auto before = w.config.macros.bodies[31];
        auto workingBefore = w.config.working;
        const bool loaded = static_cast<bool>(w.config.loadProfile(dir / "f.bin", w.texts));
        // Shorter than the image: refused, nothing changes.
        ASSERT_EQ(loaded, size >= 256) << size;
        if (!loaded) {
            EXPECT_EQ(w.config.working, workingBefore);
            continue;
        }
        EXPECT_EQ(w.config.loadedFileSize, size);
        if (size <= kProfileFileSize - kMacroBodySize) {
            EXPECT_EQ(w.config.macros.bodies[31], before);
        }
        EXPECT_TRUE(std::equal(data.begin(), data.begin() + kImageSize, w.config.working.begin()));
    }
}

TEST(ProfileFile, EmptyShortAndForeignFilesAreRefusedAndChangeNothing) {
    auto dir = test::scratchDir("profile-refused");
    Window w;
    w.texts.set("Str026", "for another mouse: its %1 is %2, this one's %3.");
    const auto good = test::defaultResource(Edition::Editor);
    const auto refused = [&](const std::vector<std::uint8_t>& data) {
        writeAll(dir / "f.bin", data);
        const auto working = w.config.working;
        const auto macros = w.config.macros;
        auto r = w.config.loadProfile(dir / "f.bin", w.texts);
        EXPECT_EQ(w.config.working, working);
        EXPECT_EQ(w.config.macros.table, macros.table);
        return r.ok ? std::string() : r.error;
    };
    EXPECT_NE(refused({}).find("is empty"), std::string::npos);
    auto shortFile = std::vector<std::uint8_t>(good.begin(), good.begin() + kImageSize - 1);
    EXPECT_NE(refused(shortFile).find("holds 255 bytes, fewer than the 256"), std::string::npos);
    EXPECT_EQ(refused(std::vector<std::uint8_t>(good.begin(), good.begin() + kImageSize)), "");

    struct Case {
        std::size_t offset;
        std::uint8_t value;
        std::string message;
    };
    for (const Case& c : {Case{1, 0x1C, "its data type is 0x1C, this one's 0x1D."},
                          Case{1, 0x3A, "its data type is 0x3A, this one's 0x1D."},
                          Case{2, 0x1A, "its vendor id is 0x1ACF, this one's 0x1BCF."},
                          Case{3, 0xCE, "its vendor id is 0x1BCE, this one's 0x1BCF."},
                          Case{4, 0x09, "its product id is 0x09A6, this one's 0x08A6."},
                          Case{5, 0xA7, "its product id is 0x08A7, this one's 0x08A6."}}) {
        auto data = good;
        data[c.offset] = c.value;
        const std::string error = refused(data);
        EXPECT_NE(error.find(c.message), std::string::npos) << c.offset << ": " << error;
        EXPECT_NE(error.find("f.bin"), std::string::npos);
    }
    // The second edition's file differs from the first's only where both are this mouse's.
    writeAll(dir / "s.bin", test::defaultResource(Edition::EditorS));
    EXPECT_TRUE(w.config.loadProfile(dir / "s.bin", w.texts));
}

TEST(ProfileFile, TheNoteOnAnOddSizeSaysWhatTheFileBrings) {
    EXPECT_EQ(profileCoverageNote(34048, true), "");
    EXPECT_EQ(profileCoverageNote(255, true), "");
    EXPECT_EQ(profileCoverageNote(34049, true),
              "holds 34049 bytes, a profile file 34048; the bytes after 34048 are ignored");
    EXPECT_EQ(profileCoverageNote(300, false),
              "holds 300 bytes, a profile file 34048; the settings image comes from the file "
              "(the mouse has no macro store)");
    const std::string head = "holds ";
    const std::map<std::uint64_t, std::string> notes{
        {256, "the settings image comes from the file; the macro table and all 32 macro bodies "
              "keep what the mouse holds"},
        {300, "the settings image and the first 44 bytes of the macro table come from the file; "
              "the rest of the table and all 32 macro bodies keep what the mouse holds"},
        {1279, "the settings image and the first 1023 bytes of the macro table come from the "
               "file; the rest of the table and all 32 macro bodies keep what the mouse holds"},
        {1280, "the settings image and the macro table come from the file; macro bodies 1 to 32 "
               "keep what the mouse holds"},
        {2305, "the settings image, the macro table, macro body 1 and the first 1 bytes of macro "
               "body 2 come from the file; the rest of that body and macro bodies 3 to 32 keep "
               "what the mouse holds"},
        {33024, "the settings image, the macro table and macro bodies 1 to 31 come from the "
                "file; macro body 32 keeps what the mouse holds"},
        {34047, "the settings image, the macro table, macro bodies 1 to 31 and the first 1023 "
                "bytes of macro body 32 come from the file; the rest of that body keeps what the "
                "mouse holds"},
    };
    for (const auto& [size, note] : notes)
        EXPECT_EQ(profileCoverageNote(size, true),
                  "holds " + std::to_string(size) + " bytes, a profile file 34048; " + note);
}

TEST(ProfileFile, EveryRepairedSectionIsNamed) {
    auto dir = test::scratchDir("profile-repairs");
    Window w;
    auto image = test::defaultResource(Edition::Editor);
    writeAll(dir / "ok.bin", image);
    ASSERT_TRUE(w.config.loadProfile(dir / "ok.bin", w.texts));
    EXPECT_FALSE(w.config.lastRepairs.any());
    EXPECT_EQ(w.config.lastRepairs.describe(), "");

    image[image::kProfileStart + image::kProfileSize - 1] ^= 0x01; // profiles
    image[image::kSectionBStart + image::kSectionBSize - 1] ^=
        0x01; // section B, which takes A along
    writeAll(dir / "bad.bin", image);
    ASSERT_TRUE(w.config.loadProfile(dir / "bad.bin", w.texts));
    EXPECT_EQ(w.config.lastRepairs.describe(),
              "section B (checksum), section A (replaced with B), profiles (checksum)");
    image[image::kSectionASize - 1] ^= 0x01;                       // section A
    image[image::kFireKeyStart + image::kFireKeySize - 1] ^= 0x01; // fire keys
    writeAll(dir / "bad.bin", image);
    ASSERT_TRUE(w.config.loadProfile(dir / "bad.bin", w.texts));
    EXPECT_EQ(w.config.lastRepairs.describe(), "section A (checksum), section B (checksum), "
                                               "fire keys (checksum), profiles (checksum)");
}

// Whatever identity code a file carries, the image written to the mouse carries the one the
// identity test compares with, or the mouse could never be identified again.
TEST(ProfileFile, TheWrittenIdentityCodeIsAlwaysTheExpectedOne) {
    for (Edition edition : {Edition::Editor, Edition::EditorS}) {
        auto dir = test::scratchDir("profile-identity");
        MapTextSource texts = test::language1Texts(edition);
        Configuration config(edition);
        config.startUp(test::defaultResource(edition), texts);
        config.identifiedDataType = kDataType1D;
        const auto expected = config.expectedIdCode();
        ASSERT_TRUE(expected);
        const auto good = test::defaultResource(edition);
        std::vector<std::vector<std::uint8_t>> files;
        for (std::size_t offset : {83u, 84u, 87u, 88u})
            for (int bit = 0; bit < 8; ++bit) {
                auto data = good;
                data[offset] = static_cast<std::uint8_t>(data[offset] ^ (1 << bit));
                files.push_back(data);
            }
        std::vector<std::uint8_t> zeros(kProfileFileSize, 0);
        std::mt19937 rng(7);
        std::vector<std::uint8_t> noise(kProfileFileSize);
        for (auto& b : noise)
            b = static_cast<std::uint8_t>(rng());
        for (auto* data : {&zeros, &noise}) {
            // data type, vendor id and product id
            std::copy(good.begin() + image::kDataType, good.begin() + image::kSpare6,
                      data->begin() + image::kDataType);
            files.push_back(*data);
        }
        for (const auto& data : files) {
            writeAll(dir / "f.bin", data);
            ASSERT_TRUE(config.loadProfile(dir / "f.bin", texts));
            config.assemble(texts, true);
            EXPECT_EQ(config.working[83], (*expected)[0]);
            EXPECT_EQ(config.working[84], (*expected)[1]);
        }
    }
}
