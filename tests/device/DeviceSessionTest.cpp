#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace orlix;
using namespace orlix::device;
using namespace orlix::device::testing;

namespace {

std::vector<std::uint8_t> resourceOfType(std::uint8_t dataType) {
    auto bytes = defaultResource();
    bytes[image::kDataType] = dataType;
    return bytes;
}

std::array<std::uint8_t, 256> imageOf(const std::vector<std::uint8_t>& resource) {
    std::array<std::uint8_t, 256> image{};
    std::copy_n(resource.begin(), 256, image.begin());
    return image;
}

bool hasFrame(const SimulatedMouse& mouse, const std::string& prefix) {
    const auto texts = frameTexts(mouse);
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& t) { return t.rfind(prefix, 0) == 0; });
}

std::vector<std::uint8_t> deviceBytes(const SimulatedMouse& mouse, std::size_t at, std::size_t n) {
    auto m = mouse.memory();
    return {m.begin() + static_cast<std::ptrdiff_t>(at),
            m.begin() + static_cast<std::ptrdiff_t>(at + n)};
}

} // namespace

TEST(Identification, SendsExactlyTheFramesInOrder) {
    {
        Rig rig(SimulatedMouse::basicMouse(defaultImage()));
        ASSERT_TRUE(rig.open());
        rig.mouse.recordFrames(true);
        const Identification id = rig.session.identify();
        EXPECT_EQ(id.result, IdentifyResult::Accepted);
        EXPECT_EQ(id.kind, DeviceKind::Basic);
        EXPECT_EQ(frameTexts(rig.mouse), (std::vector<std::string>{
                                             "set 40 04 90 E7 00 00 00 00",
                                             "get 41 AF 00 00 00 00 00 00",
                                             "set 40 04 90 E4 00 00 00 00",
                                             "get 41 04 00 00 00 00 00 00",
                                             "set 40 16 00 00 00 00 00 00",
                                             "get 41 01 00 00 1D 00 50 00",
                                             "set 40 0B 00 53 00 06 00 00",
                                             "get 41 FF FF 00 00 00 5A 00",
                                         }));
    }
    {
        // A macro mouse whose code matches at 0x6057: the frames are exactly these ten.
        Rig rig(SimulatedMouse::macroMouseCodeAt6057(defaultImage()));
        ASSERT_TRUE(rig.open());
        rig.mouse.recordFrames(true);
        const Identification id = rig.session.identify();
        EXPECT_EQ(id.result, IdentifyResult::Accepted);
        EXPECT_EQ(id.kind, DeviceKind::Macro);
        EXPECT_EQ(id.flashType, 64);
        EXPECT_FALSE(id.fallbackIdentity);
        EXPECT_EQ(frameTexts(rig.mouse), (std::vector<std::string>{
                                             "set 40 04 90 E7 00 00 00 00",
                                             "get 41 AF 00 00 00 00 00 00",
                                             "set 40 04 90 E4 00 00 00 00",
                                             "get 41 08 00 00 00 00 00 00",
                                             "set 40 16 00 00 00 00 00 00",
                                             "get 41 01 00 00 1D 00 A0 00",
                                             "set 40 04 00 08 00 00 00 00",
                                             "get 41 C8 00 00 00 00 00 00",
                                             "set 40 0E 60 57 00 06 00 00",
                                             "get 41 FF FF 00 00 00 5A 00",
                                         }));
        EXPECT_TRUE(rig.mouse.violations().empty());
        EXPECT_TRUE(rig.config.macroDevice);
    }
}

TEST(Identification, KindDecisionOnChipConfigurationAndFlash) {
    struct Case {
        const char* name;
        bool macro;
        std::uint8_t dataType;
        std::uint8_t configuration;
        std::uint8_t chip;
        std::uint8_t flash;
        IdentifyResult result;
        SilentExit silent;
        bool linkOpenAfter;
        const char* identityRead; // frame prefix of the identity read, if one is expected
    };
    const Case cases[] = {
        {"basic 1D bits 0C", false, 0x1D, 0x0C, 0x50, 0, IdentifyResult::Accepted, SilentExit::None,
         true, "set 40 0B 00 53 00 06"},
        {"basic 3A bits 04", false, 0x3A, 0x04, 0x50, 0, IdentifyResult::Accepted, SilentExit::None,
         true, "set 40 0B 00 57 00 06"},
        {"basic 3A bits 0C", false, 0x3A, 0x0C, 0x50, 0, IdentifyResult::Silent,
         SilentExit::UnsupportedConfiguration, false, nullptr},
        {"basic 1D bits 08", false, 0x1D, 0x08, 0x50, 0, IdentifyResult::Silent,
         SilentExit::UnsupportedConfiguration, false, nullptr},
        {"macro bits 00", true, 0x1D, 0x00, 0xA0, 0xC8, IdentifyResult::Accepted, SilentExit::None,
         true, "set 40 0E 60 57 00 06"},
        {"macro chip A5", true, 0x1D, 0x08, 0xA5, 0xC8, IdentifyResult::Accepted, SilentExit::None,
         true, nullptr},
        {"macro chip AA", true, 0x1D, 0x08, 0xAA, 0xC8, IdentifyResult::Accepted, SilentExit::None,
         true, nullptr},
        {"macro bits 04", true, 0x1D, 0x04, 0xA0, 0xC8, IdentifyResult::Silent,
         SilentExit::UnsupportedConfiguration, true, nullptr},
        {"macro flash 32", true, 0x1D, 0x08, 0xA0, 0x9D, IdentifyResult::Silent,
         SilentExit::FlashType, false, nullptr},
        {"macro flash unknown", true, 0x1D, 0x08, 0xA0, 0x00, IdentifyResult::Silent,
         SilentExit::FlashType, false, nullptr},
        {"unknown chip", false, 0x1D, 0x04, 0x51, 0, IdentifyResult::Silent,
         SilentExit::UnknownChip, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto resource = resourceOfType(c.dataType);
        auto settings = c.macro ? SimulatedMouse::macroMouse(imageOf(resource))
                                : SimulatedMouse::basicMouse(imageOf(resource));
        settings.configuration = c.configuration;
        settings.chipCode = c.chip;
        settings.flashId = c.flash;
        Rig rig(settings, resource);
        ASSERT_TRUE(rig.open());
        rig.mouse.recordFrames(true);
        const Identification id = rig.session.identify();
        EXPECT_EQ(id.result, c.result);
        EXPECT_EQ(id.silent, c.silent);
        EXPECT_EQ(rig.link.isOpen(), c.linkOpenAfter);
        EXPECT_EQ(id.linkDropped, !c.linkOpenAfter);
        EXPECT_EQ(rig.session.needsRead(), c.result == IdentifyResult::Accepted);
        EXPECT_FALSE(rig.session.canTransfer()); // not before a complete read
        if (c.identityRead) {
            EXPECT_TRUE(hasFrame(rig.mouse, c.identityRead));
        }
        if (c.result != IdentifyResult::Accepted) {
            EXPECT_FALSE(hasFrame(rig.mouse, "set 40 0B"));
            EXPECT_FALSE(hasFrame(rig.mouse, "set 40 0E"));
        }
    }
}

TEST(Identification, SilentWhenTheControllerOrItsAnswersAreMissing) {
    auto settings = SimulatedMouse::basicMouse(defaultImage());
    settings.signature = 0x00;
    Rig rig(settings);
    ASSERT_TRUE(rig.open());
    auto id = rig.session.identify();
    EXPECT_EQ(id.silent, SilentExit::NotThisController);
    EXPECT_TRUE(rig.link.isOpen());

    // The identity bytes never arrive: 0xFF must not pass for the shipped code FF FF.
    Rig lost(SimulatedMouse::basicMouse(defaultImage()));
    ASSERT_TRUE(lost.open());
    lost.mouse.failReport(lost.mouse.reportCount() + 7); // the identity data report
    id = lost.session.identify();
    EXPECT_EQ(id.result, IdentifyResult::Silent);
    EXPECT_EQ(id.silent, SilentExit::NoAnswer);
    EXPECT_FALSE(lost.session.canTransfer());

    Rig refused(SimulatedMouse::basicMouse(defaultImage()));
    ASSERT_TRUE(refused.open());
    refused.mouse.failReport(refused.mouse.reportCount() + 6); // the identity block command
    EXPECT_EQ(refused.session.identify().silent, SilentExit::CommandRefused);
    EXPECT_FALSE(refused.session.canTransfer());
}

TEST(Identification, RejectsWrongDataTypeAndIdentity) {
    {
        // The mouse stores layout 0x3A, the program's defaults are 0x1D.
        auto settings = SimulatedMouse::basicMouse(defaultImage());
        settings.dataType = 0x3A;
        Rig rig(settings);
        ASSERT_TRUE(rig.open());
        const auto id = rig.session.identify();
        EXPECT_EQ(id.result, IdentifyResult::DataTypeError);
        EXPECT_FALSE(rig.link.isOpen());
        EXPECT_FALSE(rig.session.canTransfer());
    }
    {
        // A data type of neither layout is refused instead of being decoded with one
        // placement and assembled with another.
        auto settings = SimulatedMouse::basicMouse(defaultImage());
        settings.dataType = 0x55;
        Rig rig(settings);
        ASSERT_TRUE(rig.open());
        const auto id = rig.session.identify();
        EXPECT_EQ(id.result, IdentifyResult::DataTypeError);
        EXPECT_EQ(id.dataType, std::optional<std::uint8_t>(0x55));
        EXPECT_FALSE(rig.link.isOpen());
        EXPECT_FALSE(rig.config.identifiedDataType.has_value());
    }
    {
        // The code matches neither at 0x6057 (section bytes) nor at 0x6053.
        auto image = defaultImage();
        image[83] = 0x12;
        image[84] = 0x34;
        Rig rig(SimulatedMouse::macroMouse(image));
        ASSERT_TRUE(rig.open());
        const auto id = rig.session.identify();
        EXPECT_EQ(id.result, IdentifyResult::IdentityError);
        EXPECT_FALSE(rig.link.isOpen());
    }
    {
        // Only the first two of the six bytes read are compared.
        Rig rig(SimulatedMouse::basicMouse(defaultImage()));
        for (std::size_t a = 0x6055; a < 0x6059; ++a)
            rig.mouse.memory()[a] = 0x99;
        ASSERT_TRUE(rig.open());
        EXPECT_EQ(rig.session.identify().result, IdentifyResult::Accepted);
    }
}

TEST(WindowCommands, SilentExitAfterAnAcceptedMouseRefusesEveryTransfer) {
    auto settings = SimulatedMouse::macroMouse(defaultImage());
    Rig rig(settings);
    ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
    ASSERT_TRUE(rig.session.readAll(rig.texts));
    ASSERT_TRUE(rig.session.canTransfer());

    // The same link is identified again and stops silently with the link open: the kind of
    // the mouse before must not be used for writing.
    SimulatedMouse::Settings changed = settings;
    changed.configuration = 0x04;
    Rig silent(changed);
    ASSERT_TRUE(silent.open());
    ASSERT_EQ(silent.session.identify().silent, SilentExit::UnsupportedConfiguration);
    ASSERT_TRUE(silent.link.isOpen());
    silent.mouse.recordFrames(true);
    EXPECT_EQ(silent.session.writeAll(silent.texts).result, TransferResult::NoDevice);
    EXPECT_EQ(silent.session.resetToDefaults(silent.resourceBytes, silent.texts).result,
              TransferResult::NoDevice);
    EXPECT_EQ(silent.session.readAll(silent.texts).result, TransferResult::NoDevice);
    EXPECT_TRUE(silent.mouse.frames().empty());

    // And the session that was accepted forgets its kind at the next identification.
    rig.mouse.memory()[0x6053] = 0x00; // a different identity now, at both places
    rig.mouse.memory()[0x6057] = 0x00;
    EXPECT_EQ(rig.session.identify().result, IdentifyResult::IdentityError);
    EXPECT_FALSE(rig.session.canTransfer());
    EXPECT_EQ(rig.session.kind(), DeviceKind::None);
}

TEST(Transfers, ReadCountsAndContents) {
    {
        Rig rig(SimulatedMouse::basicMouse(defaultImage()));
        rig.mouse.memory()[protocol::kImageAddress + image::kSectionBStart + image::kReportRate] =
            0x01; // 1000 reports per second
        rig.mouse
            .memory()[protocol::kImageAddress + image::kSectionBStart + image::kSectionBSize - 1] =
            static_cast<std::uint8_t>(
                rig.mouse.memory()[protocol::kImageAddress + image::kSectionBStart +
                                   image::kSectionBSize - 1] ^
                0x03); // keep section B's checksum right
        ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
        const auto out = rig.session.readAll(rig.texts);
        EXPECT_EQ(out.result, TransferResult::Done);
        EXPECT_EQ(countFrames(rig.mouse), reports::kReadBasic);
        EXPECT_EQ(out.reports, reports::kReadBasic);
        EXPECT_EQ(rig.config.working[image::kSectionBStart + image::kReportRate], 0x01);
        EXPECT_EQ(rig.config.page.resolution.reportRate, std::optional<int>(1000));
    }
    {
        Rig rig(SimulatedMouse::macroMouse(defaultImage()));
        rig.mouse.memory()[macroBodyAddress(5) + 3] = 0x42;
        const std::uint8_t entry[] = {0x00, 0x05, 0x00, 0x04, 0x00, 'A', 0x00, 'b'};
        std::copy(std::begin(entry), std::end(entry),
                  rig.mouse.memory().begin() + kMacroTableAddress + kMacroEntrySize * 2);
        ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
        int calls = 0;
        int lastPercent = -1;
        bool monotonic = true;
        const auto out = rig.session.readAll(
            rig.texts,
            [&](const Progress& p) {
                ++calls;
                monotonic = monotonic && p.percent() >= lastPercent;
                lastPercent = p.percent();
            },
            ReadScope::Everything);
        EXPECT_EQ(out.result, TransferResult::Done);
        EXPECT_EQ(countFrames(rig.mouse), reports::kReadMacro);
        const int dataReports = 37 + 32 * 147 + 147 + 1 + 1; // one call each, one at the end
        EXPECT_EQ(calls, dataReports + 1);
        EXPECT_TRUE(monotonic);
        EXPECT_EQ(lastPercent, 100);
        EXPECT_EQ(rig.config.macros.bodies[5][3], 0x42);
        EXPECT_EQ(rig.config.macroNames[2], "Ab");
        EXPECT_TRUE(rig.mouse.violations().empty());
    }
}

TEST(Transfers, WriteCountsReloadAndRoundTrip) {
    {
        Rig rig(SimulatedMouse::basicMouse(defaultImage()));
        ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
        ASSERT_TRUE(rig.session.readAll(rig.texts));
        rig.mouse.clearFrames();
        ASSERT_TRUE(rig.config.setAssignment(0, 4, "09010000"));
        const auto out = rig.session.writeAll(rig.texts);
        EXPECT_EQ(out.result, TransferResult::Done);
        EXPECT_EQ(countFrames(rig.mouse), reports::kWriteBasic + reports::kVerify + 1);
        EXPECT_EQ(out.attempts, 1);
        EXPECT_TRUE(out.verified);
        EXPECT_EQ(frameText(rig.mouse.frames().back()), "set 40 19 00 00 00 00 00 00");
        EXPECT_EQ(deviceBytes(
                      rig.mouse,
                      protocol::kImageAddress + image::kProfileStart + profileCodeOffset(0, 4), 4),
                  (std::vector<std::uint8_t>{0x09, 0x01, 0x00, 0x00}));
        EXPECT_EQ(rig.mouse.activeImage(), rig.config.working);
    }
    {
        Rig rig(SimulatedMouse::macroMouse(defaultImage()));
        ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
        ASSERT_TRUE(rig.session.readAll(rig.texts));
        rig.config.macros.bodies[7].fill(0x00);
        rig.config.macros.bodies[7][0] = 0xA1;
        rig.config.macros.setBodyLength(7, 2);
        rig.config.macroNames[7] = "Fire";
        rig.mouse.clearFrames();
        // The whole-memory write, as --full sends it.
        auto out = rig.session.writeAll(rig.texts, {}, {}, WriteMode::Full);
        EXPECT_EQ(out.result, TransferResult::Done);
        EXPECT_EQ(countFrames(rig.mouse), reports::kWriteMacro + reports::kVerifyMacro + 1);
        EXPECT_EQ(rig.mouse.erasedSectors().size(), 10u);
        EXPECT_TRUE(rig.mouse.violations().empty()) << rig.mouse.violations().front();

        // The report rate changed: the write ends with 03 and 18, once.
        rig.config.page.resolution.reportRate = 1000;
        rig.mouse.clearFrames();
        out = rig.session.writeAll(rig.texts, {}, {}, WriteMode::Full);
        EXPECT_EQ(countFrames(rig.mouse), reports::kWriteMacro + reports::kVerifyMacro + 2);
        const auto texts = frameTexts(rig.mouse);
        EXPECT_EQ(texts[texts.size() - 2], "set 40 03 00 01 00 00 00 00");
        EXPECT_EQ(texts.back(), "set 40 18 00 00 00 00 00 00");
        EXPECT_EQ(rig.session.runningReportRate(), std::optional<int>(1000));
        rig.mouse.clearFrames();
        ASSERT_TRUE(rig.session.writeAll(rig.texts, {}, {}, WriteMode::Full));
        EXPECT_EQ(frameText(rig.mouse.frames().back()), "set 40 19 00 00 00 00 00 00");

        // A second program reading the mouse gets the same configuration back.
        Rig reader(rig.mouse.settings());
        ASSERT_FALSE(rig.mouse.saveMemory(std::string(ORLIX_TEST_SCRATCH) + "-roundtrip.bin"));
        ASSERT_FALSE(reader.mouse.loadMemory(std::string(ORLIX_TEST_SCRATCH) + "-roundtrip.bin"));
        ASSERT_EQ(reader.openAndIdentify().result, IdentifyResult::Accepted);
        ASSERT_TRUE(reader.session.readAll(reader.texts));
        EXPECT_EQ(reader.config.working, rig.config.working);
        EXPECT_EQ(reader.config.macros.table, rig.config.macros.table);
        EXPECT_EQ(reader.config.macros.bodies, rig.config.macros.bodies);
        EXPECT_EQ(reader.config.macroNames[7], "Fire");
        EXPECT_EQ(reader.config.page.resolution.reportRate, std::optional<int>(1000));
        EXPECT_EQ(reader.config.sections.b, rig.config.sections.b);
    }
}

TEST(Transfers, ResetWritesDefaultsAndEmptiesTheMacroStore) {
    // In full every body is zeroed; as planned, the sector of the table and image only, since
    // the one body in use already holds the default's zero bytes.
    for (const WriteMode mode : {WriteMode::Full, WriteMode::Planned}) {
        const bool full = mode == WriteMode::Full;
        SCOPED_TRACE(full ? "full" : "planned");
        Rig rig(SimulatedMouse::macroMouse(defaultImage()));
        ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
        ASSERT_TRUE(rig.session.readAll(rig.texts));
        rig.config.macros.bodies[0].fill(0x00);
        rig.config.macros.setBodyLength(0, 1);
        rig.config.macroNames[0] = "Old";
        ASSERT_TRUE(rig.config.setAssignment(0, 0, "02000800"));
        ASSERT_TRUE(rig.session.writeAll(rig.texts));
        ASSERT_NE(deviceBytes(rig.mouse, kMacroTableAddress, 4), (std::vector<std::uint8_t>(4, 0)));

        rig.mouse.clearFrames();
        const auto out = rig.session.resetToDefaults(rig.resourceBytes, rig.texts, {}, mode);
        EXPECT_EQ(out.result, TransferResult::Done);
        EXPECT_EQ(countFrames(rig.mouse), full ? reports::kWriteMacro + reports::kVerifyMacro + 1
                                               : 1 + 38 + 4 * 38 + 38 + 148 + 1);
        EXPECT_EQ(deviceBytes(rig.mouse, kMacroTableAddress, kMacroTableSize),
                  std::vector<std::uint8_t>(kMacroTableSize, 0));
        for (std::size_t n = 0; n < (full ? 32u : 1u); ++n) {
            EXPECT_EQ(deviceBytes(rig.mouse, 0x8000 + 0x400 * n, 1024),
                      std::vector<std::uint8_t>(1024, 0));
        }
        EXPECT_EQ(deviceBytes(rig.mouse, protocol::kImageAddress, kImageSize),
                  std::vector<std::uint8_t>(rig.resourceBytes.begin(), rig.resourceBytes.end()));
        EXPECT_EQ(rig.config.macroNames[0], "");
        EXPECT_EQ(rig.config.assignments[0][0], "01010000");
        EXPECT_TRUE(rig.mouse.violations().empty());
    }
}

TEST(Transfers, ResetFromAnotherReportRateSwitchesTheRate) {
    Rig rig(SimulatedMouse::basicMouse(defaultImage()));
    ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
    ASSERT_TRUE(rig.session.readAll(rig.texts));
    rig.config.page.resolution.reportRate = 1000;
    ASSERT_TRUE(rig.session.writeAll(rig.texts));
    ASSERT_EQ(rig.mouse.runningReportRate(), 0x01);

    // The defaults run at 500: a plain reload would leave the mouse at 1000.
    rig.mouse.clearFrames();
    ASSERT_TRUE(rig.session.resetToDefaults(rig.resourceBytes, rig.texts));
    const auto texts = frameTexts(rig.mouse);
    EXPECT_EQ(texts[texts.size() - 2], "set 40 03 00 01 00 00 00 00");
    EXPECT_EQ(rig.mouse.runningReportRate(), 0x02);

    // Reset again at the same rate, in full since nothing changed: the plain reload.
    rig.mouse.clearFrames();
    ASSERT_TRUE(rig.session.resetToDefaults(rig.resourceBytes, rig.texts, {}, WriteMode::Full));
    EXPECT_EQ(frameText(rig.mouse.frames().back()), "set 40 19 00 00 00 00 00 00");
    EXPECT_EQ(countFrames(rig.mouse), reports::kWriteBasic + reports::kVerify + 1);
}

TEST(Transfers, RefusedFirstBlockWritesNothingAndSendsNoReload) {
    {
        // Refused at both attempts.
        Rig rig(SimulatedMouse::basicMouse(defaultImage()));
        ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
        ASSERT_TRUE(rig.session.readAll(rig.texts));
        rig.mouse.clearFrames();
        const auto before = deviceBytes(rig.mouse, protocol::kImageAddress, kImageSize);
        rig.mouse.failReport(rig.mouse.reportCount());
        rig.mouse.failReport(rig.mouse.reportCount() + 1);
        const auto out = rig.session.writeAll(rig.texts, {}, {}, WriteMode::Full);
        EXPECT_EQ(out.result, TransferResult::Refused);
        EXPECT_EQ(out.attempts, 2);
        EXPECT_FALSE(out.erased);
        EXPECT_EQ(countFrames(rig.mouse), 2u);
        EXPECT_TRUE(rig.mouse.reloads().empty());
        EXPECT_EQ(deviceBytes(rig.mouse, protocol::kImageAddress, kImageSize), before);
    }
    {
        Rig rig(SimulatedMouse::macroMouse(defaultImage()));
        ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
        ASSERT_TRUE(rig.session.readAll(rig.texts));
        rig.mouse.clearFrames();
        rig.mouse.failReport(rig.mouse.reportCount() + 10); // after the ten erase commands
        rig.mouse.failReport(rig.mouse.reportCount() + 21); // and again at the second attempt
        const auto out =
            rig.session.resetToDefaults(rig.resourceBytes, rig.texts, {}, WriteMode::Full);
        EXPECT_EQ(out.result, TransferResult::Refused);
        EXPECT_TRUE(out.erased);
        EXPECT_EQ(countFrames(rig.mouse), 22u);
        EXPECT_TRUE(rig.mouse.reloads().empty());
    }
    {
        // A read whose first block is refused leaves the window as it was.
        Rig rig(SimulatedMouse::basicMouse(defaultImage()));
        ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
        const auto working = rig.config.working;
        rig.mouse.failReport(rig.mouse.reportCount());
        EXPECT_EQ(rig.session.readAll(rig.texts).result, TransferResult::Refused);
        EXPECT_EQ(rig.config.working, working);
    }
}

TEST(Transfers, MouseVanishingMidTransferIsReportedAndLosesNothing) {
    Rig rig(SimulatedMouse::macroMouse(defaultImage()));
    rig.mouse.memory()[0x8000] = 0x11;
    ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
    const auto working = rig.config.working;
    const auto macros = rig.config.macros;

    rig.mouse.unplugAfterReports(rig.mouse.reportCount() + 1000);
    auto out = rig.session.readAll(rig.texts, {}, ReadScope::Everything);
    EXPECT_EQ(out.result, TransferResult::Interrupted);
    EXPECT_GT(out.failedReports, 0u);
    EXPECT_EQ(rig.config.working, working);
    EXPECT_EQ(rig.config.macros.bodies[0], macros.bodies[0]);

    rig.mouse.plugIn();
    rig.mouse.unplugAfterReports(std::nullopt);
    ASSERT_TRUE(rig.open());
    ASSERT_EQ(rig.session.identify().result, IdentifyResult::Accepted);
    // The interrupted read left the mouse "not read": nothing may be written over it.
    EXPECT_TRUE(rig.session.needsRead());
    out = rig.session.writeAll(rig.texts);
    EXPECT_EQ(out.result, TransferResult::NoDevice);
    EXPECT_TRUE(out.notRead);
    ASSERT_TRUE(rig.session.readAll(rig.texts));
    EXPECT_FALSE(rig.session.needsRead());

    rig.mouse.unplugAfterReports(rig.mouse.reportCount() + 2500);
    out = rig.session.writeAll(rig.texts, {}, {}, WriteMode::Full);
    EXPECT_EQ(out.result, TransferResult::Interrupted);
    // Three reports in a row failed, and three more of the one whole write that follows;
    // nothing more was sent to the mouse that is gone.
    EXPECT_TRUE(out.stalled);
    EXPECT_EQ(out.failedReports, 6u);
    EXPECT_EQ(out.reports, 2506u);
    EXPECT_TRUE(rig.mouse.reloads().empty());
}

TEST(Transfers, NothingElseStartsWhileASequenceLetsEventsRun) {
    Rig rig(SimulatedMouse::macroMouse(defaultImage()));
    ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
    int nested = 0;
    PollHooks hooks;
    const auto out = rig.session.readAll(
        rig.texts,
        [&](const Progress& p) {
            if (p.done != 500) return;
            // What a click or a timer could start while the window pumps its events.
            EXPECT_EQ(rig.session.writeAll(rig.texts).result, TransferResult::Busy);
            EXPECT_EQ(rig.session.resetToDefaults(rig.resourceBytes, rig.texts).result,
                      TransferResult::Busy);
            EXPECT_EQ(rig.session.identify().silent, SilentExit::Busy);
            rig.mouse.setOtherInterfaces(4); // a count change the poll would act on
            EXPECT_EQ(rig.link.poll(hooks), PollResult::Busy);
            ++nested;
        },
        ReadScope::Everything);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(out.result, TransferResult::Done);
    EXPECT_EQ(out.reports, reports::kReadMacro);
    EXPECT_TRUE(rig.link.isOpen());
    EXPECT_TRUE(rig.session.canTransfer());
    EXPECT_FALSE(rig.link.transferRunning());
}

TEST(Transfers, OddBytesFromTheMouseAreTakenSafely) {
    Rig rig(SimulatedMouse::macroMouse(defaultImage()));
    // A macro table of erased flash: lengths 0xFFFF and name lengths of 255.
    std::fill_n(rig.mouse.memory().begin() + kMacroTableAddress, kMacroTableSize,
                std::uint8_t{0xFF});
    std::fill_n(rig.mouse.memory().begin() + protocol::kSectionBCopyAddress,
                protocol::kSectionBCopyLength + protocol::kUserBreathCopyLength,
                std::uint8_t{0xFF});
    ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
    ASSERT_TRUE(rig.session.readAll(rig.texts));
    EXPECT_EQ(rig.config.macros.usableBodyLength(0), 0u);
    EXPECT_EQ(rig.config.sections.b[image::kCurrentCpiLevel], 0xFF); // taken as read from 0x7000
    EXPECT_TRUE(rig.session.writeAll(rig.texts));
}
