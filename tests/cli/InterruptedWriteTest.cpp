#include "support/CliHarness.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <sstream>

using namespace orlix::test;

namespace {

class InterruptedWrite : public CliTestWithOwnData {
protected:
    std::vector<std::string> sim(std::vector<std::string> args) const {
        std::vector<std::string> all = {"--simulate=macro", "--sim-state", path("m.bin")};
        all.insert(all.end(), args.begin(), args.end());
        return all;
    }
    // 1-based number of the first trace line starting with `prefix`.
    static std::size_t firstLine(const std::vector<std::string>& trace, const std::string& prefix) {
        for (std::size_t i = 0; i < trace.size(); ++i)
            if (trace[i].rfind(prefix, 0) == 0) return i + 1;
        return 0;
    }
};

// The command line the run printed for putting the backup back, without "orlixctl".
std::vector<std::string> restoreLine(const std::string& err) {
    const std::string mark = "before this run:\n  orlixctl ";
    const auto at = err.find(mark);
    if (at == std::string::npos) return {};
    std::istringstream words(
        err.substr(at + mark.size(), err.find('\n', at + mark.size()) - at - mark.size()));
    std::vector<std::string> args;
    for (std::string w; words >> w;)
        args.push_back(w);
    return args;
}

} // namespace

// SIGINT or SIGTERM at points of a macro write (it arrives while report `at` is exchanged): the
// block under way ends, no command follows, the run says so with exit 5 and the restore command,
// and that command puts the mouse back.
TEST_F(InterruptedWrite, SignalFinishesTheBlockSendsNothingMoreAndTheBackupRestores) {
    ASSERT_EQ(run(sim({"read", "-o", path("before.bin")})).code, 0);
    ASSERT_EQ(run(sim({"set", "rate", "1000"})).code, 0); // something to write back
    ASSERT_EQ(run(sim({"read", "-o", path("changed.bin")})).code, 0);
    ASSERT_EQ(run(sim({"--no-backup", "--trace", path("clean.txt"), "write", "--full",
                       path("before.bin")}))
                  .code,
              0);
    ASSERT_EQ(run(sim({"--no-backup", "write", "--full", path("changed.bin")})).code, 0);
    const auto clean = lines(path("clean.txt"));
    const std::size_t erase = firstLine(clean, "set 40 11");
    const std::size_t image = firstLine(clean, "set 40 12 60 00 01 00");
    ASSERT_GT(erase, 0u);
    ASSERT_GT(image, erase);
    struct Case {
        const char* name;
        std::size_t at;
        bool halfWritten; // the mouse may be left so
    };
    const Case cases[] = {
        {"before the erase", erase - 1, false},
        {"among the erase commands", erase + 4, true},
        {"inside the image block", image + 5, true},
        {"among the macro bodies", image + 400, true},
        {"SIGTERM inside the image block", image + 9, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(path("data"));
        const std::string at = std::to_string(c.at) + (c.name[0] == 'S' ? ":TERM" : "");
        const auto r = run(sim({"--trace", path("t.txt"), "--sim-signal-at", at, "write", "--full",
                                path("before.bin")}));
        EXPECT_EQ(r.code, orlixctl::kTransferFailed) << r.err;
        EXPECT_NE(r.err.find(c.name[0] == 'S' ? "stopped by SIGTERM" : "stopped by SIGINT"),
                  std::string::npos)
            << r.err;
        // The report the signal came with goes; after it, nothing but the data pieces of the
        // block under way.
        const auto trace = lines(path("t.txt"));
        ASSERT_GE(trace.size(), c.at);
        EXPECT_LE(trace.size(), c.at + 37);
        for (std::size_t i = c.at; i < trace.size(); ++i)
            EXPECT_EQ(trace[i].rfind("set 40", 0), std::string::npos) << i << ": " << trace[i];
        const auto restore = restoreLine(r.err);
        EXPECT_EQ(!restore.empty(), c.halfWritten) << r.err;
        if (restore.empty()) continue;
        const auto restored = run(restore);
        ASSERT_EQ(restored.code, 0) << restored.err;
        ASSERT_EQ(run(sim({"read", "-o", path("after.bin")})).code, 0);
        EXPECT_EQ(readAll(path("after.bin")), readAll(path("changed.bin")));
    }
}

// A run killed outright leaves the memory as the blocks so far made it; the next run tells
// the mouse is half-written, and show and read say so too.
TEST_F(InterruptedWrite, KilledRunLeavesAHalfWrittenMouseThatIsTold) {
    ASSERT_EQ(run(sim({"read", "-o", path("before.bin")})).code, 0);
    ASSERT_EQ(run(sim({"--no-backup", "--trace", path("clean.txt"), "write", "--full",
                       path("before.bin")}))
                  .code,
              0);
    const auto clean = lines(path("clean.txt"));
    const std::size_t image = firstLine(clean, "set 40 12 60 00 01 00");
    ASSERT_GT(image, 0u);
    struct Case {
        const char* name;
        std::size_t at;
        const char* sign;
    };
    // KILL comes before report `at` is sent.
    const Case cases[] = {
        {"after the erase", image, "image is erased"},
        {"before the macro table", firstLine(clean, "set 40 12 64 00 01 00"), "macro table"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            run(sim({"--no-backup", "--sim-signal-at", std::to_string(c.at) + ":KILL", "write",
                     "--full", path("before.bin")}));
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        const auto info = run(sim({"info"}));
        EXPECT_EQ(info.code, 0);
        EXPECT_NE(info.out.find("result: half-written"), std::string::npos) << info.out;
        EXPECT_NE(info.out.find(c.sign), std::string::npos) << info.out;
        EXPECT_EQ(info.out.find("result: accepted"), std::string::npos) << info.out;
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"show"}, {"read", "-o", path("half.bin")}}) {
            const auto r = run(sim(args));
            EXPECT_NE(r.err.find("looks half-written"), std::string::npos) << args[0] << r.err;
        }
        ASSERT_EQ(run(sim({"--no-backup", "write", "--full", path("before.bin")})).code, 0);
        EXPECT_NE(run(sim({"info"})).out.find("result: accepted"), std::string::npos);
    }
}
