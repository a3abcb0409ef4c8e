#include "support/CliHarness.h"

#include "model/MacroStore.h"
#include "model/ParameterImage.h"
#include "model/SectionBuffers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;
using namespace orlix::test;

namespace {

using Result = CliResult;
using Orlixctl = CliTest;

namespace image = orlix::image;

// A section of `size` bytes at `start`, its checksum last.
void seal(std::vector<std::uint8_t>& bytes, std::size_t start, std::size_t size) {
    orlix::sealSection(std::span<std::uint8_t>(bytes.data() + start, size));
}

void sealA(std::vector<std::uint8_t>& b) {
    seal(b, 0, image::kSectionASize);
}
void sealB(std::vector<std::uint8_t>& b) {
    seal(b, image::kSectionBStart, image::kSectionBSize);
}
void sealProfiles(std::vector<std::uint8_t>& b) {
    seal(b, image::kProfileStart, image::kProfileSize);
}

// Where button k (0..11) of profile p keeps its code in an image.
std::ptrdiff_t codeAt(int p, int k) {
    return static_cast<std::ptrdiff_t>(image::kProfileStart + orlix::profileCodeOffset(p, k));
}

} // namespace

TEST_F(Orlixctl, WriteThenReadGivesTheProfileBack) {
    const auto state = path("m.bin");
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", p}).code, 0);
    auto bytes = readAll(p);
    ASSERT_EQ(bytes.size(), 34048u);

    // Edit the profile as a user's file might differ from the mouse: key 5 of the main
    // profile, 1000 reports per second, and a named macro 3.
    const std::uint8_t cpiUp[] = {0x09, 0x01, 0x00, 0x00};
    std::copy(std::begin(cpiUp), std::end(cpiUp), bytes.begin() + codeAt(0, 4));
    sealProfiles(bytes);
    bytes[image::kSectionBStart + image::kReportRate] = 0x01;
    sealB(bytes);
    const std::uint8_t entry[] = {0x00, 0x03, 0x00, 0x04, 0x00, 'M', 0x00, '3'};
    std::copy(std::begin(entry), std::end(entry),
              bytes.begin() + orlix::kImageSize + 2 * orlix::kMacroEntrySize);
    const std::uint8_t body[] = {0xA1, 0x21, 0x00};
    std::copy(std::begin(body), std::end(body),
              bytes.begin() + orlix::kImageSize + orlix::kMacroTableSize +
                  2 * orlix::kMacroBodySize);
    writeAll(p, bytes);

    const auto w = run({"--simulate=macro", "--sim-state", state, "write", p});
    ASSERT_EQ(w.code, 0) << w.err;
    const auto q = path("q.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", q}).code, 0);
    EXPECT_EQ(readAll(q), bytes);

    const auto shown = run({"--simulate=macro", "--sim-state", state, "show"});
    ASSERT_EQ(shown.code, 0);
    EXPECT_NE(shown.out.find("Key5  09010000  CPI +"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("Report rate: 1000"), std::string::npos);
    EXPECT_NE(shown.out.find("3  \"M3\"  3 bytes"), std::string::npos);
}

TEST_F(Orlixctl, UnplugInTheMiddleOfAWriteIsAClearError) {
    const auto state = path("m.bin");
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", p}).code, 0);
    // Probes, identification and the read before the write take 204 reports; the whole
    // write is cut in its bodies.
    const auto trace = path("trace.txt");
    const auto r = run({"--simulate=macro", "--sim-state", state, "--sim-unplug-after", "7000",
                        "--trace", trace, "write", "--full", p});
    EXPECT_EQ(r.code, orlixctl::kTransferFailed);
    EXPECT_NE(r.err.find("interrupted"), std::string::npos) << r.err;
    EXPECT_EQ(fs::file_size(state), 65536u + 16u); // memory, then kind and running rate
    const auto t = lines(trace);
    ASSERT_GT(t.size(), 7000u);
    EXPECT_EQ(t[6999].find("failed"), std::string::npos);
    EXPECT_NE(t[7000].find(" failed"), std::string::npos) << t[7000];

    // Gone before the first report: found, but it takes no reports.
    const auto gone = run({"--simulate=basic", "--sim-unplug-after", "0", "info"});
    EXPECT_EQ(gone.code, orlixctl::kNoDevice);
    EXPECT_NE(gone.err.find("neither command nor data"), std::string::npos) << gone.err;

    // The next run finds the mouse again, and the same file repairs it.
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "write", p}).code, 0);
    const auto q = path("q.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", q}).code, 0);
    EXPECT_EQ(readAll(q), readAll(p));
}

TEST_F(Orlixctl, TraceHasOneLinePerReportAndTheSequenceCounts) {
    const auto trace = path("trace.txt");
    ASSERT_EQ(run({"--simulate=basic", "--trace", trace, "read", "-o", path("b.bin")}).code, 0);
    auto t = lines(trace);
    const std::regex line("(set|get)( [0-9A-F]{2}){8}");
    for (const auto& l : t)
        ASSERT_TRUE(std::regex_match(l, line)) << l;
    // Two probes, eight identification reports, then the read of a basic mouse.
    ASSERT_EQ(t.size(), 2u + 8u + 38u);
    EXPECT_EQ(t[10], "set 40 0B 00 00 01 00 00 00");
    EXPECT_EQ(fs::file_size(path("b.bin")), 34048u);
    const auto saved = readAll(path("b.bin"));
    EXPECT_TRUE(std::all_of(saved.begin() + orlix::kImageSize, saved.end(),
                            [](auto b) { return b == 0xFF; }));

    const auto state = path("m.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", path("p.bin")}).code, 0);
    ASSERT_EQ(
        run({"--simulate=macro", "--sim-state", state, "--trace", trace, "write", path("p.bin")})
            .code,
        0);
    // A factory-fresh macro mouse holds the default image: identified at 0x6053 (12 reports);
    // the read takes image, table and copies (190), the write its sector 0x60 only (the
    // image assembled from the file differs from the factory's in bytes the assembly fills)
    // or nothing at all, and the reload.
    t = lines(trace);
    EXPECT_LE(t.size(), 2u + 12u + 190u + 1u + 38u + 152u + 38u + 148u + 1u);

    // Written again, the file changes nothing: the read alone.
    auto again =
        run({"--simulate=macro", "--sim-state", state, "--trace", trace, "write", path("p.bin")});
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_NE(again.out.find("nothing to change"), std::string::npos) << again.out;
    EXPECT_EQ(lines(trace).size(), 2u + 12u + 190u);

    // In full: all ten erases, every block, and everything read back.
    again = run({"--simulate=macro", "--sim-state", state, "--trace", trace, "write", "--full",
                 path("p.bin")});
    ASSERT_EQ(again.code, 0) << again.err;
    t = lines(trace);
    EXPECT_EQ(t.size(), 2u + 12u + 190u + 5068u + 4926u + 1u);
    EXPECT_EQ(t.back(), "set 40 19 00 00 00 00 00 00");

    ASSERT_EQ(
        run({"--simulate=macro", "--sim-state", state, "--trace", trace, "reset", "--full"}).code,
        0);
    EXPECT_EQ(lines(trace).size(), 2u + 12u + 190u + 5068u + 4926u + 1u);
}

TEST_F(Orlixctl, ShowJsonOfAFileOrTheMouse) {
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=basic", "read", "-o", p}).code, 0);
    const auto json = run({"show", "--json", p});
    ASSERT_EQ(json.code, 0) << json.err;
    for (const char* key :
         {"\"dataType\": 29", "\"vendorId\": 7119", "\"productId\": 2214", "\"cpiLevels\"",
          "\"currentLevel\": 0", "\"reportRate\": 500", "\"activeProfile\": 0", "\"lighting\"",
          "\"fireKeys\"", "{\"repeat\": 2, \"delay\": 64}", "\"profiles\"",
          "{\"button\": 1, \"code\": \"01010000\", \"function\": \"Left Key\"}", "\"macros\"",
          "{\"number\": 32, \"name\": \"\""}) {
        EXPECT_NE(json.out.find(key), std::string::npos) << key;
    }
    // The second edition's list puts 1600 at index 7.
    const auto s = run({"--edition", "orlix-editor-s", "--simulate=basic", "show", "--json"});
    ASSERT_EQ(s.code, 0) << s.err;
    EXPECT_NE(s.out.find("{\"used\": true, \"index\": 7, \"value\": 1600}"), std::string::npos)
        << s.out;
    EXPECT_NE(s.out.find("\"macros\": []"), std::string::npos); // a basic mouse has none
}

TEST_F(Orlixctl, BadInputGivesMessagesAndExitCodes) {
    EXPECT_EQ(run({}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"frobnicate"}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"write"}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"read"}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"--simulate=turbo", "info"}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"--sim-state", path("x.bin"), "info"}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"--edition", "orlix-editor-x", "info"}).code, orlixctl::kUsage);

    const auto missing = run({"show", path("missing.bin")});
    EXPECT_EQ(missing.code, orlixctl::kFileError);
    EXPECT_NE(missing.err.find("missing.bin"), std::string::npos);

    // A state file that is not one is refused and left as it was.
    const auto state = path("bad-state.bin");
    writeAll(state, std::vector<std::uint8_t>(100, 0x42));
    const auto bad = run({"--simulate=macro", "--sim-state", state, "info"});
    EXPECT_EQ(bad.code, orlixctl::kFileError);
    EXPECT_NE(bad.err.find("100 bytes"), std::string::npos) << bad.err;
    EXPECT_EQ(readAll(state), std::vector<std::uint8_t>(100, 0x42));

    // An empty profile file writes nothing; a short one is taken as far as it goes.
    const auto good = path("m.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", good, "info"}).code, 0);
    const auto before = readAll(good);
    writeAll(path("empty.bin"), {});
    EXPECT_EQ(run({"--simulate=macro", "--sim-state", good, "write", path("empty.bin")}).code,
              orlixctl::kFileError);
    EXPECT_EQ(readAll(good), before);

    const auto help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* word : {"list", "info", "read -o FILE", "write FILE", "reset", "show [FILE]",
                             "--simulate", "--sim-state", "--trace", "--edition", "--json"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
}

namespace {

// The report without its first line, which names the source.
std::string body(const std::string& report) {
    const auto newline = report.find('\n');
    return newline == std::string::npos ? report : report.substr(newline + 1);
}

std::string untilMacros(const std::string& report) {
    return report.substr(0, report.find("Macros"));
}

} // namespace

// `show FILE` is a preview of `write FILE`: after the write, the mouse shows the same, and both
// name what was repaired.
TEST_F(Orlixctl, ShowOfAFileShowsWhatTheWriteSends) {
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", path("seed.bin"), "read", "-o", p}).code, 0);
    const auto good = readAll(p);
    struct Damage {
        const char* name;
        void (*apply)(std::vector<std::uint8_t>&);
        const char* repaired; // empty: nothing to repair
    };
    const Damage damages[] = {
        {"profile checksum",
         [](auto& b) { b[image::kProfileStart + image::kProfileSize - 1] ^= 0x10; },
         "profiles (checksum)"},
        {"section B checksum",
         [](auto& b) { b[image::kSectionBStart + image::kSectionBSize - 1] ^= 0x01; },
         "section B (checksum), section A (replaced with B)"},
        {"fire-key checksum", [](auto& b) { b[image::kFireKeyStart + 7] ^= 0x04; },
         "fire keys (checksum)"},
        {"current level beyond the levels",
         [](auto& b) {
             b[image::kSectionBStart + image::kCurrentCpiLevel] = 0xFF;
             sealB(b);
         },
         ""},
        {"a level that is no value",
         [](auto& b) {
             b[image::kCpiLevel1 + 1] = 0x40;
             sealA(b);
         },
         ""},
        {"two fire-mode buttons with different groups",
         [](auto& b) {
             const std::uint8_t one[] = {0x0F, 0x01, 0x00, 0x00};
             const std::uint8_t two[] = {0x0F, 0x02, 0x03, 0x00};
             std::copy(std::begin(one), std::end(one), b.begin() + codeAt(0, 3));
             std::copy(std::begin(two), std::end(two), b.begin() + codeAt(1, 5));
             sealProfiles(b);
         },
         ""},
    };
    for (const char* kind : {"--simulate=macro", "--simulate=basic"}) {
        for (const Damage& d : damages) {
            SCOPED_TRACE(std::string(kind) + ": " + d.name);
            auto bytes = good;
            d.apply(bytes);
            const auto f = path("damaged.bin");
            writeAll(f, bytes);
            const auto state = path(std::string("state-") + (kind + 11) + ".bin");
            const auto preview = run({"show", f});
            ASSERT_EQ(preview.code, 0) << preview.err;
            const auto written = run({kind, "--sim-state", state, "write", f});
            ASSERT_EQ(written.code, 0) << written.err;
            const auto shown = run({kind, "--sim-state", state, "show"});
            ASSERT_EQ(shown.code, 0) << shown.err;
            if (std::string(kind) == "--simulate=macro")
                EXPECT_EQ(body(preview.out), body(shown.out));
            else
                EXPECT_EQ(untilMacros(body(preview.out)), untilMacros(body(shown.out)));
            const std::string repaired =
                *d.repaired ? f + ": repaired: " + d.repaired + "\n" : std::string();
            EXPECT_EQ(preview.err.find(": repaired:") != std::string::npos, *d.repaired != 0)
                << preview.err;
            if (*d.repaired) {
                EXPECT_NE(preview.err.find(repaired), std::string::npos) << preview.err;
                EXPECT_NE(written.err.find(repaired), std::string::npos) << written.err;
            }
        }
    }
}

TEST_F(Orlixctl, EmptyShortAndForeignFilesAreRefusedBeforeTheMouseIsTouched) {
    const auto state = path("m.bin");
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", p}).code, 0);
    const auto good = readAll(p);
    const auto before = readAll(state);

    struct Case {
        std::vector<std::uint8_t> bytes;
        std::string message;
    };
    std::vector<Case> cases;
    cases.push_back({{}, "is empty"});
    cases.push_back({std::vector<std::uint8_t>(good.begin(), good.begin() + 1),
                     "holds 1 bytes, fewer than the 256 of a settings image"});
    cases.push_back({std::vector<std::uint8_t>(good.begin(), good.begin() + orlix::kImageSize - 1),
                     "holds 255 bytes, fewer than the 256 of a settings image"});
    auto vendor = good;
    vendor[image::kVendorId + 1] = 0xCE;
    cases.push_back({vendor, "vendor id is 0x1BCE, this mouse's is 0x1BCF"});
    auto product = good;
    product[image::kProductId] = 0x18;
    cases.push_back({product, "product id is 0x18A6, this mouse's is 0x08A6"});
    auto type = good;
    type[image::kDataType] = 0x3A;
    cases.push_back({type, "data type is 0x3A, this mouse's is 0x1D"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const auto f = path("f.bin");
        writeAll(f, c.bytes);
        const auto trace = path("trace.txt");
        const auto w =
            run({"--simulate=macro", "--sim-state", state, "--trace", trace, "write", f});
        EXPECT_EQ(w.code, orlixctl::kFileError);
        EXPECT_NE(w.err.find(c.message), std::string::npos) << w.err;
        EXPECT_NE(w.err.find("f.bin"), std::string::npos) << w.err;
        EXPECT_TRUE(lines(trace).empty()); // not one report reached the mouse
        EXPECT_EQ(readAll(state), before);
        const auto s = run({"show", f});
        EXPECT_EQ(s.code, orlixctl::kFileError);
        EXPECT_NE(s.err.find(c.message), std::string::npos) << s.err;
        EXPECT_TRUE(s.out.empty());
    }

    // Between the image and a whole profile file: the note says what comes from the file.
    writeAll(path("short.bin"), std::vector<std::uint8_t>(good.begin(), good.begin() + 2305));
    const auto w = run({"--simulate=macro", "--sim-state", state, "write", path("short.bin")});
    ASSERT_EQ(w.code, 0) << w.err;
    EXPECT_NE(w.err.find("holds 2305 bytes, a profile file 34048; the settings image, the macro "
                         "table, macro body 1 and the first 1 bytes of macro body 2 come from "
                         "the file; the rest of that body and macro bodies 3 to 32 keep what "
                         "the mouse holds"),
              std::string::npos)
        << w.err;
}

TEST_F(Orlixctl, AFifoIsRefusedInsteadOfWaitedFor) {
    const auto fifo = path("fifo.bin");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", fifo},
          std::vector<std::string>{"--simulate=basic", "write", fifo}}) {
        const auto r = run(args);
        EXPECT_EQ(r.code, orlixctl::kFileError);
        EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
    }
}

TEST_F(Orlixctl, TheTraceMayNotNameAFileTheCommandUses) {
    const auto state = path("m.bin");
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=basic", "--sim-state", state, "read", "-o", p}).code, 0);
    const auto good = readAll(p);
    fs::create_symlink("p.bin", dir / "link.bin");
    fs::create_hard_link(p, dir / "hard.bin");
    for (const std::string& name : {p, path("link.bin"), path("hard.bin"), path("./p.bin")}) {
        SCOPED_TRACE(name);
        const auto r = run({"--simulate=basic", "--sim-state", state, "write", p, "--trace", name});
        EXPECT_EQ(r.code, orlixctl::kUsage);
        EXPECT_NE(r.err.find("--trace"), std::string::npos) << r.err;
        EXPECT_EQ(readAll(p), good);
    }
    const auto out = run({"--simulate=basic", "--sim-state", state, "read", "-o", path("new.bin"),
                          "--trace", path("new.bin")});
    EXPECT_EQ(out.code, orlixctl::kUsage);
    EXPECT_FALSE(fs::exists(path("new.bin")));
    const auto stateBefore = readAll(state);
    const auto st = run({"--simulate=basic", "--sim-state", state, "--trace", state, "info"});
    EXPECT_EQ(st.code, orlixctl::kUsage);
    EXPECT_EQ(readAll(state), stateBefore);
    // Another file is fine.
    EXPECT_EQ(
        run({"--simulate=basic", "--sim-state", state, "write", p, "--trace", path("t.txt")}).code,
        0);
}

// root passes every permission test; a file nobody may write is refused for root as well.
TEST_F(Orlixctl, ReadIntoAFileRespectsTheUsersFile) {
    const auto state = path("m.bin");
    const auto locked = path("locked.bin");
    writeAll(locked, {1, 2, 3});
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    const auto trace = path("t.txt");
    const auto r =
        run({"--simulate=basic", "--sim-state", state, "--trace", trace, "read", "-o", locked});
    EXPECT_EQ(r.code, orlixctl::kFileError);
    EXPECT_NE(r.err.find("locked.bin"), std::string::npos) << r.err;
    EXPECT_TRUE(lines(trace).empty()); // refused before the mouse was read
    EXPECT_EQ(readAll(locked), (std::vector<std::uint8_t>{1, 2, 3}));

    const auto target = path("target.bin");
    writeAll(target, {1, 2, 3});
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    fs::create_symlink("target.bin", dir / "link.bin");
    ASSERT_EQ(run({"--simulate=basic", "--sim-state", state, "read", "-o", path("link.bin")}).code,
              0);
    EXPECT_TRUE(fs::is_symlink(dir / "link.bin"));
    EXPECT_EQ(fs::file_size(target), 34048u);
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    const auto proc =
        run({"--simulate=basic", "--sim-state", state, "read", "-o", "/proc/version"});
    EXPECT_EQ(proc.code, orlixctl::kFileError);
    EXPECT_EQ(proc.err.find("No such file"), std::string::npos) << proc.err;
}

// Whatever identity code a file carries, the mouse is written with the one it is identified by.
TEST_F(Orlixctl, FilesWithAnyIdentityBytesLeaveAMouseThatIdentifies) {
    struct Kind {
        const char* option;
        std::vector<std::size_t> offsets; // where the identity test of that kind looks
    };
    // A basic mouse is identified by bytes 83..84; a macro mouse by 87..88 (the EFT section
    // for this data type) and, failing that, by 83..84.
    const Kind kinds[] = {{"--simulate=basic", {83, 84}}, {"--simulate=macro", {87, 88, 83, 84}}};
    for (const char* edition : {"orlix-editor", "orlix-editor-s"}) {
        for (const Kind& kind : kinds) {
            const auto state = path(std::string(kind.option + 11) + "-" + edition + ".bin");
            const auto p = path("p.bin");
            ASSERT_EQ(
                run({"--edition", edition, kind.option, "--sim-state", state, "read", "-o", p})
                    .code,
                0);
            const auto good = readAll(p);
            std::vector<std::vector<std::uint8_t>> files;
            for (std::size_t offset : kind.offsets)
                for (int bit = 0; bit < 8; ++bit) {
                    auto bytes = good;
                    bytes[offset] = static_cast<std::uint8_t>(bytes[offset] ^ (1 << bit));
                    files.push_back(bytes);
                }
            std::vector<std::uint8_t> zeros(34048, 0);
            std::vector<std::uint8_t> noise(34048);
            std::uint32_t x = 12345;
            for (auto& b : noise) {
                x = x * 1103515245u + 12345u;
                b = static_cast<std::uint8_t>(x >> 16);
            }
            for (auto* bytes : {&zeros, &noise}) {
                // data type, vendor id and product id
                std::copy(good.begin() + image::kDataType, good.begin() + image::kSpare6,
                          bytes->begin() + image::kDataType);
                files.push_back(*bytes);
            }
            for (std::size_t i = 0; i < files.size(); ++i) {
                SCOPED_TRACE(std::string(edition) + " " + kind.option + " file " +
                             std::to_string(i));
                writeAll(path("f.bin"), files[i]);
                const auto w = run({"--edition", edition, kind.option, "--sim-state", state,
                                    "write", path("f.bin")});
                ASSERT_EQ(w.code, 0) << w.err;
                const auto info =
                    run({"--edition", edition, kind.option, "--sim-state", state, "info"});
                EXPECT_EQ(info.code, 0) << info.out << info.err;
                EXPECT_NE(info.out.find("result: accepted"), std::string::npos);
            }
        }
    }
}

// A write cut off after the erase leaves the macro mouse's section copy erased: the report
// says so instead of showing a level 256.
TEST_F(Orlixctl, ShowOfAHalfWrittenMouseShowsNoImpossibleValues) {
    const auto state = path("m.bin");
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", p}).code, 0);
    const auto trace = path("t.txt");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "--trace", trace, "info"}).code, 0);
    const std::size_t identifyReports = lines(trace).size();
    // Identification and the read before the write, the ten erase commands and a few pieces
    // of the image.
    const auto cut = std::to_string(identifyReports + 190 + 10 + 6);
    const auto w = run({"--simulate=macro", "--sim-state", state, "--sim-unplug-after", cut,
                        "write", "--full", p});
    ASSERT_EQ(w.code, orlixctl::kTransferFailed) << w.err;
    const auto shown = run({"--simulate=macro", "--sim-state", state, "show"});
    ASSERT_EQ(shown.code, 0) << shown.err;
    EXPECT_EQ(shown.out.find("Current level: 256"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("Current level: invalid 0xFF"), std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.find("255/"), std::string::npos) << shown.out;
    const auto json = run({"--simulate=macro", "--sim-state", state, "show", "--json"});
    ASSERT_EQ(json.code, 0);
    EXPECT_NE(json.out.find("\"currentLevel\": null"), std::string::npos) << json.out;
}

TEST_F(Orlixctl, InfoAndShowSayWhoseTablesWereUsedAndOrlixEditionSetsTheDefault) {
    // ORLIX_EDITION (nullptr: unset), options -> edition tables line, JSON "from", and the
    // index `set cpi 600,1600` stores for 1600
    struct Row {
        const char* environment;
        std::vector<std::string> options;
        const char* line;
        const char* from;
        int index1600;
    };
    const Row rows[] = {
        {nullptr, {}, "orlix-editor (the default", "default", 6},
        {"orlix-editor-s", {}, "orlix-editor-s (from ORLIX_EDITION)", "environment", 7},
        {"orlix-editor", {}, "orlix-editor (from ORLIX_EDITION)", "environment", 6},
        {"orlix-editor-s",
         {"--edition", "orlix-editor"},
         "orlix-editor (from --edition)",
         "option",
         6},
        {nullptr, {"--edition=orlix-editor-s"}, "orlix-editor-s (from --edition)", "option", 7},
    };
    const char* saved = std::getenv("ORLIX_EDITION");
    const std::string savedValue = saved ? saved : "";
    for (const Row& row : rows) {
        if (row.environment)
            setenv("ORLIX_EDITION", row.environment, 1);
        else
            unsetenv("ORLIX_EDITION");
        const auto with = [&](std::vector<std::string> args) {
            args.insert(args.begin(), row.options.begin(), row.options.end());
            return run(args);
        };
        const std::string state = path("edition.bin");
        std::filesystem::remove(state);
        const auto info = with({"--simulate", "--sim-state", state, "info"});
        ASSERT_EQ(info.code, 0) << info.err;
        EXPECT_NE(info.out.find(std::string("edition tables: ") + row.line), std::string::npos)
            << info.out;
        const auto show = with({"--simulate", "--sim-state", state, "show"});
        EXPECT_NE(show.out.find(std::string("Edition tables: ") + row.line), std::string::npos)
            << show.out;
        const auto json = with({"--simulate", "--sim-state", state, "show", "--json"});
        EXPECT_NE(json.out.find(std::string("\"from\": \"") + row.from + "\""), std::string::npos)
            << json.out;
        ASSERT_EQ(with({"--simulate", "--sim-state", state, "set", "cpi", "600,1600"}).code, 0);
        const auto after = with({"--simulate", "--sim-state", state, "show", "--json"});
        EXPECT_NE(
            after.out.find("\"index\": " + std::to_string(row.index1600) + ", \"value\": 1600}"),
            std::string::npos)
            << after.out;
    }
    setenv("ORLIX_EDITION", "orlix-editor-x", 1);
    const auto bad = run({"--simulate", "info"});
    EXPECT_EQ(bad.code, orlixctl::kUsage);
    EXPECT_NE(bad.err.find("ORLIX_EDITION"), std::string::npos) << bad.err;
    EXPECT_EQ(run({"--edition", "orlix-editor", "--simulate", "info"}).code, 0);
    if (saved)
        setenv("ORLIX_EDITION", savedValue.c_str(), 1);
    else
        unsetenv("ORLIX_EDITION");
}
