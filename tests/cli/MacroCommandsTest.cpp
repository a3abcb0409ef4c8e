// orlixctl macro against the simulated macro mouse of both editions, checked through the
// profile files the mouse is read into, byte by byte.

#include "support/CliHarness.h"

#include "model/ProfileFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;
using orlix::kMacroEntryBodyLength;
using Result = orlix::test::CliResult;
using orlix::test::readAll;
using orlix::test::writeText;

using orlix::kMacroBodySize;
using orlix::kMacroEntrySize;

// Where a profile file holds the macro table and the bodies, and macro n's entry and body.
constexpr std::size_t kTable = orlix::kImageSize;
constexpr std::size_t kBodies = orlix::kImageSize + orlix::kMacroTableSize;
constexpr std::size_t kProfileSize = orlix::kProfileFileSize;
constexpr std::size_t entryAt(std::size_t n) {
    return kTable + n * kMacroEntrySize;
}
constexpr std::size_t bodyAt(std::size_t n) {
    return kBodies + n * kMacroBodySize;
}

void writeBytes(const fs::path& file, const Bytes& bytes) {
    orlix::test::writeAll(file, bytes);
}

Bytes slice(const Bytes& b, std::size_t from, std::size_t n) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
                 b.begin() + static_cast<std::ptrdiff_t>(from + n));
}

const std::string kScript = "10\n"
                            "1 Ctrl CODE:8101\n"
                            "1 A CODE:8204\n"
                            "0 120\n"
                            "2 A CODE:0204\n"
                            "2 Ctrl CODE:0101\n"
                            "0 300\n"
                            "1 LeftKey CODE:00A1\n"
                            "2 LeftKey CODE:0021\n";
const Bytes kBody{0x81, 0x01, 0x82, 0x04, 0xFE, 0x00, 0x78, 0x02, 0x04,
                  0x01, 0x01, 0xFE, 0x01, 0x2C, 0xA1, 0x21, 0x00};

class MacroCommands : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        dir = fs::path(ORLIX_TEST_SCRATCH) / ("macro-" + name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        state = (dir / "mouse.state").string();
    }

    Result run(std::vector<std::string> args, const std::string& kind = "macro") {
        std::vector<std::string> full{"--simulate=" + kind, "--sim-state", state, "--edition",
                                      GetParam()};
        full.insert(full.end(), args.begin(), args.end());
        return orlix::test::run(std::move(full));
    }
    Result runPlain(std::vector<std::string> args) { return orlix::test::run(std::move(args)); }
    // The mouse read into a profile file.
    Bytes profile() {
        const auto file = dir / "read.bin";
        EXPECT_EQ(run({"read", "-o", file.string()}).code, 0);
        return readAll(file);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }

    fs::path dir;
    std::string state;
};

} // namespace

TEST_P(MacroCommands, SetEncodesTheScriptIntoTheMouseAndShowGivesItBack) {
    writeText(path("s.txt"), kScript);
    const auto set = run({"macro", "set", "3", path("s.txt")});
    ASSERT_EQ(set.code, 0) << set.err;
    EXPECT_NE(set.out.find("8 events, 17 bytes"), std::string::npos) << set.out;

    const Bytes p = profile();
    ASSERT_EQ(p.size(), kProfileSize);
    EXPECT_EQ(slice(p, bodyAt(2), kBody.size()), kBody);
    EXPECT_EQ(p[entryAt(2)], 0x00); // BodyLength 17, big-endian
    EXPECT_EQ(p[entryAt(2) + 1], 17);
    EXPECT_EQ(p[entryAt(3) + 1], 0); // macro 4 untouched

    const auto show = run({"macro", "show", "3"});
    ASSERT_EQ(show.code, 0) << show.err;
    EXPECT_EQ(show.out, kScript);

    // What show prints is what set takes: a round trip changes nothing, also when the file
    // was saved by a Windows editor (byte-order mark, CRLF line ends).
    writeText(path("again.txt"), show.out);
    ASSERT_EQ(run({"macro", "set", "3", path("again.txt")}).code, 0);
    EXPECT_EQ(profile(), p);
    std::string windows = "\xEF\xBB\xBF";
    for (char c : show.out)
        windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    writeText(path("crlf.txt"), windows);
    ASSERT_EQ(run({"macro", "set", "3", path("crlf.txt")}).code, 0);
    EXPECT_EQ(profile(), p);
}

TEST_P(MacroCommands, SetReadsStandardInputForADash) {
    const auto setFrom = [&](const std::string& text) {
        std::istringstream in(text);
        std::ostringstream out, err;
        std::vector<std::string> args{"--simulate=macro",
                                      "--sim-state",
                                      state,
                                      "--edition",
                                      GetParam(),
                                      "macro",
                                      "set",
                                      "3",
                                      "-"};
        const int code = orlixctl::run(args, in, out, err);
        return std::pair{code, err.str()};
    };
    ASSERT_EQ(setFrom(kScript).first, 0);
    EXPECT_EQ(run({"macro", "show", "3"}).out, kScript);
    // Its limit and its line numbers are a file's; nothing is written past them.
    const Bytes before = profile();
    const auto bad = setFrom("10\nnot an event\n");
    EXPECT_EQ(bad.first, orlixctl::kFileError);
    EXPECT_NE(bad.second.find("-:2: not an event line"), std::string::npos) << bad.second;
    const auto huge = setFrom(std::string(1024 * 1024 + 1, '\n'));
    EXPECT_EQ(huge.first, orlixctl::kFileError);
    EXPECT_NE(huge.second.find("standard input holds more than"), std::string::npos) << huge.second;
    EXPECT_EQ(profile(), before);
}

TEST_P(MacroCommands, BadLinesAndOverlongMacrosWriteNothingAndNameTheLine) {
    writeText(path("s.txt"), kScript);
    ASSERT_EQ(run({"macro", "set", "1", path("s.txt")}).code, 0);
    const Bytes before = readAll(state);

    writeText(path("bad.txt"),
              "10\n1 A CODE:8204\n\n1 A CODE:0204\n"); // a release code on a press line
    auto r = run({"macro", "set", "1", path("bad.txt")});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("bad.txt:4: not an event line"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("nothing was written"), std::string::npos);

    std::string longScript = "00\n";
    for (int i = 0; i < 341; ++i)
        longScript += "0 10\n";
    writeText(path("fits.txt"), longScript);
    longScript += "2 LeftKey CODE:0021\n";
    writeText(path("long.txt"), longScript);
    r = run({"macro", "set", "1", path("long.txt")});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("long.txt:343: the macro does not fit"), std::string::npos) << r.err;
    EXPECT_EQ(readAll(state), before); // the mouse was never written

    // 341 delays and the end code fill the body exactly.
    ASSERT_EQ(run({"macro", "set", "2", path("fits.txt")}).code, 0);
    const Bytes p = profile();
    EXPECT_EQ(p[entryAt(1)], 0x04);
    EXPECT_EQ(p[entryAt(1) + 1], 0x00);
    EXPECT_EQ(p[bodyAt(1) + kMacroBodySize - 1], 0x00);

    EXPECT_EQ(run({"macro", "show", "33"}).code, 1);
    EXPECT_EQ(run({"macro", "show", "0"}).code, 1);
    EXPECT_EQ(run({"macro", "set", "1", path("missing.txt")}).code, 2);
}

TEST_P(MacroCommands, NameAndClearReachTheTable) {
    writeText(path("s.txt"), kScript);
    ASSERT_EQ(run({"macro", "set", "5", path("s.txt")}).code, 0);
    ASSERT_EQ(run({"macro", "name", "5", "Combo ×2"}).code, 0);
    Bytes p = profile();
    const Bytes entry{0x00, 17,  0x00, 16,  0x00, 'C', 0x00, 'o',  0x00, 'm',
                      0x00, 'b', 0x00, 'o', 0x00, ' ', 0x00, 0xD7, 0x00, '2'};
    EXPECT_EQ(slice(p, entryAt(4), entry.size()), entry);

    const auto list = run({"macro", "list"});
    ASSERT_EQ(list.code, 0);
    EXPECT_NE(list.out.find(" 5  Combo ×2        17 bytes\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find(" 6                  empty\n"), std::string::npos) << list.out;

    EXPECT_EQ(run({"macro", "name", "5", "fifteen chars!!"}).code, 1);
    EXPECT_EQ(run({"macro", "name", "5", ""}).code, 1);
    EXPECT_EQ(run({"macro", "name", "5", "fourteen chars"}).code, 0);

    ASSERT_EQ(run({"macro", "clear", "5"}).code, 0);
    p = profile();
    EXPECT_EQ(p[entryAt(4)], 0);
    EXPECT_EQ(p[entryAt(4) + 1], 0);
    EXPECT_EQ(p[entryAt(4) + 3], 28); // the name stays
    EXPECT_EQ(slice(p, bodyAt(4), kMacroBodySize), Bytes(kMacroBodySize, 0xFF));
    const auto show = run({"macro", "show", "5"});
    EXPECT_EQ(show.code, 0);
    EXPECT_TRUE(show.out.empty());
    EXPECT_NE(show.err.find("macro 5 is empty"), std::string::npos);
}

TEST_P(MacroCommands, ExportAndImportMoveEntriesAndBodiesAndRefuseBadFiles) {
    writeText(path("s.txt"), kScript);
    ASSERT_EQ(run({"macro", "set", "5", path("s.txt")}).code, 0);
    ASSERT_EQ(run({"macro", "name", "5", "Five"}).code, 0);
    ASSERT_EQ(run({"macro", "export", "5", path("one.bin")}).code, 0);
    ASSERT_EQ(run({"macro", "export", "all", path("all.bin")}).code, 0);
    const Bytes p = profile();
    const Bytes one = readAll(path("one.bin"));
    ASSERT_EQ(one.size(), 1056u);
    EXPECT_EQ(slice(one, 0, kMacroEntrySize), slice(p, entryAt(4), kMacroEntrySize));
    EXPECT_EQ(slice(one, kMacroEntrySize, kMacroBodySize), slice(p, bodyAt(4), kMacroBodySize));
    EXPECT_EQ(readAll(path("all.bin")), slice(p, kTable, 33792));

    ASSERT_EQ(run({"macro", "import", "9", path("one.bin")}).code, 0);
    Bytes q = profile();
    EXPECT_EQ(slice(q, entryAt(8), kMacroEntrySize), slice(p, entryAt(4), kMacroEntrySize));
    EXPECT_EQ(slice(q, bodyAt(8), kMacroBodySize), slice(p, bodyAt(4), kMacroBodySize));
    EXPECT_NE(run({"macro", "list"}).out.find(" 9  Five"), std::string::npos);

    // Bad files are refused before anything is read or written.
    const Bytes before = readAll(state);
    writeBytes(path("short.bin"), slice(one, 0, 1000));
    auto r = run({"macro", "import", "2", path("short.bin")});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("nothing was written"), std::string::npos);
    EXPECT_EQ(run({"macro", "import", "all", path("one.bin")}).code, 2);
    EXPECT_EQ(readAll(state), before);

    // A length over 1024 is an empty macro, not a bad file: every export comes back, even a
    // store of 0xFF as a profile of a basic mouse leaves it.
    Bytes longLength = one;
    longLength[kMacroEntryBodyLength] = 0x04;
    longLength[kMacroEntryBodyLength + 1] = 0x01;
    writeBytes(path("long.bin"), longLength);
    EXPECT_EQ(run({"macro", "import", "2", path("long.bin")}).code, 0);
    EXPECT_EQ(slice(profile(), entryAt(1) + kMacroEntryBodyLength, 2), (Bytes{0x04, 0x01}));
    writeBytes(path("erased.bin"), Bytes(33792, 0xFF));
    ASSERT_EQ(run({"macro", "import", "all", path("erased.bin")}).code, 0);
    ASSERT_EQ(run({"macro", "export", "all", path("again.bin")}).code, 0);
    const Bytes again = readAll(path("again.bin"));
    ASSERT_EQ(again.size(), 33792u);
    for (std::size_t n = 0; n < 32; ++n) // the names went through the mouse's write
        EXPECT_EQ(slice(again, 32 * n, 2), (Bytes{0xFF, 0xFF})) << n;
    EXPECT_EQ(slice(again, 1024, 32768), Bytes(32768, 0xFF));
    EXPECT_EQ(run({"macro", "import", "all", path("again.bin")}).code, 0);

    // Import all puts back the whole store as exported.
    ASSERT_EQ(run({"macro", "clear", "5"}).code, 0);
    ASSERT_EQ(run({"macro", "import", "all", path("all.bin")}).code, 0);
    EXPECT_EQ(slice(profile(), kTable, 33792), slice(p, kTable, 33792));
}

TEST_P(MacroCommands, FileEditsChangeOnlyTheMacroBytesOfTheProfile) {
    writeText(path("s.txt"), kScript);
    ASSERT_EQ(run({"macro", "set", "1", path("s.txt")}).code, 0);
    const Bytes original = profile();
    const std::string file = path("read.bin");

    auto r =
        runPlain({"--edition", GetParam(), "macro", "set", "7", path("s.txt"), "--file", file});
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(runPlain({"macro", "name", "7", "Seven", "--file", file}).code, 0);
    const Bytes edited = readAll(file);
    ASSERT_EQ(edited.size(), kProfileSize);
    Bytes expected = original;
    const Bytes entry{0x00, 17, 0x00, 10, 0x00, 'S', 0x00, 'e', 0x00, 'v', 0x00, 'e', 0x00, 'n'};
    std::copy(entry.begin(), entry.end(), expected.begin() + entryAt(6));
    std::copy(kBody.begin(), kBody.end(), expected.begin() + bodyAt(6));
    EXPECT_EQ(edited, expected);

    const auto show = runPlain({"macro", "show", "7", "--file", file});
    EXPECT_EQ(show.out, kScript);
    EXPECT_NE(runPlain({"macro", "list", "--file", file}).out.find(" 7  Seven"), std::string::npos);

    ASSERT_EQ(runPlain({"macro", "clear", "7", "--file", file}).code, 0);
    const Bytes cleared = readAll(file);
    EXPECT_EQ(slice(cleared, 0, entryAt(6)), slice(expected, 0, entryAt(6)));
    EXPECT_EQ(slice(cleared, bodyAt(6), kMacroBodySize), Bytes(kMacroBodySize, 0xFF));

    // Files that are no profile are refused and left as they are.
    writeBytes(path("short.bin"), Bytes(1000, 0));
    EXPECT_EQ(runPlain({"macro", "clear", "1", "--file", path("short.bin")}).code, 2);
    EXPECT_EQ(readAll(path("short.bin")), Bytes(1000, 0));
    EXPECT_EQ(runPlain({"macro", "list", "--file", path("none.bin")}).code, 2);
}

TEST_P(MacroCommands, ABasicMouseHasNoMacroStore) {
    const auto r = run({"macro", "list"}, "basic");
    EXPECT_EQ(r.code, 4);
    EXPECT_NE(r.err.find("no macro store"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(run({"macro", "clear", "1"}, "basic").code, 4);
    EXPECT_EQ(run({"macro", "frobnicate"}).code, 1);
}

INSTANTIATE_TEST_SUITE_P(BothEditions, MacroCommands,
                         ::testing::Values("orlix-editor", "orlix-editor-s"),
                         [](const auto& param) {
                             return param.param == "orlix-editor" ? std::string("Editor")
                                                                  : std::string("EditorS");
                         });
