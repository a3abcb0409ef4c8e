// Command line and the single-instance socket.
#include "shell/Options.h"
#include "shell/SingleInstance.h"
#include "support/Scratch.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace orlix;
using shell::Options;
using shell::parseOptions;

TEST(Options, SimulateTakesAnOptionalKind) {
    // A bare --simulate is the macro mouse, as for orlixctl; the kind may follow with = or
    // as the next argument, and only a kind is taken from there.
    struct Row {
        std::vector<std::string> args;
        Options::Simulate simulate;
        std::optional<std::string> screenshot;
    };
    const Row rows[] = {
        {{}, Options::Simulate::Off, {}},
        {{"--simulate"}, Options::Simulate::Macro, {}},
        {{"--simulate=basic"}, Options::Simulate::Basic, {}},
        {{"--simulate=macro"}, Options::Simulate::Macro, {}},
        {{"--simulate", "basic"}, Options::Simulate::Basic, {}},
        {{"--simulate", "macro"}, Options::Simulate::Macro, {}},
        {{"--simulate", "--screenshot", "out"}, Options::Simulate::Macro, "out"},
        {{"--screenshot", "basic", "--simulate"}, Options::Simulate::Macro, "basic"},
        {{"-platform", "offscreen", "--simulate", "basic"}, Options::Simulate::Basic, {}},
    };
    for (const Row& r : rows) {
        const Options o = parseOptions(r.args);
        EXPECT_TRUE(o.error.empty()) << testing::PrintToString(r.args) << ": " << o.error;
        EXPECT_EQ(o.simulate, r.simulate) << testing::PrintToString(r.args);
        EXPECT_EQ(o.screenshotDir, r.screenshot) << testing::PrintToString(r.args);
    }
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--simulate=usb"}, {"--simulate="}, {"--simulate", "usb"}})
        EXPECT_FALSE(parseOptions(bad).error.empty()) << testing::PrintToString(bad);
}

TEST(Options, ScreenshotNeedsAFolder) {
    EXPECT_EQ(parseOptions({"--screenshot", "out"}).screenshotDir, "out");
    EXPECT_EQ(parseOptions({"--screenshot=out"}).screenshotDir, "out");
    EXPECT_FALSE(parseOptions({"--screenshot"}).error.empty());
    EXPECT_FALSE(parseOptions({"--screenshot="}).error.empty());
    EXPECT_FALSE(parseOptions({"stray"}).error.empty());
    EXPECT_FALSE(parseOptions({"--wireless"}).error.empty());
    EXPECT_TRUE(parseOptions({"--help"}).help);
    EXPECT_TRUE(parseOptions({"-h"}).help);
    EXPECT_TRUE(parseOptions({"--version"}).version);
    EXPECT_FALSE(parseOptions({"--help"}).version);
}

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test_shell_parts";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// A process that listens on `path` as `uid` and answers every request "raised", as a copy
// of the program would. Returns its pid once it listens.
pid_t fakeCopy(const std::string& path, uid_t uid) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid != 0) {
        ::close(ready[1]);
        char c = 0;
        if (::read(ready[0], &c, 1) != 1) return -1;
        ::close(ready[0]);
        return pid;
    }
    if (uid != ::geteuid() && ::setuid(uid) != 0) ::_exit(2);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 4) != 0)
        ::_exit(3);
    if (::write(ready[1], "x", 1) != 1) ::_exit(4);
    for (;;) {
        const int client = ::accept(fd, nullptr, nullptr);
        if (client < 0) continue;
        char buffer[16];
        if (::read(client, buffer, sizeof buffer) > 0 && ::write(client, "raised\n", 7) != 7) {
        }
        ::close(client);
    }
}

void stop(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

} // namespace

TEST(SingleInstance, TheSocketFolderIsPrivateAndThisUsers) {
    const auto dir = test::scratchDir("instance-folder");
    const QString base = QString::fromStdString(dir.string());
    const std::string own = (dir / ("orlix-editor-" + std::to_string(::geteuid()))).string();
    const QString folder = shell::SingleInstance::privateFolder(base);
    EXPECT_EQ(folder.toStdString(), own);
    struct stat st {};
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Opened up by someone: closed again.
    ASSERT_EQ(::chmod(own.c_str(), 0777), 0);
    EXPECT_EQ(shell::SingleInstance::privateFolder(base).toStdString(), own);
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // A link or a file in its place is not used.
    std::filesystem::remove_all(own);
    std::filesystem::create_directories(dir / "elsewhere");
    std::filesystem::create_directory_symlink(dir / "elsewhere", own);
    EXPECT_TRUE(shell::SingleInstance::privateFolder(base).isEmpty());
    std::filesystem::remove(own);
    std::ofstream(own) << "x";
    EXPECT_TRUE(shell::SingleInstance::privateFolder(base).isEmpty());
    std::filesystem::remove(own);

    // Without a runtime folder, the socket lives in the private folder of the temp folder
    // (a short one: a socket path must fit sockaddr_un).
    char shortTemplate[] = "/tmp/orlix-si-XXXXXX";
    ASSERT_NE(::mkdtemp(shortTemplate), nullptr);
    const std::string shortBase = shortTemplate;
    const std::string shortOwn = shortBase + "/orlix-editor-" + std::to_string(::geteuid());
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray tmp = qgetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(QString::fromStdString(shortBase)));
    const QString name = shell::SingleInstance::defaultName();
    qputenv("XDG_RUNTIME_DIR", runtime);
    if (tmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", tmp);
    EXPECT_EQ(name.toStdString(), shortOwn + "/orlix-gaming-mouse-v1.0");
    std::filesystem::remove_all(shortBase);

    if (::geteuid() != 0) GTEST_SKIP() << "a folder of another user needs root to make";
    std::filesystem::create_directories(own);
    ASSERT_EQ(::chown(own.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(own.c_str(), 0700), 0);
    EXPECT_TRUE(shell::SingleInstance::privateFolder(base).isEmpty());
}

// Whatever another user's socket answers, this program still starts.
TEST(SingleInstance, AnotherUsersSocketIsNotARunningCopy) {
    app();
    const auto dir = test::scratchDir("instance-peer");
    ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
    const std::string path = (dir / "s").string();
    const QString name = QString::fromStdString(path);

    // This user's copy is found: the check can tell the two apart.
    pid_t own = fakeCopy(path, ::geteuid());
    ASSERT_GT(own, 0);
    EXPECT_TRUE(shell::SingleInstance(name).raiseRunningCopy(2000));
    stop(own);
    std::filesystem::remove(path);

    if (::geteuid() != 0) GTEST_SKIP() << "another user's process needs root to start";
    pid_t other = fakeCopy(path, 65534);
    ASSERT_GT(other, 0);
    shell::SingleInstance instance(name);
    EXPECT_FALSE(instance.raiseRunningCopy(2000));
    EXPECT_NE(instance.start([] {}), shell::SingleInstance::Start::AlreadyRunning);
    stop(other);
}
