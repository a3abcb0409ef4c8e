#include "model/Backups.h"

#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <vector>

using namespace orlix;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::chrono::system_clock::time_point at(int secondsAfter) {
    return std::chrono::system_clock::time_point(
        std::chrono::seconds(1'765'000'000 + secondsAfter));
}

} // namespace

TEST(Backups, KeepsTheNewestTwentyNewestFirstAndLeavesOtherFilesAlone) {
    const auto dir = test::scratchDir("backups-keep");
    BackupStore store(dir / "backups");
    std::ofstream(dir / "backups-marker"); // outside the folder
    for (int i = 0; i < 23; ++i) {
        const std::vector<std::uint8_t> profile(34048, static_cast<std::uint8_t>(i));
        ASSERT_TRUE(store.save(profile, at(i * 61)));
        if (i == 0) std::ofstream(dir / "backups" / "notes.txt") << "mine";
    }
    const auto all = store.list();
    ASSERT_EQ(all.size(), BackupStore::kKeep);
    // The newest holds the last bytes written, the oldest kept is the fourth one saved.
    EXPECT_EQ(bytesOf(all.front().path), std::vector<std::uint8_t>(34048, 22));
    EXPECT_EQ(bytesOf(all.back().path), std::vector<std::uint8_t>(34048, 3));
    for (std::size_t i = 1; i < all.size(); ++i)
        EXPECT_GT(all[i - 1].taken, all[i].taken);
    EXPECT_TRUE(fs::exists(dir / "backups" / "notes.txt"));
    EXPECT_EQ(fs::status(dir / "backups").permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST(Backups, TwoInOneSecondAreBothKeptInOrder) {
    const auto dir = test::scratchDir("backups-same-second");
    BackupStore store(dir, 3);
    for (int v = 1; v <= 4; ++v)
        ASSERT_TRUE(
            store.save(std::vector<std::uint8_t>(34048, static_cast<std::uint8_t>(v)), at(0)));
    const auto all = store.list();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(bytesOf(all[0].path), std::vector<std::uint8_t>(34048, 4));
    EXPECT_EQ(bytesOf(all[2].path), std::vector<std::uint8_t>(34048, 2));
    EXPECT_EQ(all[0].taken.size(), 19u);
    EXPECT_EQ(all[0].taken[10], ' ');
}

TEST(Backups, AFolderThatCannotBeMadeIsAClearError) {
    const auto dir = test::scratchDir("backups-blocked");
    std::ofstream(dir / "file") << "x";
    BackupStore store(dir / "file" / "backups");
    const FileResult r = store.save(std::vector<std::uint8_t>(4, 0));
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("backup folder"), std::string::npos) << r.error;
    EXPECT_TRUE(store.list().empty());
}

TEST(Backups, FolderFollowsXdgDataHome) {
    ::setenv("XDG_DATA_HOME", "/data/u", 1);
    EXPECT_EQ(defaultBackupFolder(), fs::path("/data/u/orlix-editor/backups"));
    ::setenv("XDG_DATA_HOME", "relative", 1); // not absolute: ignored, as the basedir rules say
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(defaultBackupFolder(), fs::path("/home/u/.local/share/orlix-editor/backups"));
    // The simulated mouse's backups stand beside the real ones, never among them.
    EXPECT_EQ(defaultBackupFolder(BackupsOf::SimulatedMouse),
              fs::path("/home/u/.local/share/orlix-editor/simulated-mouse-backups"));
    ::setenv("XDG_DATA_HOME", "/data/u", 1);
    EXPECT_EQ(defaultBackupFolder(BackupsOf::SimulatedMouse),
              fs::path("/data/u/orlix-editor/simulated-mouse-backups"));
}

TEST(Backups, FolderOnWindowsIsTheApplicationDataFolder) {
    struct Row {
        const char* xdg;
        const char* home;
        const char* appData;
        const char* folder;
    };
    for (const Row& r :
         {Row{nullptr, nullptr, "/appdata/u", "/appdata/u/orlix-editor/backups"},
          Row{nullptr, "/home/u", "/appdata/u", "/home/u/.local/share/orlix-editor/backups"},
          Row{nullptr, nullptr, "relative", ""}, Row{nullptr, nullptr, nullptr, ""}}) {
        for (auto [name, value] : {std::pair{"XDG_DATA_HOME", r.xdg}, std::pair{"HOME", r.home},
                                   std::pair{"APPDATA", r.appData}}) {
            if (value != nullptr)
                ::setenv(name, value, 1);
            else
                ::unsetenv(name);
        }
        EXPECT_EQ(defaultBackupFolder(), fs::path(r.folder)) << (r.appData ? r.appData : "-");
    }
}
