#include "support/CliHarness.h"

#include "model/ParameterImage.h"

#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <span>

using namespace orlix::test;

namespace {

class RefusedInput : public CliTestWithOwnData {
protected:
    void SetUp() override {
        CliTestWithOwnData::SetUp();
        ASSERT_EQ(ctl({"reset"}).code, 0);
    }
    CliResult ctl(std::vector<std::string> args) const {
        std::vector<std::string> all = {"--simulate=macro", "--sim-state", path("m.bin")};
        all.insert(all.end(), args.begin(), args.end());
        return run(all);
    }
};

constexpr std::size_t kProfiles = 110; // the profile section in a profile file of layout 0x1D

} // namespace

TEST_F(RefusedInput, MacroScriptsAreReadOnlyFromRegularFilesOfASaneSize) {
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    fs::create_directories(path("folder"));
    std::string big;
    while (big.size() <= 1024 * 1024)
        big += "\n";
    big += "1 LeftKey CODE:00A1\n";
    writeAll(path("big.txt"), std::vector<std::uint8_t>(big.begin(), big.end()));
    struct Case {
        std::string file;
        const char* reason;
    };
    const Case cases[] = {
        {path("folder"), "Is a directory"},    {path("fifo"), "not a regular file"},
        {"/dev/zero", "not a regular file"},   {path("big.txt"), "more than 1048576 bytes"},
        {path("missing.txt"), "No such file"},
    };
    const auto before = readAll(path("m.bin"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto r = ctl({"macro", "set", "1", c.file});
        EXPECT_EQ(r.code, orlixctl::kFileError);
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
        EXPECT_EQ(readAll(path("m.bin")), before);
    }
}

TEST_F(RefusedInput, DeeplyNestedJsonIsRefusedWithWhereItGoesTooDeep) {
    struct Case {
        std::string text;
        const char* where; // nullptr: not refused for its depth
    };
    const Case cases[] = {
        {std::string(50000, '['), "line 1, column 65"},
        {"{\n  \"a\": " + std::string(70, '{'), "line 2, column 71"},
        {"[\"" + std::string(100, '[') + "\"]", nullptr}, // brackets in a string
        {std::string(64, '[') + std::string(64, ']'), nullptr},
    };
    const auto before = readAll(path("m.bin"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        writeAll(path("deep.json"), std::vector<std::uint8_t>(c.text.begin(), c.text.end()));
        for (const char* command : {"show", "write"}) {
            const auto r = ctl({command, path("deep.json")});
            EXPECT_NE(r.code, 0) << command;
            const bool deep = r.err.find("nested deeper than 64 levels") != std::string::npos;
            EXPECT_EQ(deep, c.where != nullptr) << command << ": " << r.err;
            if (c.where) {
                EXPECT_NE(r.err.find(c.where), std::string::npos) << r.err;
            }
        }
        EXPECT_EQ(readAll(path("m.bin")), before);
    }
}

// A file in which a profile lost Left Key is refused unless forced, whichever profile it is.
TEST_F(RefusedInput, AConfigurationThatCannotClickIsWrittenOnlyWhenForced) {
    ASSERT_EQ(ctl({"read", "-o", path("p.bin")}).code, 0);
    const auto sound = readAll(path("p.bin"));
    struct Case {
        int profile;
        const char* name;
    };
    const Case cases[] = {{0, "main"}, {1, "alternate"}, {2, "reset-control"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto bytes = sound;
        // Button 1 becomes Right Key: two Right Keys, no Left Key.
        bytes[kProfiles + 48 * static_cast<std::size_t>(c.profile) + 1] = 0x02;
        orlix::sealSection(std::span<std::uint8_t>(bytes.data() + kProfiles, 145));
        writeAll(path("clickless.bin"), bytes);
        const auto before = readAll(path("m.bin"));
        const auto refused = ctl({"write", path("clickless.bin")});
        EXPECT_EQ(refused.code, orlixctl::kFileError);
        EXPECT_NE(refused.err.find(std::string("the ") + c.name + " profile is Left Key"),
                  std::string::npos)
            << refused.err;
        EXPECT_EQ(readAll(path("m.bin")), before);
        const auto forced = ctl({"write", "--force", path("clickless.bin")});
        EXPECT_EQ(forced.code, 0) << forced.err;
        ASSERT_EQ(ctl({"write", path("p.bin")}).code, 0);
    }
}
