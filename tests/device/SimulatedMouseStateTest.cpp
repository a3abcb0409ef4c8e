// The simulated mouse's state file: what it keeps, what it refuses, and how runs share it.
#include "DeviceTestSupport.h"

#include "device/SimulatedMouseStateFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace orlix::device;
using namespace orlix::device::testing;
namespace image = orlix::image;

namespace {

std::filesystem::path freshDir(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(ORLIX_TEST_SCRATCH) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(SimulatedMouseState, KeepsKindAndRunningRate) {
    const auto dir = freshDir("state-kind");
    SimulatedMouse macro(SimulatedMouse::macroMouse(defaultImage()));
    DeviceLink link(macro);
    ASSERT_TRUE(link.openDevice(0x1BCF, 0x08A6));
    // Stored 1000, but only 0x19 sent: the mouse keeps running at 500.
    auto image = defaultImage();
    image[image::kSectionBStart + image::kReportRate] = 0x01;
    ASSERT_TRUE(link.sendCommand(0x11, 0x60, 0, 0, 0));
    ASSERT_TRUE(link.writeBlock(BlockWrite::LongAddress, protocol::kImageAddress, orlix::kImageSize,
                                image));
    ASSERT_TRUE(link.sendCommand(0x19, 0, 0, 0, 0));
    ASSERT_EQ(macro.runningReportRate(), 0x02);
    ASSERT_FALSE(macro.saveMemory(dir / "m.bin"));

    SimulatedMouse again(SimulatedMouse::macroMouse(defaultImage()));
    ASSERT_FALSE(again.loadMemory(dir / "m.bin"));
    EXPECT_EQ(again.runningReportRate(), 0x02);
    EXPECT_EQ(again.memory()[protocol::kImageAddress + image::kSectionBStart + image::kReportRate],
              0x01);

    // A macro mouse's state used for a basic mouse, and the other way round: a clear error.
    SimulatedMouse basic(SimulatedMouse::basicMouse(defaultImage()));
    const auto error = basic.loadMemory(dir / "m.bin");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("macro mouse; use --simulate=macro"), std::string::npos) << *error;
    ASSERT_FALSE(basic.saveMemory(dir / "b.bin"));
    EXPECT_TRUE(again.loadMemory(dir / "b.bin"));
}

TEST(SimulatedMouseState, SizesAreTakenOnlyExactly) {
    const auto dir = freshDir("state-sizes");
    SimulatedMouse mouse(SimulatedMouse::basicMouse(defaultImage()));
    const auto good = mouse.stateBytes();
    ASSERT_EQ(good.size(), SimulatedMouse::kStateSize);

    // The memory alone, as older runs left it: taken, rate from the stored image.
    std::vector<std::uint8_t> memoryOnly(good.begin(), good.begin() + SimulatedMouse::kMemorySize);
    memoryOnly[protocol::kImageAddress + image::kSectionBStart + image::kReportRate] = 0x01;
    writeBytes(dir / "old.bin", memoryOnly);
    ASSERT_FALSE(mouse.loadMemory(dir / "old.bin"));
    EXPECT_EQ(mouse.runningReportRate(), 0x01);

    mouse.memory()[0x9000] = 0x77;
    for (std::size_t size : {SimulatedMouse::kMemorySize - 1, SimulatedMouse::kMemorySize + 1,
                             SimulatedMouse::kStateSize - 1, SimulatedMouse::kStateSize + 1,
                             SimulatedMouse::kStateSize + 100000}) {
        SCOPED_TRACE(size);
        std::vector<std::uint8_t> bytes(size, 0x00);
        std::copy_n(good.begin(), std::min(size, good.size()), bytes.begin());
        writeBytes(dir / "odd.bin", bytes);
        const auto error = mouse.loadMemory(dir / "odd.bin");
        ASSERT_TRUE(error);
        EXPECT_NE(error->find("not a simulated mouse state file"), std::string::npos);
        EXPECT_EQ(mouse.memory()[0x9000], 0x77); // nothing taken
    }
    std::vector<std::uint8_t> wrongMagic = good;
    wrongMagic[SimulatedMouse::kMemorySize] = 'X';
    EXPECT_TRUE(mouse.restoreState(wrongMagic, "x"));
    EXPECT_FALSE(mouse.restoreState(good, "x"));
}

#ifndef _WIN32
TEST(SimulatedMouseState, SavesThroughANewFileNeverThroughAPlantedLink) {
    const auto dir = freshDir("state-link");
    const auto state = dir / "m.bin";
    const auto victim = dir / "victim.txt";
    writeBytes(victim, {'k', 'e', 'e', 'p'});
    // What the old fixed temporary name would have met.
    std::filesystem::create_symlink(victim, dir / "m.bin.tmp");
    SimulatedMouse mouse(SimulatedMouse::basicMouse(defaultImage()));
    ASSERT_FALSE(mouse.saveMemory(state));
    EXPECT_EQ(readBytes(victim), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(readBytes(state), mouse.stateBytes());
    // No temporary file is left behind.
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 3);

    // An existing state keeps its permissions; a link to a state file is written through.
    ::chmod(state.c_str(), 0640);
    ASSERT_FALSE(mouse.saveMemory(state));
    EXPECT_EQ(std::filesystem::status(state).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    std::filesystem::create_symlink(state, dir / "link.bin");
    SimulatedMouseStateFile file;
    ASSERT_FALSE(file.open(dir / "link.bin"));
    mouse.memory()[0x9000] = 0x42;
    ASSERT_FALSE(file.save(mouse));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.bin"));
    EXPECT_EQ(readBytes(state)[0x9000], 0x42);

    // A FIFO under the name is refused at once instead of holding the run.
    ASSERT_EQ(::mkfifo((dir / "fifo.bin").c_str(), 0600), 0);
    SimulatedMouseStateFile fifo;
    const auto error = fifo.open(dir / "fifo.bin");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("not a regular file"), std::string::npos);
}

// Several processes each add one to a counter in the mouse's memory, many times over, on one
// state file: with the lock none of the updates is lost and no run sees an empty file.
TEST(SimulatedMouseState, ConcurrentRunsTakeTurns) {
    const auto dir = freshDir("state-concurrent");
    const auto state = dir / "m.bin";
    constexpr int kProcesses = 4;
    constexpr int kRounds = 15;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int status = 0;
            for (int round = 0; round < kRounds && status == 0; ++round) {
                SimulatedMouse mouse(SimulatedMouse::macroMouse(defaultImage()));
                mouse.memory()[0x9000] = 0; // a new state starts the count at 0
                mouse.memory()[0x9001] = 0;
                SimulatedMouseStateFile file;
                auto error = file.open(state);
                if (!error) error = file.load(mouse);
                if (error) {
                    std::fprintf(stderr, "%s\n", error->c_str());
                    status = 1;
                }
                const int count = mouse.memory()[0x9000] << 8 | mouse.memory()[0x9001];
                mouse.memory()[0x9000] = static_cast<std::uint8_t>((count + 1) >> 8);
                mouse.memory()[0x9001] = static_cast<std::uint8_t>((count + 1) & 0xFF);
                if (status == 0 && file.save(mouse)) status = 2;
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
    SimulatedMouse result(SimulatedMouse::macroMouse(defaultImage()));
    ASSERT_FALSE(result.loadMemory(state));
    EXPECT_EQ(result.memory()[0x9000] << 8 | result.memory()[0x9001], kProcesses * kRounds);
}
#endif
