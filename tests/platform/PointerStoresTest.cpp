// The pointer-settings stores of this platform: the file store of tests and demo runs, and
// GNOME's settings through the gsettings program on a scratch keyfile backend.
#include "platform/PointerSettings.h"
#include "platform/posix/GnomePointerSettingsStore.h"
#include "rules/PointerScales.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace orlix;
using platform::GnomePointerSettingsStore;
using platform::PointerSetting;
using platform::PointerUpdate;
using platform::PointerValues;

namespace {

// Points GSettings at a keyfile of its own and sets the desktop for the time of a test.
class GnomeEnvironment {
public:
    explicit GnomeEnvironment(const std::string& name, const char* desktop = "ubuntu:GNOME")
        : dir_(test::scratchDir(name)) {
        keep("GSETTINGS_BACKEND", "keyfile");
        keep("XDG_CONFIG_HOME", dir_.c_str());
        keep("XDG_CURRENT_DESKTOP", desktop);
    }
    ~GnomeEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    std::string keyfile() const {
        std::ifstream in(dir_ / "glib-2.0" / "settings" / "keyfile");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    void keep(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name, value, 1);
    }
    std::filesystem::path dir_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

bool gnomeSchemaInstalled() {
    return platform::runProgram({"gsettings", "list-keys", GnomePointerSettingsStore::kSchema})
        .has_value();
}

} // namespace

TEST(FilePointerStore, MissingFileReadsAsNoValuesAndWritesKeepOthers) {
    const auto dir = test::scratchDir("pointer-store");
    platform::FilePointerSettingsStore store(dir / "sub" / "pointer-settings");
    EXPECT_EQ(store.read(), PointerValues{});

    PointerUpdate first;
    first.write.speed = 10;
    first.write.wheelLines = 3;
    ASSERT_TRUE(store.apply(first).ok());
    PointerUpdate second;
    second.write.doubleClick = 550;
    second.reapply.speed = 4; // only re-applied: the file keeps what it holds
    ASSERT_TRUE(store.apply(second).ok());

    const auto read = store.read();
    EXPECT_EQ(read.speed, 10);
    EXPECT_EQ(read.wheelLines, 3);
    EXPECT_EQ(read.doubleClick, 550);
}

TEST(FilePointerStore, MissingFileCanStandForStartingValues) {
    const auto dir = test::scratchDir("pointer-start");
    platform::FilePointerSettingsStore store(dir / "pointer-settings", {10, 550, 3});
    EXPECT_EQ(store.read(), (PointerValues{10, 550, 3}));
    EXPECT_FALSE(std::filesystem::exists(dir / "pointer-settings")); // reading writes nothing
    PointerUpdate update;
    update.write.speed = 16;
    ASSERT_TRUE(store.apply(update).ok());
    EXPECT_EQ(store.read(), (PointerValues{16, 550, 3}));
}

TEST(FilePointerStore, DamagedLinesAreSkipped) {
    const auto dir = test::scratchDir("pointer-damaged");
    {
        std::ofstream out(dir / "pointer-settings");
        out << "PointerSpeed=12\nDoubleClickTime=fast\nnonsense\nWheelScrollLines= 7 \n";
    }
    platform::FilePointerSettingsStore store(dir / "pointer-settings");
    const auto read = store.read();
    EXPECT_EQ(read.speed, 12);
    EXPECT_FALSE(read.doubleClick.has_value());
    EXPECT_EQ(read.wheelLines, 7);
}

TEST(FilePointerStore, UnwritableFileIsReportedAsAFailure) {
    const auto dir = test::scratchDir("pointer-unwritable");
    std::filesystem::create_directories(dir / "pointer-settings" / "in-the-way");
    platform::FilePointerSettingsStore store(dir / "pointer-settings");
    PointerUpdate update;
    update.write.speed = 6;
    EXPECT_FALSE(store.apply(update).ok());
}

TEST(RunProgram, OutputAndExitStatus) {
    EXPECT_EQ(platform::runProgram({"echo", "a b", "c"}), "a b c\n");
    EXPECT_FALSE(platform::runProgram({"false"}).has_value());
    EXPECT_FALSE(platform::runProgram({"orlix-no-such-program-here"}).has_value());
    EXPECT_FALSE(platform::runProgram({}).has_value());
}

TEST(GnomePointerStore, SpeedScaleMapsTheTableAndClamps) {
    EXPECT_DOUBLE_EQ(GnomePointerSettingsStore::toGnomeSpeed(10), 0.0);
    EXPECT_DOUBLE_EQ(GnomePointerSettingsStore::toGnomeSpeed(1), -0.9);
    EXPECT_DOUBLE_EQ(GnomePointerSettingsStore::toGnomeSpeed(18), 0.8);
    EXPECT_DOUBLE_EQ(GnomePointerSettingsStore::toGnomeSpeed(20), 1.0);
    EXPECT_DOUBLE_EQ(GnomePointerSettingsStore::toGnomeSpeed(40), 1.0);
    EXPECT_DOUBLE_EQ(GnomePointerSettingsStore::toGnomeSpeed(-5), -1.0);
    for (int v = 1; v <= 20; ++v)
        EXPECT_EQ(
            GnomePointerSettingsStore::fromGnomeSpeed(GnomePointerSettingsStore::toGnomeSpeed(v)),
            v);
    EXPECT_EQ(GnomePointerSettingsStore::fromGnomeSpeed(-1.0), 1);
    EXPECT_EQ(GnomePointerSettingsStore::fromGnomeSpeed(1.0), 20);
    EXPECT_EQ(GnomePointerSettingsStore::fromGnomeSpeed(0.04), 10);
    EXPECT_EQ(GnomePointerSettingsStore::fromGnomeSpeed(0.06), 11);
}

TEST(GnomePointerStore, ReadsWritesAndHasNoWheelLines) {
    if (!gnomeSchemaInstalled()) GTEST_SKIP() << "GNOME's mouse schema is not installed";
    GnomeEnvironment env("gnome-pointer");
    GnomePointerSettingsStore store;
    EXPECT_TRUE(store.supports(PointerSetting::Speed));
    EXPECT_TRUE(store.supports(PointerSetting::DoubleClick));
    EXPECT_FALSE(store.supports(PointerSetting::WheelLines));

    // GNOME's defaults: speed 0, double click 400 ms.
    EXPECT_EQ(store.read(), (PointerValues{10, 400, std::nullopt}));

    PointerUpdate update;
    update.write = {16, 270, 7};
    update.reapply.doubleClick = 500;
    ASSERT_TRUE(store.apply(update).ok());
    const auto speedAt = env.keyfile().find("speed=");
    ASSERT_NE(speedAt, std::string::npos) << env.keyfile();
    EXPECT_NEAR(std::stod(env.keyfile().substr(speedAt + 6)), 0.6, 1e-9);
    EXPECT_NE(env.keyfile().find("double-click=270"), std::string::npos) << env.keyfile();
    EXPECT_EQ(env.keyfile().find("wheel"), std::string::npos);

    // A new store, as a later run of the program would have.
    GnomePointerSettingsStore later;
    EXPECT_EQ(later.read(), (PointerValues{16, 270, std::nullopt}));

    update.write = {1, std::nullopt, std::nullopt};
    ASSERT_TRUE(store.apply(update).ok());
    EXPECT_EQ(later.read(), (PointerValues{1, 270, std::nullopt}));
}

TEST(SystemPointerStore, GnomeOnlyUnderAGnomeDesktop) {
    if (!gnomeSchemaInstalled()) GTEST_SKIP() << "GNOME's mouse schema is not installed";
    {
        GnomeEnvironment env("desktop-gnome", "ubuntu:GNOME");
        const auto store = platform::systemPointerSettingsStore();
        EXPECT_TRUE(store->supports(PointerSetting::Speed));
        EXPECT_FALSE(store->supports(PointerSetting::WheelLines));
    }
    {
        GnomeEnvironment env("desktop-kde", "KDE");
        const auto store = platform::systemPointerSettingsStore();
        for (PointerSetting s : platform::kPointerSettings)
            EXPECT_FALSE(store->supports(s));
        PointerUpdate update;
        update.write.speed = 16;
        EXPECT_TRUE(store->apply(update).ok());
        EXPECT_EQ(store->read(), PointerValues{});
        EXPECT_EQ(env.keyfile(), "");
    }
}

TEST(GnomePointerStore, ASpeedBetweenTheStepsIsNeverWrittenByAnUntouchedApply) {
    if (!gnomeSchemaInstalled()) GTEST_SKIP() << "GNOME's mouse schema is not installed";
    // GNOME speed -> the step the page shows (0: none)
    const std::pair<const char*, int> rows[] = {{"-1.0", 0}, {"-0.95", 0}, {"-0.86", 0},
                                                {"0.55", 0}, {"0.15", 0},  {"0.1", 0},
                                                {"-0.9", 1}, {"0.6", 9},   {"0.8", 10}};
    for (const auto& [gnome, step] : rows) {
        GnomeEnvironment env("gnome-between");
        ASSERT_TRUE(platform::runProgram(
            {"gsettings", "set", GnomePointerSettingsStore::kSchema, "speed", gnome}));
        const std::string before = env.keyfile();
        GnomePointerSettingsStore store;
        EXPECT_EQ(store.read().betweenValues[0], step == 0 && std::string(gnome) != "0.1") << gnome;
        pages::PointerScales scales(&store);
        scales.read();
        EXPECT_EQ(scales.pointerSpeedStep(), step) << gnome;
        ASSERT_TRUE(scales.apply().ok());
        const auto at = env.keyfile().find("speed=");
        ASSERT_NE(at, std::string::npos) << gnome;
        EXPECT_NEAR(std::stod(env.keyfile().substr(at + 6)), std::stod(gnome), 1e-9) << gnome;
        if (step != 0) continue;
        EXPECT_EQ(env.keyfile(), before) << gnome; // nothing written at all
    }
    for (double whole : {-0.9, -0.5, 0.0, 0.3, 1.0})
        EXPECT_TRUE(GnomePointerSettingsStore::isWholeSpeed(whole)) << whole;
    for (double between : {-1.0, -0.95, 0.05, 0.999, 1.1})
        EXPECT_FALSE(GnomePointerSettingsStore::isWholeSpeed(between)) << between;
}
