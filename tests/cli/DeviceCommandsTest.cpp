// orlixctl against the simulated mouse: the mouse stays reachable after writes and resets,
// failed reports at every position, the running report rate, --force, --device and list, and
// the state file shared by several runs.
#include "support/CliHarness.h"

#include "model/ParameterImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

using orlix::test::lines;
using orlix::test::readAll;
using orlix::test::writeAll;
using Result = orlix::test::CliResult;
namespace image = orlix::image;
using DeviceCommands = orlix::test::CliTest;

// Every run is checked for protocol violations of the simulated mouse: a wrong command
// sequence of this program shows there, even when the run itself succeeded.
Result run(std::vector<std::string> args, bool violationsExpected = false) {
    Result r = orlix::test::run(std::move(args));
    if (!violationsExpected) {
        EXPECT_EQ(r.err.find("protocol violation"), std::string::npos) << r.err;
    }
    return r;
}

bool accepted(const Result& info) {
    return info.code == orlixctl::kOk && info.out.find("result: accepted") != std::string::npos;
}

} // namespace

TEST_F(DeviceCommands, ResetOrWriteThenIdentifyOnBothEditionsAndKinds) {
    for (const char* edition : {"orlix-editor", "orlix-editor-s"}) {
        for (const char* kind : {"--simulate=basic", "--simulate=macro"}) {
            SCOPED_TRACE(std::string(edition) + " " + kind);
            const auto state = path(std::string(edition) + kind + ".bin");
            const std::vector<std::string> base = {kind, "--edition", edition, "--sim-state",
                                                   state};
            auto with = [&](std::vector<std::string> more) {
                auto args = base;
                args.insert(args.end(), more.begin(), more.end());
                return args;
            };
            ASSERT_EQ(run(with({"reset"})).code, 0);
            EXPECT_TRUE(accepted(run(with({"info"}))));
            ASSERT_EQ(run(with({"read", "-o", path("p.bin")})).code, 0);
            ASSERT_EQ(run(with({"write", path("p.bin")})).code, 0);
            EXPECT_TRUE(accepted(run(with({"info"}))));
            ASSERT_EQ(run(with({"reset"})).code, 0);
            EXPECT_TRUE(accepted(run(with({"info"}))));
        }
    }
    // A profile read from a basic mouse, written to a macro mouse.
    ASSERT_EQ(run({"--simulate=basic", "read", "-o", path("basic.bin")}).code, 0);
    const auto state = path("macro.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "write", path("basic.bin")}).code, 0);
    EXPECT_TRUE(accepted(run({"--simulate=macro", "--sim-state", state, "info"})));
}

// One failed report at every position of a basic write run: afterwards the mouse identifies,
// at worst after one forced reset; most often the write was simply sent again.
TEST_F(DeviceCommands, OneFailedReportAtEveryPositionOfABasicWrite) {
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=basic", "read", "-o", p}).code, 0);
    const auto trace = path("t.txt");
    const auto clean = path("clean.bin");
    ASSERT_EQ(
        run({"--simulate=basic", "--sim-state", clean, "--trace", trace, "write", "--full", p})
            .code,
        0);
    const std::size_t total = lines(trace).size();
    ASSERT_EQ(total, 2u + 8u + 38u + 38u + 38u + 1u);
    int forced = 0;
    for (std::size_t n = 1; n <= total; ++n) {
        SCOPED_TRACE("report " + std::to_string(n));
        const auto state = path("s" + std::to_string(n) + ".bin");
        fs::copy_file(clean, state, fs::copy_options::overwrite_existing);
        const auto w = run({"--simulate=basic", "--sim-state", state, "--sim-fail-at",
                            std::to_string(n), "write", "--full", p},
                           true);
        // Whatever failed, the run says so truly: done, or an exit code with a message.
        EXPECT_TRUE(w.code == 0 || !w.err.empty()) << w.err;
        if (accepted(run({"--simulate=basic", "--sim-state", state, "info"}, true))) continue;
        ++forced;
        ASSERT_EQ(run({"--simulate=basic", "--sim-state", state, "reset", "--force"}).code, 0);
        EXPECT_TRUE(accepted(run({"--simulate=basic", "--sim-state", state, "info"})));
    }
    EXPECT_EQ(forced, 0); // one lost report never leaves the mouse unidentifiable
}

TEST_F(DeviceCommands, WriteRefusesAfterAReadThatDidNotComplete) {
    const auto state = path("m.bin");
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", p}).code, 0);
    const auto before = readAll(state);
    // Report 150 lies in the read of the macro table.
    const auto w = run({"--simulate=macro", "--sim-state", state, "--sim-fail-at", "150", "--trace",
                        path("t.txt"), "write", p},
                       true); // the lost report cut a read short
    EXPECT_EQ(w.code, orlixctl::kTransferFailed);
    EXPECT_NE(w.err.find("nothing was taken"), std::string::npos) << w.err;
    EXPECT_EQ(readAll(state), before);
    for (const auto& l : lines(path("t.txt")))
        EXPECT_NE(l.rfind("set 40 11", 0), 0u) << "an erase was sent: " << l;
}

TEST_F(DeviceCommands, WriteEndsWithTheRatePairWhenTheRunningRateDiffers) {
    const auto state = path("m.bin");
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=basic", "--sim-state", state, "read", "-o", p}).code, 0);
    // The file asks for 1000 reports per second; the mouse runs at 500.
    auto bytes = readAll(p);
    ASSERT_EQ(bytes[image::kSectionBStart + image::kReportRate], 0x02);
    bytes[image::kSectionBStart + image::kReportRate] = 0x01;
    bytes[image::kSectionBStart + image::kSectionBSize - 1] = static_cast<std::uint8_t>(
        bytes[image::kSectionBStart + image::kSectionBSize - 1] ^ 0x03); // section B's checksum
    writeAll(p, bytes);
    const auto trace = path("t.txt");
    ASSERT_EQ(run({"--simulate=basic", "--sim-state", state, "--trace", trace, "write", p}).code,
              0);
    auto t = lines(trace);
    ASSERT_GE(t.size(), 2u);
    EXPECT_EQ(t[t.size() - 2], "set 40 03 00 01 00 00 00 00");
    EXPECT_EQ(t.back(), "set 40 18 00 00 00 00 00 00");
    // The state file remembers the rate the mouse switched to: the same file again, written
    // in full, needs only the plain reload.
    ASSERT_EQ(
        run({"--simulate=basic", "--sim-state", state, "--trace", trace, "write", "--full", p})
            .code,
        0);
    EXPECT_EQ(lines(trace).back(), "set 40 19 00 00 00 00 00 00");
    // And a reset back to the defaults' 500 switches again.
    ASSERT_EQ(run({"--simulate=basic", "--sim-state", state, "--trace", trace, "reset"}).code, 0);
    EXPECT_EQ(lines(trace).back(), "set 40 18 00 00 00 00 00 00");
}

TEST_F(DeviceCommands, StateFileOfTheOtherKindIsAClearError) {
    const auto state = path("b.bin");
    ASSERT_EQ(run({"--simulate=basic", "--sim-state", state, "info"}).code, 0);
    const auto before = readAll(state);
    const auto r = run({"--simulate=macro", "--sim-state", state, "info"});
    EXPECT_EQ(r.code, orlixctl::kFileError);
    EXPECT_NE(r.err.find("holds a simulated basic mouse"), std::string::npos) << r.err;
    EXPECT_EQ(readAll(state), before);
    // An oversized state is refused, not cut.
    auto big = before;
    big.push_back(0);
    writeAll(state, big);
    const auto o = run({"--simulate=basic", "--sim-state", state, "info"});
    EXPECT_EQ(o.code, orlixctl::kFileError);
    EXPECT_NE(o.err.find("65553 bytes"), std::string::npos) << o.err;
    EXPECT_EQ(readAll(state), big);
}

TEST_F(DeviceCommands, ForceBringsBackAMouseLeftHalfWritten) {
    const auto state = path("m.bin");
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=basic", "--sim-state", state, "read", "-o", p}).code, 0);
    // Probes 2, identification 8, read 38: the write's image command is report 49 and its
    // first data report 50; the second attempt starts at 49 + 38 + 38 = 125. Losing the
    // second piece of both shifts the identity code out of place.
    const auto w = run({"--simulate=basic", "--sim-state", state, "--sim-fail-at", "51",
                        "--sim-fail-at", "127", "write", "--full", p},
                       true);
    EXPECT_EQ(w.code, orlixctl::kTransferFailed);
    EXPECT_NE(w.err.find("sent twice"), std::string::npos) << w.err;

    const auto info = run({"--simulate=basic", "--sim-state", state, "info"});
    EXPECT_EQ(info.code, orlixctl::kRejected);
    EXPECT_NE(info.err.find("reset --force"), std::string::npos) << info.err;
    EXPECT_EQ(run({"--simulate=basic", "--sim-state", state, "reset"}).code, orlixctl::kRejected);
    EXPECT_EQ(run({"--simulate=basic", "--sim-state", state, "info", "--force"}).code,
              orlixctl::kUsage);

    const auto forced = run({"--simulate=basic", "--sim-state", state, "reset", "--force"});
    EXPECT_EQ(forced.code, 0) << forced.err;
    EXPECT_NE(forced.err.find("fails its identity test"), std::string::npos) << forced.err;
    EXPECT_TRUE(accepted(run({"--simulate=basic", "--sim-state", state, "info"})));
    // A mouse that passes needs no saying.
    const auto plain = run({"--simulate=basic", "--sim-state", state, "reset", "--force"});
    EXPECT_EQ(plain.code, 0);
    EXPECT_EQ(plain.err.find("identity test"), std::string::npos);
}

TEST_F(DeviceCommands, ListGroupsInterfacesAndDeviceChoosesOne) {
    const auto l = run({"--simulate=basic", "list"});
    EXPECT_EQ(l.code, 0);
    EXPECT_NE(l.out.find("device sim:mouse\n  sim:mouse/0  0x1BCF:0x08A6  feature report 0 bytes\n"
                         "  sim:mouse/1  0x1BCF:0x08A6  feature report 8 bytes"),
              std::string::npos)
        << l.out;
    EXPECT_TRUE(accepted(run({"--simulate=basic", "--device", "sim:mouse/1", "info"})));
    const auto none = run({"--simulate=basic", "--device", "sim:mouse/7", "info"});
    EXPECT_EQ(none.code, orlixctl::kNoDevice);
    EXPECT_NE(none.err.find("no mouse has an interface at sim:mouse/7"), std::string::npos);
    EXPECT_EQ(run({"--sim-fail-at", "3", "info"}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"--simulate=basic", "--sim-fail-at", "0", "info"}).code, orlixctl::kUsage);
}

#ifndef _WIN32
// Runs in several processes on one state file take turns: every run succeeds and the file
// ends as a mouse that identifies.
TEST_F(DeviceCommands, ConcurrentRunsOnOneStateFile) {
    const auto state = path("m.bin");
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=basic", "--sim-state", state, "read", "-o", p}).code, 0);
    std::vector<pid_t> children;
    for (int c = 0; c < 3; ++c) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::ostringstream out, err;
            int status = 0;
            for (int i = 0; i < 4 && status == 0; ++i) {
                const std::vector<std::string> args =
                    i % 2 == 0 ? std::vector<std::string>{"--simulate=basic", "--sim-state", state,
                                                          "write", p}
                               : std::vector<std::string>{"--simulate=basic", "--sim-state", state,
                                                          "reset"};
                status = orlixctl::run(args, out, err);
            }
            ::_exit(status);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    EXPECT_EQ(fs::file_size(state), 65536u + 16u);
    EXPECT_TRUE(accepted(run({"--simulate=basic", "--sim-state", state, "info"})));
}
#endif
